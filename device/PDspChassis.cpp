#include "device/PDspChassis.h"

#include "device/PZDXProtocol.h"
#include "device/TTransform.h"
#include "document/CAttributes.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace {

const QByteArray AckLine("\x06\r");
const QByteArray NakLine("\x15\r");
// Noise that would show a value if it were ever taken for an answer.
const QByteArray GarbageLine("\x7f\xfe=999,999;\r");
// A line this long without a CR is no request; it is dropped.
const int MaxRequest = 64 * 1024;
// The pause between the two halves of a split answer.
const int SplitPause = 15;

// "GG 1A" and "GG 01a" address what the program writes as "GG 1a".
QByteArray numbered(const QByteArray &word, const QByteArray &digits, bool *ok)
{
    const uint number = digits.trimmed().toUInt(ok, 16);
    return word + ' ' + QByteArray::number(number, 16);
}

} // namespace

PDspChassis::PDspChassis(const QString &label, const QString &designAddress,
                         const Behaviour *behaviour, QObject *parent)
    : QObject(parent), m_label(label), m_designAddress(designAddress), m_pBehaviour(behaviour)
{
}

PDspChassis::~PDspChassis()
{
    close();
}

bool PDspChassis::splitSet(const QByteArray &line, QByteArray *key, QByteArray *value)
{
    if ((line.startsWith("SA \"") || line.startsWith("MA \""))) {
        const int closing = line.indexOf('"', 4);
        if (closing < 0)
            return false;
        const int equals = line.indexOf('=', closing);
        *key = equals >= 0 ? line.left(equals) : line;
        *value = equals >= 0 ? line.mid(equals + 1) : QByteArray();
        return true;
    }
    if (line.startsWith("SG ") || line.startsWith("SN ")) {
        const int comma = line.indexOf(',');
        if (comma < 0)
            return false;
        bool ok = false;
        *key = numbered(line.left(2), line.mid(3, comma - 3), &ok);
        *value = line.mid(comma + 1);
        return ok;
    }
    if (line.startsWith("SS ")) {
        *key = "SS";
        *value = line.mid(3).trimmed();
        return true;
    }
    return false;
}

bool PDspChassis::addParameter(TTransform *transform)
{
    if (!transform || !transform->attributes())
        return false;
    // The value a device starts with: the bottom of a range, the first
    // entry of a list.
    if (transform->attributes()->kind() == QLatin1String("range"))
        transform->fromFloat(transform->attributes()->minimum());
    const QByteArray getLine = PZDXProtocol::message(transform, PZDXProtocol::GetMode).chopped(1);
    const QByteArray setLine = PZDXProtocol::message(transform, PZDXProtocol::SetMode).chopped(1);
    QByteArray setKey;
    QByteArray ignored;
    if (getLine.isEmpty() || !splitSet(setLine, &setKey, &ignored))
        return false;
    // Parameters reached by the same messages (the parameter-set recall of
    // every set) share one value.
    int slot = slotOf(getLine);
    if (slot < 0)
        slot = slotOf(setKey);
    if (slot < 0) {
        slot = m_values.size();
        m_values.append(transform->toText().toUtf8());
    }
    m_keys.insert(getLine, slot);
    m_keys.insert(setKey, slot);
    return true;
}

bool PDspChassis::listen(const QHostAddress &address, quint16 port)
{
    close();
    // Never anything but this machine: the emulator is for trying things out.
    if (!address.isLoopback()) {
        m_errorString = tr("%1 is not a loopback address").arg(address.toString());
        return false;
    }
    m_pServer = new QTcpServer(this);
    connect(m_pServer, &QTcpServer::newConnection, this, &PDspChassis::accept);
    if (!m_pServer->listen(address, port)) {
        m_errorString = m_pServer->errorString();
        delete m_pServer;
        m_pServer = nullptr;
        return false;
    }
    return true;
}

void PDspChassis::close()
{
    const QList<QTcpSocket *> sockets = m_connections.keys();
    m_connections.clear();
    for (QTcpSocket *socket : sockets) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    delete m_pServer;
    m_pServer = nullptr;
}

QHostAddress PDspChassis::address() const
{
    return m_pServer ? m_pServer->serverAddress() : QHostAddress();
}

