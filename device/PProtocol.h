#pragma once

#include <QObject>
#include <QString>

class IInterface;
class PProtocolListener;
class TTransform;

// Turns control values into messages for a device and answers back into values.
class PProtocol : public QObject
{
    Q_OBJECT
public:
    explicit PProtocol(QObject *parent = nullptr);
    ~PProtocol() override;

    virtual bool sendFile(const QString &path);
    virtual bool sendValue(TTransform *transform);
    virtual bool receiveFile(const QString &path);
    virtual bool requestValue(TTransform *transform);
    virtual bool receive(const QByteArray &data);
    virtual QString name() const;
    // The transport has a new connection: nothing half received before it
    // belongs to what comes now.
    virtual void connectionReset();

    // True when there is a transport and it reports status 1.
    bool isOnline() const;

    IInterface *interface() const { return m_pInterface; }
    void setInterface(IInterface *transport) { m_pInterface = transport; }
    // Told of every value the user sets; not owned, and null for none.
    PProtocolListener *listener() const { return m_pListener; }
    void setListener(PProtocolListener *listener) { m_pListener = listener; }

private:
    IInterface *m_pInterface = nullptr;
    PProtocolListener *m_pListener = nullptr;
};
