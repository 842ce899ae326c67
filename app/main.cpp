#include "app/AppResources.h"
#include "app/KMainController.h"
#include "app/MModel.h"
#include "document/USettings.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    AppResources::registerAll();
    int result = 0;
    {
        QApplication application(argc, argv);
        QApplication::setOrganizationName(USettings::organization());
        QApplication::setApplicationName(USettings::application());
        MModel model;
        auto *controller = new KMainController();
        controller->setModel(&model);
        controller->setApplication(&application);
        model.addController(controller);
        // Files named on the command line, as a file manager hands them over.
        controller->openFiles(application.arguments().mid(1));
        result = application.exec();
    }
    return result;
}
