#include "design/HAudioIO.h"

#include "design/HTemplateCache.h"

#include <QDebug>

HAudioIO::HAudioIO() : m_category(tr("Analog I/O")) {}

HAudioIO::HAudioIO(const QString &moduleName, int direction)
    : m_moduleName(moduleName), m_category(tr("Analog I/O")), m_direction(direction)
{
}

HAudioIO::~HAudioIO() = default;

QString HAudioIO::templatePath(const QString &)
{
    QString dictionary;
    if (m_direction == Input)
        dictionary = QStringLiteral("/InputModules.dict");
    else if (m_direction == Output)
        dictionary = QStringLiteral("/OutputModules.dict");
    else
        return QString();
    const QString folder = QStringLiteral(":/data/") + platformDirectory();
    const QStringList lines = HTemplateCache::lines(folder + dictionary);
    for (const QString &line : lines) {
        const QStringList columns = line.split(QLatin1Char('\t'));
        // Blank lines and lines without a template name match nothing.
        if (columns.count() < 2 || columns.at(1).isEmpty() || columns.at(0) != m_moduleName)
            continue;
        if (columns.count() > 2 && columns.at(2).startsWith(QLatin1String("Digit")))
            m_category = tr("Digital I/O");
        return folder + QLatin1Char('/') + columns.at(1);
    }
    return QString();
}

QString HAudioIO::category() const
{
    return m_category;
}

void HAudioIO::dump() const
{
    HNode::dump();
    qDebug().noquote() << "  card" << m_moduleName << "direction:" << m_direction;
}
