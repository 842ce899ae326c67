#include "document/UModelResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initModelBundles()
{
    Q_INIT_RESOURCE(data);
    Q_INIT_RESOURCE(skins);
}

namespace UModelResources {
void registerAll()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    initModelBundles();
}
} // namespace UModelResources
