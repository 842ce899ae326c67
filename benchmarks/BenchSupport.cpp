#include "BenchSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>

namespace Bench {

double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const int middle = values.count() / 2;
    return values.count() % 2 ? values.at(middle)
                              : (values.at(middle - 1) + values.at(middle)) / 2.0;
}

namespace {
bool s_warmUp = true;
} // namespace

void setWarmUp(bool on)
{
    s_warmUp = on;
}

Pair timePaired(int reps, const std::function<void()> &ours, const std::function<void()> &baseline,
                const std::function<void()> &before)
{
    const auto timed = [&before](const std::function<void()> &work) {
        if (before)
            before();
        QElapsedTimer timer;
        timer.start();
        work();
        return timer.nsecsElapsed() / 1e6;
    };
    // The first call of each pays for caches and lazy set-up; it is not counted.
    if (s_warmUp) {
        timed(ours);
        timed(baseline);
    }
    QVector<double> oursTimes;
    QVector<double> baselineTimes;
    for (int i = 0; i < reps; ++i) {
        // Alternating which goes first keeps a slow phase of the machine from
        // landing on one side only.
        if (i % 2) {
            baselineTimes << timed(baseline);
            oursTimes << timed(ours);
        } else {
            oursTimes << timed(ours);
            baselineTimes << timed(baseline);
        }
    }
    return Pair{median(oursTimes), median(baselineTimes)};
}

namespace {
qint64 statusKiB(const char *key)
{
    // Files under /proc tell no size: read until the end, not to atEnd().
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix(key);
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}
} // namespace

qint64 residentKiB()
{
    return statusKiB("VmRSS:");
}

qint64 peakResidentKiB()
{
    return statusKiB("VmHWM:");
}

QString formatValue(double value, const QString &unit)
{
    const int decimals = value >= 100.0 ? 0 : value >= 10.0 ? 1 : 2;
    return QString::number(value, 'f', decimals) + QLatin1Char(' ') + unit;
}

namespace {
const int WorkWidth = 46;
const int ValueWidth = 12;
} // namespace

void printHeader(QTextStream &out)
{
    out << QStringLiteral("work").leftJustified(WorkWidth)
        << QStringLiteral("ours").rightJustified(ValueWidth)
        << QStringLiteral("baseline").rightJustified(ValueWidth)
        << QStringLiteral("ratio").rightJustified(9) << QStringLiteral("goal").rightJustified(8)
        << '\n';
    out << QString(WorkWidth + 2 * ValueWidth + 17, QLatin1Char('-')) << '\n';
    out.flush();
}

void printRow(QTextStream &out, const Row &row)
{
    const double ratio = row.baseline > 0.0 ? row.ours / row.baseline : 0.0;
    QString goal = QStringLiteral("-");
    if (row.goal > 0.0)
        goal = (ratio <= row.goal ? QStringLiteral("<=") : QStringLiteral("! ")) +
               QString::number(row.goal, 'g', 3) + QLatin1Char('x');
    out << row.work.leftJustified(WorkWidth)
        << formatValue(row.ours, row.unit).rightJustified(ValueWidth)
        << formatValue(row.baseline, row.unit).rightJustified(ValueWidth)
        << (QString::number(ratio, 'f', 2) + QLatin1Char('x')).rightJustified(9)
        << goal.rightJustified(8) << '\n';
    out.flush();
    allRows().append(row);
}

QVector<Row> &allRows()
{
    static QVector<Row> rows;
    return rows;
}

} // namespace Bench
