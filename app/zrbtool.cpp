#include "app/AppResources.h"
#include "document/USettings.h"
#include "app/UTool.h"

#include <QApplication>
#include <QTextStream>

#include <cstdio>

namespace {
// Standard error carries the tool's own one-line messages; Qt's diagnostics
// and the program's debug lines only with ZRBTOOL_VERBOSE set.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("ZRBTOOL_VERBOSE"))
        qInstallMessageHandler(quietMessages);
    // The tool never shows a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    AppResources::registerAll();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(USettings::organization());
    QApplication::setApplicationName(USettings::application());
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    return UTool::run(application.arguments().mid(1), out, err);
}
