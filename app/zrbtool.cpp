#include "app/AppResources.h"
#include "app/URender.h"
#include "app/UTool.h"
#include "document/UModelResources.h"
#include "document/USettings.h"

#include <QApplication>
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

namespace {
int runWith(QCoreApplication &application, bool render)
{
    QCoreApplication::setOrganizationName(USettings::organization());
    QCoreApplication::setApplicationName(USettings::application());
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    const QStringList arguments = application.arguments().mid(1);
    if (render && !arguments.contains(QStringLiteral("--help")))
        return URender::run(arguments.mid(1), out, err);
    return UTool::run(arguments, out, err);
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("ZRBTOOL_VERBOSE"))
        qInstallMessageHandler(quietMessages);
    // The tool never shows a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool render = argc > 1 && qstrcmp(argv[1], "render") == 0;
    if (!render) {
        // Only the document and its files: no widgets, no QML.
        UModelResources::registerAll();
        QGuiApplication application(argc, argv);
        return runWith(application, false);
    }
    // Rendering draws the canvas itself, with Qt Quick's software renderer,
    // so no display and no graphics driver is needed.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    AppResources::registerAll();
    QApplication application(argc, argv);
    return runWith(application, true);
}
