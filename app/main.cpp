#include "app/AppResources.h"
#include "app/KMainController.h"
#include "app/MModel.h"
#include "device/ILoopbackRedirect.h"
#include "document/USettings.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

struct Options
{
    QCommandLineOption emulator{QStringLiteral("emulator")};
    QCommandLineOption basePort{QStringLiteral("emulator-base-port")};
};

void describe(QCommandLineParser &parser, Options &options)
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "main", "Designs touch control panels for a Zindral DSP audio system."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QCoreApplication::translate("main", "A panel file (.cpz, .cpf) and/or a design file "
                                            "(.zdp) to open."),
        QStringLiteral("[PANEL.cpz] [DESIGN.zdp]"));
    options.emulator.setDescription(QCoreApplication::translate(
        "main", "Go online against the DSP emulator on this machine (zrbtool emulate) "
                "instead of the addresses in the design: chassis number i is reached "
                "at 127.0.0.1, port base + i, unless its address is a loopback "
                "address already."));
    options.basePort.setDescription(
        QCoreApplication::translate("main", "The emulator's base port (default %1).")
            .arg(ILoopbackRedirect::DefaultBasePort));
    options.basePort.setValueName(QStringLiteral("port"));
    parser.addOption(options.emulator);
    parser.addOption(options.basePort);
}

void nameApplication()
{
    QCoreApplication::setOrganizationName(USettings::organization());
    QCoreApplication::setApplicationName(USettings::application());
    QCoreApplication::setApplicationVersion(QStringLiteral(ZRB_VERSION));
}

// --help and --version answer without a display.
bool onlyAsksForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-?" ||
            arg == "-v" || arg == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (onlyAsksForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        nameApplication();
        QCommandLineParser parser;
        Options options;
        describe(parser, options);
        parser.process(text); // prints and exits
        return 0;
    }
    AppResources::registerAll();
    int result = 0;
    {
        QApplication application(argc, argv);
        nameApplication();
        QCommandLineParser parser;
        Options options;
        describe(parser, options);
        parser.process(application);
        const QCommandLineOption &emulator = options.emulator;
        const QCommandLineOption &basePort = options.basePort;

        if (parser.isSet(emulator)) {
            uint port = ILoopbackRedirect::DefaultBasePort;
            if (parser.isSet(basePort)) {
                bool ok = false;
                port = parser.value(basePort).toUInt(&ok, 10);
                if (!ok || port == 0 || port > 65535) {
                    std::fprintf(stderr, "%s\n",
                                 qPrintable(QApplication::translate(
                                     "main", "--emulator-base-port needs a port from 1 to "
                                             "65535.")));
                    return 2;
                }
            }
            ILoopbackRedirect::setEnabled(true, quint16(port));
        }

        MModel model;
        auto *controller = new KMainController();
        controller->setModel(&model);
        controller->setApplication(&application);
        model.addController(controller);
        // Files named on the command line, as a file manager hands them over.
        controller->openFiles(parser.positionalArguments());
        result = application.exec();
    }
    return result;
}
