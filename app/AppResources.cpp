#include "app/AppResources.h"

#include "document/UModelResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initEditorBundles()
{
    Q_INIT_RESOURCE(images);
    Q_INIT_RESOURCE(qml);
    Q_INIT_RESOURCE(qmlcontrol);
}

namespace AppResources {
void registerAll()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    UModelResources::registerAll();
    initEditorBundles();
}
} // namespace AppResources
