#include "device/ILoopbackRedirect.h"

namespace {
bool g_enabled = false;
quint16 g_basePort = ILoopbackRedirect::DefaultBasePort;
} // namespace

ILoopbackRedirect::Target ILoopbackRedirect::target(const QString &designAddress,
                                                    const QString &designPort, int index,
                                                    quint16 basePort)
{
    Target result;
    const QHostAddress address(designAddress.trimmed());
    bool ok = false;
    const uint port = designPort.trimmed().toUInt(&ok, 10);
    if (address.isLoopback() && ok && port > 0 && port <= 0xFFFF) {
        result.address = address;
        result.port = quint16(port);
        result.valid = true;
        return result;
    }
    const int mapped = basePort == 0 ? 0 : int(basePort) + index;
    if (index < 0 || mapped > 0xFFFF)
        return result;
    result.address = QHostAddress(QHostAddress::LocalHost);
    result.port = quint16(mapped);
    result.valid = true;
    return result;
}

void ILoopbackRedirect::setEnabled(bool on, quint16 basePort)
{
    g_enabled = on;
    g_basePort = basePort;
}

bool ILoopbackRedirect::isEnabled()
{
    return g_enabled;
}

quint16 ILoopbackRedirect::basePort()
{
    return g_basePort;
}
