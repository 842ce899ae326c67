#pragma once

#include <QHostAddress>

// An address whose four IPv4 bytes can be read and replaced one at a time.
class IIPAddress
{
public:
    IIPAddress() = default;
    explicit IIPAddress(const QHostAddress &address) : m_address(address) {}

    QHostAddress address() const { return m_address; }
    void setAddress(const QHostAddress &address) { m_address = address; }

    // Byte i of the IPv4 address, 0 the most significant; 255 outside 0..3.
    int octet(int i) const;
    // Replaces byte i (0..3) with the low 8 bits of value.
    void setOctet(int i, int value);

private:
    QHostAddress m_address;
};
