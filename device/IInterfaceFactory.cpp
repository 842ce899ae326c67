#include "device/IInterfaceFactory.h"

#include "device/ITcpClient.h"

IInterface *IInterfaceFactory::create(const QString &)
{
    return new ITcpClient;
}
