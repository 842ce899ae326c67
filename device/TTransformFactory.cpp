#include "device/TTransformFactory.h"

#include "device/TBin8.h"
#include "device/TChrL.h"
#include "device/TGrpV.h"
#include "device/THexL.h"
#include "device/TStrL.h"
#include "device/TStrV.h"
#include "device/TText.h"

TTransform *TTransformFactory::create(const QString &name)
{
    if (name == QLatin1String("bin8") || name == QLatin1String("idx8"))
        return new TBin8;
    if (name == QLatin1String("strV"))
        return new TStrV;
    if (name == QLatin1String("grpV"))
        return new TGrpV;
    if (name == QLatin1String("chrL"))
        return new TChrL;
    if (name == QLatin1String("hexL"))
        return new THexL;
    if (name == QLatin1String("strL"))
        return new TStrL;
    if (name == QLatin1String("text"))
        return new TText;
    return nullptr;
}
