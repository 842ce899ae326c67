#include "common/TestSupport.h"

#include "document/UModelResources.h"
#include "document/io/XmlWriter.h"

#include <QBuffer>

#include <QCoreApplication>
#include <QSettings>

namespace TestSupport {

void initialize()
{
    UModelResources::registerAll();
    QCoreApplication::setOrganizationName(QStringLiteral("Orvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Zindral Remote builder 2.0"));
    // Start every test executable from empty settings.
    QSettings settings(QStringLiteral("Orvane"), QStringLiteral("Zindral Remote builder 2.0"));
    settings.clear();
    settings.sync();
}

QString dataPath(const QString &relative)
{
    return QStringLiteral(ZRB_TEST_DATA_DIR "/") + relative;
}

QString writtenXml(const std::function<void(XmlWriter &)> &write)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        XmlWriter writer;
        writer.setDevice(&buffer);
        write(writer);
    }
    return QString::fromUtf8(bytes);
}

} // namespace TestSupport
