#include "document/CItemRecord.h"

#include "document/io/XmlWriter.h"

#include <QSet>
#include <QtMath>

namespace {
// The records of a large document repeat a handful of value names many
// thousand times: each name is kept once. A file inventing names without
// end stops adding to the set at its limit.
QString sharedName(const QString &name)
{
    static QSet<QString> names;
    const auto found = names.constFind(name);
    if (found != names.constEnd())
        return *found;
    if (names.size() < 4096)
        names.insert(name);
    return name;
}
} // namespace

void CItemRecord::append(const QString &name, const QString &text, const QString &archiveFolder)
{
    m_values.append(Value{sharedName(name), text, archiveFolder});
}

QString CItemRecord::value(const QString &name) const
{
    for (const Value &value : m_values) {
        if (value.name == name)
            return value.text;
    }
    return QString();
}

bool CItemRecord::hasValue(const QString &name) const
{
    for (const Value &value : m_values) {
        if (value.name == name)
            return true;
    }
    return false;
}

bool CItemRecord::parseCoordinate(const QString &text, double *value)
{
    bool ok = false;
    const double parsed = text.toDouble(&ok);
    if (!ok || !qIsFinite(parsed))
        return false;
    *value = qBound(-MaxCoordinate, parsed, MaxCoordinate);
    return true;
}

QRectF CItemRecord::geometry() const
{
    const auto number = [this](const char *name) {
        double parsed = 0.0;
        return parseCoordinate(value(QLatin1String(name)), &parsed) ? parsed : 0.0;
    };
    return QRectF(number("x"), number("y"), number("width"), number("height"));
}

bool CItemRecord::write(XmlWriter *writer) const
{
    if (!writer || !writer->writeStartElement(m_type))
        return false;
    for (const Value &value : m_values) {
        if (value.archiveFolder.isEmpty())
            writer->writeTextElement(value.name, value.text);
        else
            writer->writeImageReference(value.name, value.text, value.archiveFolder);
    }
    return writer->writeEndElement(m_type);
}

void CItemRecord::setLive(CItem *item, QObject *object)
{
    m_pLive = item;
    m_pLiveObject = object;
}

bool CItemRecord::isImageReference(const QString &type, const QString &name)
{
    // Asked for every value read: most names are none of the four.
    if (name != QLatin1String("path") && name != QLatin1String("onimage") &&
        name != QLatin1String("offimage") && name != QLatin1String("imagepath"))
        return false;
    if (type == QLatin1String("image"))
        return name == QLatin1String("path");
    if (type == QLatin1String("button") || type == QLatin1String("cmdbutton") ||
        type == QLatin1String("textlink"))
        return name == QLatin1String("onimage") || name == QLatin1String("offimage");
    if (type == QLatin1String("panellink"))
        return name == QLatin1String("imagepath");
    return false;
}
