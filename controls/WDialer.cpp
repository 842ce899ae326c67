#include "controls/WDialer.h"

#include "device/PProtocol.h"
#include "device/TTransform.h"
#include "document/CAttributes.h"
#include "document/io/XmlWriter.h"

namespace {
bool isDialCharacter(const QString &text)
{
    return !text.isEmpty() && QStringLiteral("#*0123456789").contains(text.at(0));
}
} // namespace

WDialer::WDialer(QQuickItem *parent) : WWidget(parent) {}

WDialer::~WDialer() = default;

QString WDialer::stateText(uint state)
{
    switch (state) {
    case Ready:
        return tr("Ready");
    case Dialing:
        return tr("Dialing");
    case Connected:
        return tr("Connected");
    case Ringing:
        return tr("Ringing");
    default:
        return QString();
    }
}

void WDialer::initWidget()
{
    setRootProperty("status", stateText(m_callState));
}

bool WDialer::loadAttribute(const QString &name, const QString &value)
{
    // Only the base values: the display has no caption to take a title.
    if (name == QLatin1String("title"))
        return false;
    return WWidget::loadAttribute(name, value);
}

bool WDialer::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    writer->writeEndElement(m_typeName);
    return true;
}

void WDialer::showNumber()
{
    setRootText(m_number);
}

void WDialer::inputText(const QString &text)
{
    // The number ends with a call, but the display keeps it while the call
    // runs; only typing changes what is shown.
    switch (m_callState) {
    case Ready:
        if (isDialCharacter(text)) {
            m_number += text;
            showNumber();
        } else if (text == QLatin1String("Call")) {
            sendFunction(CallFunction, m_number);
            m_number.clear();
        } else if (text == QLatin1String("BackSpace") && !m_number.isEmpty()) {
            m_number.chop(1);
            showNumber();
        }
        break;
    case Dialing:
        if (text == QLatin1String("End")) {
            sendFunction(EndFunction, QString());
            m_number.clear();
        }
        break;
    case Connected:
        if (isDialCharacter(text)) {
            m_number += text;
            showNumber();
            sendFunction(ToneFunction, text);
        } else if (text == QLatin1String("End")) {
            sendFunction(EndFunction, QString());
            m_number.clear();
        }
        break;
    case Ringing:
        if (text == QLatin1String("Answer")) {
            sendFunction(AnswerFunction, QString());
            m_number.clear();
        }
        break;
    default:
        break;
    }
}

void WDialer::sendFunction(int code, const QString &text)
{
    CAttributes *store = m_pTransform ? m_pTransform->attributes() : nullptr;
    if (!store || !m_pProtocol)
        return;
    // The function travels in index1 for this one message only.
    const int previous = store->index1();
    store->setIndex1(code);
    m_pTransform->fromText(text);
    m_pProtocol->sendValue(m_pTransform);
    store->setIndex1(previous);
}

bool WDialer::takeCallState(const QString &value)
{
    bool ok = false;
    const uint state = value.trimmed().toUInt(&ok);
    // Anything but a known state (an empty or garbled answer) keeps the state.
    if (!ok || stateText(state).isEmpty() || state == m_callState)
        return false;
    m_callState = state;
    setRootProperty("status", stateText(state));
    CAttributes *store = m_pTransform ? m_pTransform->attributes() : nullptr;
    if (store && store->index2() != PollCallState)
        store->setIndex2(PollCallState);
    return true;
}

void WDialer::inputValue()
{
    if (!m_pTransform)
        return;
    const QString value = m_pTransform->toText();
    CAttributes *store = m_pTransform->attributes();
    if (m_callState != Connected || !store) {
        takeCallState(value);
        return;
    }
    // While connected the poll alternates between the call state and the
    // device's status text (the other party, the call time).
    if (store->index2() == PollCallState) {
        if (!takeCallState(value))
            store->setIndex2(PollStatusText);
        return;
    }
    setRootProperty("status", value);
    store->setIndex2(PollCallState);
}
