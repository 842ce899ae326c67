#include "device/PZDXProtocol.h"

#include "design/HNode.h"
#include "device/IInterface.h"
#include "device/PProtocolListener.h"
#include "device/TTransform.h"
#include "document/CAttributes.h"

#include <QDebug>
#include <QElapsedTimer>

namespace {

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QString step(const QString &value)
{
    return QLatin1Char('>') + value;
}

QString step(int value)
{
    return step(QString::number(value));
}

QString hex(qint64 value)
{
    return QString::number(value, 16);
}

} // namespace

PZDXProtocol::PZDXProtocol(QObject *parent) : PProtocol(parent) {}

PZDXProtocol::~PZDXProtocol() = default;

bool PZDXProtocol::sendValue(TTransform *transform)
{
    return transmit(transform, SetMode);
}

bool PZDXProtocol::requestValue(TTransform *transform)
{
    return transmit(transform, GetMode);
}

QString PZDXProtocol::name() const
{
    return QStringLiteral("ZDX");
}

QByteArray PZDXProtocol::message(TTransform *transform, int mode)
{
    return build(transform, mode, nullptr);
}

QByteArray PZDXProtocol::build(TTransform *transform, int mode, Echo *expected)
{
    if (!transform || !transform->attributes())
        return QByteArray();
    const CAttributes *attributes = transform->attributes();
    const int structure = int(attributes->structNumber());
    const int index1 = attributes->index1();
    const int index2 = attributes->index2();
    const bool set = mode == SetMode;

    // Messages addressed by object name cannot go out without the node.
    const bool needsNode = structure <= 3 || structure == 8;
    if (needsNode && !transform->node())
        return QByteArray();
    const QString name = transform->node() ? transform->node()->label() : QString();

    Echo echo;
    QString address;
    QString line;
    switch (structure) {
    case 0:
    case 1:
        address = quoted(name) + step(index1);
        line = (set ? QStringLiteral("SA ") : QStringLiteral("GA ")) + address;
        if (set)
            line += QLatin1Char('=') + transform->toText();
        break;
    case 2:
        address = quoted(name) + step(index1) + step(index2);
        line = (set ? QStringLiteral("SA ") : QStringLiteral("GA ")) + address;
        if (set)
            line += QLatin1Char('=') + transform->toText();
        break;
    case 3: {
        const QString link = transform->linked() ? transform->linked()->toText() : QString();
        address = quoted(name) + step(link) + step(index2);
        line = (set ? QStringLiteral("SA ") : QStringLiteral("GA ")) + address;
        if (set)
            line += QLatin1Char('=') + transform->toText();
        break;
    }
    case 4:
        line = set ? QStringLiteral("SS ") + hex(transform->toInt()) + QLatin1Char(' ')
                   : QStringLiteral("GS ");
        break;
    case 5:
    case 6: {
        const QString word = structure == 5 ? QStringLiteral("G") : QStringLiteral("N");
        if (set) {
            line = QLatin1Char('S') + word + QLatin1Char(' ') + hex(index1) + QLatin1Char(',') +
                   transform->toText();
        } else {
            line = QLatin1Char('G') + word + QLatin1Char(' ') + hex(index1);
            echo.kind = Echo::Numbered;
            echo.word = (QLatin1Char('G') + word).toLatin1();
            echo.number = quint32(index1);
        }
        break;
    }
    case 7:
        address = quoted(attributes->channelLabel()) + step(index2);
        line = (set ? QStringLiteral("SA ") : QStringLiteral("GA ")) + address;
        if (set)
            line += QLatin1Char('=') + transform->toText();
        break;
    case 8:
        if (set) {
            const QString value = transform->toText();
            line = QStringLiteral("MA ") + quoted(name) + step(index1);
            if (!value.isEmpty())
                line += QLatin1Char('=') + value;
        } else {
            address = quoted(name) + step(0) + step(index2);
            line = QStringLiteral("GA ") + address;
        }
        break;
    default:
        return QByteArray();
    }

    if (!set && !address.isEmpty()) {
        echo.kind = Echo::Quoted;
        echo.address = address.toUtf8();
    }
    if (expected)
        *expected = echo;
    return line.toUtf8() + '\r';
}

