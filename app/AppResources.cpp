#include "app/AppResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initBundles()
{
    Q_INIT_RESOURCE(data);
    Q_INIT_RESOURCE(skins);
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
    initBundles();
}
} // namespace AppResources
