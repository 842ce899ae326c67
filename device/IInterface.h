#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>

class HChassis;
class PProtocol;

// The byte transport under a protocol; reports its online state by signal.
class IInterface : public QObject
{
    Q_OBJECT
public:
    explicit IInterface(QObject *parent = nullptr);
    ~IInterface() override;

    virtual bool start();
    virtual bool stop();
    virtual void ensureStarted();
    virtual void suspend();
    virtual qint64 write(const char *data, qint64 length);
    // Reserved; every interface answers 0 and nothing calls it.
    virtual int control(int a, int b, int c, int d);
    virtual bool waitForReply(int msecs);
    virtual bool waitForSent(int msecs);
    virtual void emitStatus();
    virtual QString statusText() const;
    virtual void dump() const;
    virtual QString name() const;
    virtual QString addressText() const;
    virtual void setAddress(const QHostAddress &address);
    virtual void setPort(uint port);
    virtual int state() const;
    // Bytes handed to write() that have not left yet.
    virtual qint64 bytesToWrite() const;

    PProtocol *protocol() const { return m_pProtocol; }
    void setProtocol(PProtocol *protocol) { m_pProtocol = protocol; }
    HChassis *owner() const { return m_pOwner; }
    void setOwner(HChassis *owner) { m_pOwner = owner; }
    uint status() const { return m_status; }
    int failureCount() const { return m_failureCount; }
    int connectWait() const { return m_connectWait; }
    void setConnectWait(int msecs) { m_connectWait = msecs; }

signals:
    void interfaceStatus(uint status);
    void connectionClose();

protected:
    // Sets the status and always announces it, even when it did not change.
    void setStatus(uint status);

    PProtocol *m_pProtocol = nullptr;
    HChassis *m_pOwner = nullptr;
    uint m_status = 0;
    int m_failureCount = 0;
    int m_connectWait = 100;
};
