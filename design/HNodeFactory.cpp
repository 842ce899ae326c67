#include "design/HNodeFactory.h"

#include "design/HAudioIO.h"
#include "design/HBlock.h"
#include "design/HChassis.h"
#include "design/HGroup.h"
#include "design/HParameterSet.h"
#include "design/HTorvaLink.h"

HNode *HNodeFactory::create(const QString &typeName, const QString &cardType)
{
    if (typeName.isEmpty())
        return nullptr;
    if (typeName == QLatin1String("Torva") || typeName == QLatin1String("Pekko"))
        return new HChassis;
    if (typeName == QLatin1String("Input"))
        return new HAudioIO(cardType, HAudioIO::Input);
    if (typeName == QLatin1String("Output"))
        return new HAudioIO(cardType, HAudioIO::Output);
    if (typeName == QLatin1String("TorvaLinkTx"))
        return new HTorvaLink;
    static const char *const ignored[] = {"Tandra", "Serialin", "Serialout",
                                          "GPO",    "GPI",      "DeviceNode"};
    for (const char *name : ignored) {
        if (typeName == QLatin1String(name))
            return nullptr;
    }
    if (typeName == QLatin1String("Group"))
        return new HGroup;
    if (typeName == QLatin1String("ParameterSet"))
        return new HParameterSet;
    return new HBlock;
}
