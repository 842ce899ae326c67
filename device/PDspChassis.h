#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QVector>

class QTcpServer;
class QTcpSocket;
class TTransform;

// One emulated DSP chassis: listens on a loopback address, keeps a value per
// parameter of its design and answers the control protocol as the device
// would (ACK to a set it holds, the value in the get's echo form, NAK to
// anything it does not hold).
class PDspChassis : public QObject
{
    Q_OBJECT
public:
    // Ways to misbehave on purpose, shared by all chassis of an emulator.
    struct Behaviour
    {
        int delay = 0;        // answer this many ms late
        bool silent = false;  // answer nothing
        int closeAfter = 0;   // close a connection after this many messages (0: never)
        bool garbage = false; // a line of noise instead of each answer
        bool split = false;   // each answer in two writes, the second a little later
    };

    PDspChassis(const QString &label, const QString &designAddress, const Behaviour *behaviour,
                QObject *parent = nullptr);
    ~PDspChassis() override;

    // Holds the parameter a control would address through transform, starting
    // from its value; answers false when the transform addresses nothing.
    bool addParameter(TTransform *transform);
    int parameterCount() const { return m_values.size(); }

    // Listens on address (a loopback address only) and port (0: any free one).
    bool listen(const QHostAddress &address, quint16 port);
    void close();
    QString errorString() const { return m_errorString; }
    QHostAddress address() const;
    quint16 port() const;
    QString label() const { return m_label; }
    // The address and port the design gives, as text, for messages.
    QString designAddress() const { return m_designAddress; }

    // The answer line (with its CR) to one request line (without it); sets
    // change the stored value.
    QByteArray answer(const QByteArray &line);
    // The value a get line (without CR) would be answered with; empty when none.
    QByteArray value(const QByteArray &getLine) const;

    // Every get line (without CR) the chassis answers, sorted.
    QList<QByteArray> getLines() const;

    // The address part and the value of a set line; false for no set line.
    static bool splitSet(const QByteArray &line, QByteArray *key, QByteArray *value);

signals:
    void messageReceived(const QString &chassis, const QByteArray &line);

private:
    struct Connection
    {
        QByteArray partial;
        int messages = 0;
    };

    void accept();
    void readFrom(QTcpSocket *socket);
    void reply(QTcpSocket *socket, const QByteArray &answer);
    int slotOf(const QByteArray &key) const { return m_keys.value(key, -1); }

    QString m_label;
    QString m_designAddress;
    const Behaviour *m_pBehaviour;
    QTcpServer *m_pServer = nullptr;
    QString m_errorString;
    QHash<QTcpSocket *, Connection> m_connections;
    // Get lines and set addresses, each leading to the slot of its value.
    QHash<QByteArray, int> m_keys;
    QVector<QByteArray> m_values;
};
