#pragma once

#include <QString>

class IInterface;

// Creates the connection interface for a design's platform.
class IInterfaceFactory
{
public:
    // Every platform talks TCP, so every word gives a new ITcpClient.
    static IInterface *create(const QString &platform);
};
