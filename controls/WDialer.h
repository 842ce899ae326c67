#pragma once

#include "controls/WWidget.h"

// The display of a telephone block: collects the number typed on linked
// command buttons, sends call, end, answer and tone commands, and shows the
// call state the device reports.
class WDialer : public WWidget
{
    Q_OBJECT
public:
    enum CallState : uint
    {
        Ready = 1,
        Dialing = 2,
        Connected = 3,
        Ringing = 4
    };
    // The block's function codes, sent in index1.
    enum Function
    {
        CallFunction = 1,
        EndFunction = 2,
        AnswerFunction = 3,
        ToneFunction = 6
    };
    // What index2 polls.
    enum PolledValue
    {
        PollCallState = 1,
        PollStatusText = 6
    };

    explicit WDialer(QQuickItem *parent = nullptr);
    ~WDialer() override;

    void initWidget() override;
    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    void inputValue() override;
    void inputText(const QString &text) override;

    QString number() const { return m_number; }
    uint callState() const { return m_callState; }
    // The status shown for a call state; empty for no state.
    static QString stateText(uint state);

private:
    void sendFunction(int code, const QString &text);
    void showNumber();
    // Takes a reported call state; true when the state changed.
    bool takeCallState(const QString &value);

    QString m_number;
    uint m_callState = Ready;
};
