#pragma once

#include "device/PProtocol.h"

#include <QByteArray>

// The DSP's line-based ASCII control protocol: one set or get line per call,
// then a short wait for the answer.
class PZDXProtocol : public PProtocol
{
    Q_OBJECT
public:
    enum Mode
    {
        SetMode = 0,
        GetMode = 1
    };

    // How long a call waits for the DSP's answer, in ms.
    static constexpr int ReplyWait = 80;
    static constexpr char Ack = 0x06;
    static constexpr char Nak = 0x15;
    // The longest answer line kept while its CR is awaited; a peer that sends
    // more without a CR loses the bytes, up to its next CR.
    static constexpr int MaxLine = 4096;

    explicit PZDXProtocol(QObject *parent = nullptr);
    ~PZDXProtocol() override;

    bool sendValue(TTransform *transform) override;
    bool requestValue(TTransform *transform) override;
    // Takes the bytes as they come; each complete CR-terminated line is one
    // answer, parsed when it is complete.
    bool receive(const QByteArray &data) override;
    void connectionReset() override;
    QString name() const override;

    // The line (with its CR) that a call in mode sends for transform; empty
    // when the transform cannot be addressed (no attributes, no node, unknown
    // structure).
    static QByteArray message(TTransform *transform, int mode);

    int mode() const { return m_mode; }
    int structure() const { return m_structure; }
    bool isAwaiting() const { return m_awaiting; }
    TTransform *pendingTransform() const { return m_pPending; }
    // The start of a line whose CR has not come yet.
    int bufferedBytes() const { return m_partial.size(); }
    // Bytes thrown away because a line grew beyond MaxLine.
    qint64 droppedBytes() const { return m_droppedBytes; }

private:
    // What an answer echoes of its request's address.
    struct Echo
    {
        enum Kind
        {
            None,
            Quoted,
            Numbered
        };
        Kind kind = None;
        QByteArray word;
        QByteArray address;
        quint32 number = 0;
    };

    static QByteArray build(TTransform *transform, int mode, Echo *expected);
    static Echo echoOf(const QByteArray &line);
    // An answer line that cannot belong to the request now outstanding.
    bool isStale(const QByteArray &line) const;
    bool transmit(TTransform *transform, int mode);
    // Parses one complete line; answers whether it was the outstanding
    // request's answer.
    bool takeLine(QByteArray line);
    void keepPartial(const QByteArray &piece);

    int m_mode = SetMode;
    int m_structure = -1;
    bool m_awaiting = false;
    TTransform *m_pPending = nullptr;
    // The outstanding request's address and how its answer went.
    Echo m_expected;
    bool m_answered = false;
    bool m_accepted = false;
    // Received bytes after the last CR, and whether the rest of an overlong
    // line is being skipped.
    QByteArray m_partial;
    bool m_discarding = false;
    qint64 m_droppedBytes = 0;
};
