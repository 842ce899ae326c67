#pragma once

#include "app/UMessage.h"

#include <QList>

// Installs itself as the message seam while it lives: records every message
// and answers questions from a queue (Ok/the default when the queue is empty).
class RecordingMessageHandler : public UMessageHandler
{
public:
    struct Message {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        // Whether the wait cursor was up when it was shown.
        bool busy = false;
    };

    RecordingMessageHandler();
    ~RecordingMessageHandler() override;

    QMessageBox::StandardButton show(QMessageBox::Icon icon, QWidget *parent, const QString &title,
                                     const QString &text, QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton defaultButton) override;

    void queueAnswer(QMessageBox::StandardButton answer) { m_answers.append(answer); }
    const QList<Message> &messages() const { return m_messages; }
    int count() const { return m_messages.count(); }
    Message last() const { return m_messages.isEmpty() ? Message() : m_messages.last(); }
    void clear() { m_messages.clear(); }

private:
    UMessageHandler *m_pPrevious = nullptr;
    QList<Message> m_messages;
    QList<QMessageBox::StandardButton> m_answers;
};
