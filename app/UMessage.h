#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Receives every message box the program wants to show; tests install one to
// read the texts and answer questions without a person.
class UMessageHandler
{
public:
    virtual ~UMessageHandler() = default;
    virtual QMessageBox::StandardButton show(QMessageBox::Icon icon, QWidget *parent,
                                             const QString &title, const QString &text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton) = 0;
};

// The one place user-facing warnings, questions and notices go through.
class UMessage
{
public:
    static QMessageBox::StandardButton
    warning(QWidget *parent, const QString &title, const QString &text,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton
    question(QWidget *parent, const QString &title, const QString &text,
             QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton information(QWidget *parent, const QString &title,
                                                   const QString &text);
    static QMessageBox::StandardButton critical(QWidget *parent, const QString &title,
                                                const QString &text);
    static void about(QWidget *parent, const QString &title, const QString &text);

    // Null restores the real message boxes. The handler is not owned.
    static void setHandler(UMessageHandler *handler);
    static UMessageHandler *handler();

private:
    static QMessageBox::StandardButton show(QMessageBox::Icon icon, QWidget *parent,
                                            const QString &title, const QString &text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton);
};
