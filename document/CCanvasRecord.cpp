#include "document/CCanvasRecord.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

CCanvasRecord::CCanvasRecord(const QString &name, float size, float aspect)
    : name(name), size(size), aspect(aspect)
{
}

namespace {
// Takes the text up to the separator when the separator exists and is not
// the first character of the rest; otherwise the field is empty and nothing
// of the rest is consumed.
QString takeField(QString &rest, QChar separator)
{
    const int at = rest.indexOf(separator);
    if (at <= 0)
        return QString();
    const QString field = rest.left(at);
    rest = rest.mid(at + 1);
    return field;
}

float toFloat(const QString &text)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    return ok ? value : 0.0f;
}
} // namespace

CCanvasRecord CCanvasRecord::fromLine(const QString &line)
{
    QString rest = line;
    if (!rest.endsWith(QLatin1Char('\n')))
        rest += QLatin1Char('\n');
    CCanvasRecord record;
    record.name = takeField(rest, QLatin1Char('\t'));
    record.size = toFloat(takeField(rest, QLatin1Char('\t')));
    record.aspect = toFloat(takeField(rest, QLatin1Char('\n')));
    return record;
}

QList<CCanvasRecord> CCanvasRecord::deviceList(const QString &path)
{
    QList<CCanvasRecord> list;
    list.append(CCanvasRecord(QCoreApplication::translate("CCanvasRecord", "User Defined"), 0, 0));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return list;
    QTextStream in(&file);
    in.setCodec("UTF-8");
    while (!in.atEnd())
        list.append(fromLine(in.readLine()));
    return list;
}