quint16 PDspChassis::port() const
{
    return m_pServer ? m_pServer->serverPort() : 0;
}

QByteArray PDspChassis::value(const QByteArray &getLine) const
{
    const int slot = slotOf(getLine);
    return slot >= 0 ? m_values.at(slot) : QByteArray();
}

QList<QByteArray> PDspChassis::getLines() const
{
    QList<QByteArray> lines;
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it) {
        if (it.key().startsWith('G'))
            lines << it.key();
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

QByteArray PDspChassis::answer(const QByteArray &line)
{
    if (line.startsWith("GA ") || line == "GS " || line == "GS") {
        const QByteArray key = line.startsWith("GS") ? QByteArray("GS ") : line;
        const int slot = slotOf(key);
        if (slot < 0)
            return NakLine;
        // The echo of the request, its separator and the value.
        return key.startsWith("GS") ? key + m_values.at(slot) + '\r'
                                    : key + '=' + m_values.at(slot) + '\r';
    }
    if (line.startsWith("GG ") || line.startsWith("GN ")) {
        bool ok = false;
        const QByteArray key = numbered(line.left(2), line.mid(3), &ok);
        const int slot = ok ? slotOf(key) : -1;
        return slot >= 0 ? key + ',' + m_values.at(slot) + '\r' : NakLine;
    }
    QByteArray key;
    QByteArray value;
    if (!splitSet(line, &key, &value))
        return NakLine;
    const int slot = slotOf(key);
    if (slot < 0)
        return NakLine;
    if (key == "SS") {
        // A recall names the set in hex; the query answers its number.
        bool ok = false;
        const uint number = value.toUInt(&ok, 16);
        if (!ok)
            return NakLine;
        value = QByteArray::number(number);
    }
    m_values[slot] = value;
    return AckLine;
}

void PDspChassis::accept()
{
    while (QTcpSocket *socket = m_pServer->nextPendingConnection()) {
        socket->setParent(this);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_connections.insert(socket, Connection());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_connections.remove(socket);
            socket->deleteLater();
        });
    }
}

void PDspChassis::readFrom(QTcpSocket *socket)
{
    auto found = m_connections.find(socket);
    if (found == m_connections.end())
        return;
    Connection &connection = found.value();
    connection.partial += socket->readAll();
    int start = 0;
    for (int cr = connection.partial.indexOf('\r'); cr >= 0;
         cr = connection.partial.indexOf('\r', start)) {
        QByteArray line = connection.partial.mid(start, cr - start);
        start = cr + 1;
        while (line.startsWith('\n'))
            line.remove(0, 1);
        if (line.isEmpty())
            continue;
        emit messageReceived(m_label, line);
        ++connection.messages;
        // A device that has hung up neither stores nor answers.
        if (!m_pBehaviour || !m_pBehaviour->silent)
            reply(socket, answer(line));
        if (m_pBehaviour && m_pBehaviour->closeAfter > 0 &&
            connection.messages >= m_pBehaviour->closeAfter) {
            m_connections.remove(socket);
            socket->disconnectFromHost();
            return;
        }
    }
    connection.partial.remove(0, start);
    if (connection.partial.size() > MaxRequest)
        connection.partial.clear();
}

void PDspChassis::reply(QTcpSocket *socket, const QByteArray &answer)
{
    const Behaviour behaviour = m_pBehaviour ? *m_pBehaviour : Behaviour();
    const QByteArray text = behaviour.garbage ? GarbageLine : answer;
    QPointer<QTcpSocket> target(socket);
    auto send = [target](const QByteArray &bytes) {
        if (target && target->state() == QAbstractSocket::ConnectedState) {
            target->write(bytes);
            target->flush();
        }
    };
    const int half = behaviour.split ? qMax(1, text.size() / 2) : text.size();
    const QByteArray first = text.left(half);
    const QByteArray rest = text.mid(half);
    if (behaviour.delay > 0)
        QTimer::singleShot(behaviour.delay, socket, [send, first] { send(first); });
    else
        send(first);
    if (!rest.isEmpty())
        QTimer::singleShot(behaviour.delay + SplitPause, socket, [send, rest] { send(rest); });
}
