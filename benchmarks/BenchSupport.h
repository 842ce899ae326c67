#pragma once

#include <QString>
#include <QVector>

#include <functional>

class QTextStream;

// What every benchmark shares: paired timing with medians, the resident
// memory of this process, and the table all of them print into.
namespace Bench {

// One line of the table: our figure, the baseline's and what the ratio of
// the two should stay within (0: no goal, shown for information).
struct Row
{
    QString work;
    double ours = 0.0;
    double baseline = 0.0;
    QString unit;
    double goal = 0.0;
};

struct Pair
{
    double ours = 0.0;
    double baseline = 0.0;
};

double median(QVector<double> values);

// Whether each measurement starts with an untimed run of both sides (on by
// default; off for code so slow that one run is all there is time for).
void setWarmUp(bool on);

// Runs ours and the baseline in turn, reps times each after one untimed
// warm-up of each, and answers the median milliseconds of each. before runs
// untimed ahead of every call, to put away what the previous call left.
Pair timePaired(int reps, const std::function<void()> &ours, const std::function<void()> &baseline,
                const std::function<void()> &before = std::function<void()>());

// Resident memory of this process, now and at its peak, in KiB; 0 where the
// system does not say.
qint64 residentKiB();
qint64 peakResidentKiB();

QString formatValue(double value, const QString &unit);
void printHeader(QTextStream &out);
void printRow(QTextStream &out, const Row &row);

// Every row printed so far, for the summary at the end.
QVector<Row> &allRows();

} // namespace Bench
