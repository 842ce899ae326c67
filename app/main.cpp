#include "app/AppResources.h"
#include "app/KMainController.h"
#include "app/MModel.h"
#include "device/ILoopbackRedirect.h"
#include "document/USettings.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

int main(int argc, char *argv[])
{
    AppResources::registerAll();
    int result = 0;
    {
        QApplication application(argc, argv);
        QApplication::setOrganizationName(USettings::organization());
        QApplication::setApplicationName(USettings::application());
        QApplication::setApplicationVersion(QStringLiteral(ZRB_VERSION));

        QCommandLineParser parser;
        parser.setApplicationDescription(QApplication::translate(
            "main", "Designs touch control panels for a Zindral DSP audio system."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addPositionalArgument(
            QStringLiteral("files"),
            QApplication::translate("main", "A panel file (.cpz, .cpf) and/or a design file "
                                            "(.zdp) to open."),
            QStringLiteral("[PANEL.cpz] [DESIGN.zdp]"));
        const QCommandLineOption emulator(
            QStringLiteral("emulator"),
            QApplication::translate(
                "main", "Go online against the DSP emulator on this machine (zrbtool emulate) "
                        "instead of the addresses in the design: chassis number i is reached "
                        "at 127.0.0.1, port base + i, unless its address is a loopback "
                        "address already."));
        const QCommandLineOption basePort(
            QStringLiteral("emulator-base-port"),
            QApplication::translate("main", "The emulator's base port (default %1).")
                .arg(ILoopbackRedirect::DefaultBasePort),
            QStringLiteral("port"));
        parser.addOption(emulator);
        parser.addOption(basePort);
        parser.process(application);

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
