#include "common/RecordingMessageHandler.h"

#include <QGuiApplication>

RecordingMessageHandler::RecordingMessageHandler() : m_pPrevious(UMessage::handler())
{
    UMessage::setHandler(this);
}

RecordingMessageHandler::~RecordingMessageHandler()
{
    UMessage::setHandler(m_pPrevious);
}

QMessageBox::StandardButton RecordingMessageHandler::show(QMessageBox::Icon icon, QWidget *,
                                                          const QString &title, const QString &text,
                                                          QMessageBox::StandardButtons buttons,
                                                          QMessageBox::StandardButton defaultButton)
{
    m_messages.append({icon, title, text, buttons, QGuiApplication::overrideCursor() != nullptr});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (defaultButton != QMessageBox::NoButton)
        return defaultButton;
    return (buttons & QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::NoButton;
}
