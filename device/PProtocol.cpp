#include "device/PProtocol.h"

#include "device/IInterface.h"

PProtocol::PProtocol(QObject *parent) : QObject(parent) {}

PProtocol::~PProtocol() = default;

bool PProtocol::sendFile(const QString &)
{
    return false;
}

bool PProtocol::sendValue(TTransform *)
{
    return false;
}

bool PProtocol::receiveFile(const QString &)
{
    return false;
}

bool PProtocol::requestValue(TTransform *)
{
    return false;
}

bool PProtocol::receive(const QByteArray &)
{
    return false;
}

QString PProtocol::name() const
{
    return QStringLiteral("----");
}

void PProtocol::connectionReset() {}

bool PProtocol::isOnline() const
{
    return m_pInterface && m_pInterface->status() == 1;
}
