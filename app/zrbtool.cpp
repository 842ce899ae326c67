#include "app/UTool.h"
#include "document/UModelResources.h"
#include "document/USettings.h"

#include <QGuiApplication>
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
    UModelResources::registerAll();
    // Only the document and its files: no widgets, no QML.
    QGuiApplication application(argc, argv);
    QGuiApplication::setOrganizationName(USettings::organization());
    QGuiApplication::setApplicationName(USettings::application());
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    return UTool::run(application.arguments().mid(1), out, err);
}
