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
    if (m_expected.kind == Echo::None) {
        // Only the parameter-set query has no address to echo.
        return echo.kind != Echo::None || (line.size() == 1 && line.at(0) == Ack);
    }
    // An addressed query is answered by its own echo or a refusal; anything
    // else (a late ACK, noise) would put a value on a control that never
    // asked for it.
    if (echo.kind == Echo::None)
        return line.at(0) != Nak;
    if (echo.kind != m_expected.kind)
        return true;
    if (echo.kind == Echo::Quoted)
        return echo.address != m_expected.address;
    return echo.word != m_expected.word || echo.number != m_expected.number;
}

void PZDXProtocol::connectionReset()
{
    m_partial.clear();
    m_discarding = false;
}

void PZDXProtocol::keepPartial(const QByteArray &piece)
{
    if (m_discarding) {
        m_droppedBytes += piece.size();
        return;
    }
    m_partial += piece;
    if (m_partial.size() <= MaxLine)
        return;
    // A line this long is no answer: drop it, and what follows up to its CR.
    qWarning().noquote() << QStringLiteral("PZDXProtocol: dropped %1 bytes without a line end")
                                .arg(m_partial.size());
    m_droppedBytes += m_partial.size();
    m_partial.clear();
    m_discarding = true;
}

bool PZDXProtocol::receive(const QByteArray &data)
{
    // Answers are lines: a line may come in pieces, and one read may hold
    // several lines. Only a complete line is parsed, one line per answer.
    bool used = false;
    int dropped = 0;
    int start = 0;
    while (start < data.size()) {
        const int cr = data.indexOf('\r', start);
        if (cr < 0) {
            keepPartial(data.mid(start));
            break;
        }
        const QByteArray piece = data.mid(start, cr - start);
        start = cr + 1;
        if (m_discarding) {
            m_droppedBytes += piece.size() + 1;
            m_discarding = false;
            continue;
        }
        QByteArray line = m_partial.isEmpty() ? piece : m_partial + piece;
        m_partial.clear();
        // Nothing is asked, or the answer was taken already: nobody's line.
        if (!m_awaiting) {
            ++dropped;
            continue;
        }
        if (takeLine(line))
            used = m_accepted;
        else
            ++dropped;
    }
    if (dropped > 0)
        qDebug() << "PZDXProtocol: dropped" << dropped << "answer lines";
    return used;
}

bool PZDXProtocol::takeLine(QByteArray line)
{
    // Text ends at the first zero byte; a line feed after the CR is no text.
    const int zero = line.indexOf('\0');
    if (zero >= 0)
        line.truncate(zero);
    while (line.startsWith('\n'))
        line.remove(0, 1);
    while (line.endsWith('\n'))
        line.chop(1);
    // An empty line answers nothing; answers meant for other requests are
    // skipped and the wait goes on.
    if (line.isEmpty() || isStale(line))
        return false;

    if (m_mode == SetMode) {
        m_awaiting = false;
        m_answered = true;
        m_accepted = line.at(0) == Ack;
        return true;
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
    if (nakTest && line.at(0) == Nak) {
        // Refused: the control keeps its value and stays pending.
        m_awaiting = false;
        m_answered = true;
        m_accepted = false;
        return true;
    }

    QString text = QString::fromLatin1(line);
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
    return true;
}
