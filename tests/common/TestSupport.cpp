#include "common/TestSupport.h"

#include "app/AppResources.h"

#include <QCoreApplication>
#include <QSettings>

namespace TestSupport {

void initialize()
{
    AppResources::registerAll();
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

} // namespace TestSupport
