#include "device/IInterface.h"

#include <QDebug>

IInterface::IInterface(QObject *parent) : QObject(parent) {}

IInterface::~IInterface() = default;

bool IInterface::start()
{
    return false;
}

bool IInterface::stop()
{
    return false;
}

void IInterface::ensureStarted() {}

void IInterface::suspend() {}

qint64 IInterface::write(const char *data, qint64 length)
{
    // Without a transport the bytes only go to the log.
    if (data && length > 0)
        qDebug().noquote() << name() + QStringLiteral(" write:")
                           << QString::fromLatin1(data, int(qMin<qint64>(length, 256)));
    return 0;
}

int IInterface::control(int, int, int, int)
{
    return 0;
}

bool IInterface::waitForReply(int)
{
    return false;
}

bool IInterface::waitForSent(int)
{
    return false;
}

void IInterface::emitStatus()
{
    emit interfaceStatus(m_status);
}

QString IInterface::statusText() const
{
    return QStringLiteral("?");
}

void IInterface::dump() const
{
    qDebug().noquote() << name() << addressText() << "status" << m_status << "state" << state()
                       << "failures" << m_failureCount;
}

QString IInterface::name() const
{
    return QStringLiteral("Null Interface");
}

QString IInterface::addressText() const
{
    return QString();
}

void IInterface::setAddress(const QHostAddress &) {}

void IInterface::setPort(uint) {}

int IInterface::state() const
{
    return 0;
}

void IInterface::setStatus(uint status)
{
    m_status = status;
    emit interfaceStatus(m_status);
}

qint64 IInterface::bytesToWrite() const
{
    return 0;
}
