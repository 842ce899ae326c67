#include "app/UMessage.h"

namespace {
UMessageHandler *s_pHandler = nullptr;
}

void UMessage::setHandler(UMessageHandler *handler)
{
    s_pHandler = handler;
}

UMessageHandler *UMessage::handler()
{
    return s_pHandler;
}

QMessageBox::StandardButton UMessage::show(QMessageBox::Icon icon, QWidget *parent,
                                           const QString &title, const QString &text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton)
{
    if (s_pHandler)
        return s_pHandler->show(icon, parent, title, text, buttons, defaultButton);
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton UMessage::warning(QWidget *parent, const QString &title,
                                              const QString &text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton)
{
    return show(QMessageBox::Warning, parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton UMessage::question(QWidget *parent, const QString &title,
                                               const QString &text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    return show(QMessageBox::Question, parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton UMessage::information(QWidget *parent, const QString &title,
                                                  const QString &text)
{
    return show(QMessageBox::Information, parent, title, text, QMessageBox::Ok,
                QMessageBox::NoButton);
}

QMessageBox::StandardButton UMessage::critical(QWidget *parent, const QString &title,
                                               const QString &text)
{
    return show(QMessageBox::Critical, parent, title, text, QMessageBox::Ok,
                QMessageBox::NoButton);
}

void UMessage::about(QWidget *parent, const QString &title, const QString &text)
{
    if (s_pHandler) {
        s_pHandler->show(QMessageBox::NoIcon, parent, title, text, QMessageBox::Ok,
                         QMessageBox::NoButton);
        return;
    }
    QMessageBox::about(parent, title, text);
}