bool PZDXProtocol::transmit(TTransform *transform, int mode)
{
    if (!transform || !isOnline())
        return false;
    m_mode = mode;
    if (mode == GetMode)
        m_pPending = transform;
    if (!transform->attributes())
        return false;
    m_structure = int(transform->attributes()->structNumber());
    if (mode == SetMode && listener())
        listener()->userChangedValue();

    Echo expected;
    const QByteArray line = build(transform, mode, &expected);
    if (line.isEmpty())
        return false;

    m_awaiting = false;
    m_expected = expected;
    m_answered = false;
    m_accepted = false;
    // The whole line in one write: never the command apart from its CR.
    const qint64 written = interface()->write(line.constData(), line.size());
    if (written != line.size()) {
        qDebug() << "PZDXProtocol: write failed" << line;
        return false;
    }
    // Recalling a parameter set takes the DSP a while; nobody waits for it.
    if (mode == SetMode && m_structure == 4)
        return true;

    // Answers are parsed by receive() while the interface waits; answers meant
    // for an earlier request are dropped there and the wait goes on.
    m_awaiting = true;
    QElapsedTimer clock;
    clock.start();
    while (m_awaiting) {
        const int left = ReplyWait - int(clock.elapsed());
        if (left <= 0 || !interface() || !interface()->waitForReply(left))
            break;
    }
    m_awaiting = false;
    return mode == SetMode ? m_accepted : m_answered;
}

PZDXProtocol::Echo PZDXProtocol::echoOf(const QByteArray &line)
{
    Echo echo;
    if (line.size() >= 4 && (line.at(0) == 'S' || line.at(0) == 'G' || line.at(0) == 'M') &&
        line.at(1) == 'A' && line.at(2) == ' ' && line.at(3) == '"') {
        echo.kind = Echo::Quoted;
        echo.word = line.left(2);
        // The address runs to the "=" after the closing quote (or to the end).
        const int closing = line.indexOf('"', 4);
        const int equals = closing >= 0 ? line.indexOf('=', closing) : -1;
        echo.address = line.mid(3, equals >= 0 ? equals - 3 : -1);
        return echo;
    }
    if (line.startsWith("GG ") || line.startsWith("GN ")) {
        echo.kind = Echo::Numbered;
        echo.word = line.left(2);
        const int comma = line.indexOf(',');
        bool ok = false;
        echo.number = line.mid(3, comma >= 0 ? comma - 3 : -1).trimmed().toUInt(&ok, 16);
        if (!ok)
            echo.number = 0xFFFFFFFFu; // matches no index
    }
    return echo;
}

bool PZDXProtocol::isStale(const QByteArray &line) const
{
    const Echo echo = echoOf(line);
    if (m_mode == SetMode)
        return echo.kind != Echo::None; // a set is answered by ACK or NAK only
    if (echo.kind == Echo::None)
        return line.size() == 1 && line.at(0) == Ack; // a late ACK of an earlier set
    if (echo.kind != m_expected.kind)
        return true;
    if (echo.kind == Echo::Quoted)
        return echo.address != m_expected.address;
    return echo.word != m_expected.word || echo.number != m_expected.number;
}

bool PZDXProtocol::receive(const QByteArray &data)
{
    if (!m_awaiting || data.isEmpty())
        return false;

    // Text ends at the first zero byte.
    QByteArray block = data;
    const int zero = block.indexOf('\0');
    if (zero >= 0)
        block.truncate(zero);

    // Leading answers that belong to earlier requests are skipped, line by line
    // (by offset, so a block of many short lines costs one pass).
    int start = 0;
    int dropped = 0;
    while (start < block.size()) {
        const int cr = block.indexOf('\r', start);
        const int end = cr >= 0 ? cr : block.size();
        const QByteArray line = block.mid(start, end - start);
        if (!isStale(line))
            break;
        ++dropped;
        start = end + 1;
    }
    if (dropped > 0)
        qDebug() << "PZDXProtocol: dropped" << dropped << "stale answer lines";
    block = start < block.size() ? block.mid(start) : QByteArray();
    if (block.isEmpty())
        return false; // nothing for this request yet: keep waiting

    if (m_mode == SetMode) {
        m_awaiting = false;
        m_answered = true;
        m_accepted = block.at(0) == Ack;
        return m_accepted;
    }

    char separator = '=';
    bool nakTest = true;
    if (m_structure == 4) {
        separator = ' ';
        nakTest = false;
    } else if (m_structure == 5 || m_structure == 6) {
        separator = ',';
        nakTest = false;
    }
    if (nakTest && block.at(0) == Nak) {
        // Refused: the control keeps its value and stays pending.
        m_awaiting = false;
        m_answered = true;
        return false;
    }

    QString text = QString::fromLatin1(block);
    while (text.endsWith(QLatin1Char('\r')) || text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    const int semicolon = text.indexOf(QLatin1Char(';'));
    if (semicolon >= 0)
        text.truncate(semicolon);
    const int position = text.indexOf(QLatin1Char(separator));
    const bool used = position >= 0;
    if (used && m_pPending)
        m_pPending->setText(text.mid(position + 1));

    m_pPending = nullptr;
    m_awaiting = false;
    m_answered = true;
    m_accepted = used;
    return used;
}
