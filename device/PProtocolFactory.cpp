#include "device/PProtocolFactory.h"

#include "device/PFileProtocol.h"
#include "device/PZDXProtocol.h"

PProtocol *PProtocolFactory::create(const QString &platform)
{
    if (platform.startsWith(QLatin1String("Zindral")) ||
        platform.startsWith(QLatin1String("Torva")) || platform.startsWith(QLatin1String("Rallen")))
        return new PZDXProtocol;
    if (platform == QLatin1String("File"))
        return new PFileProtocol;
    return nullptr;
}
