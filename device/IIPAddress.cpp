#include "device/IIPAddress.h"

int IIPAddress::octet(int i) const
{
    if (i < 0 || i >= 4)
        return 255;
    const quint32 ip = m_address.toIPv4Address();
    return int((ip >> (8 * (3 - i))) & 0xFF);
}

void IIPAddress::setOctet(int i, int value)
{
    if (i < 0 || i >= 4)
        return;
    const int shift = 8 * (3 - i);
    quint32 ip = m_address.toIPv4Address();
    ip &= ~(quint32(0xFF) << shift);
    ip |= (quint32(value) & 0xFF) << shift;
    m_address.setAddress(ip);
}
