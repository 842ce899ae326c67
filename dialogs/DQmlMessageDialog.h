#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QQmlContext;

// A message drawn inside the canvas by a QML document (title, text and one
// button), modal through the mode manager instead of a window of its own.
class DQmlMessageDialog : public QObject
{
    Q_OBJECT
public:
    explicit DQmlMessageDialog(QQmlContext *context,
                               const QUrl &url = QUrl(QStringLiteral(
                                   "qrc:/qml/objects/QmlMessageDialog.qml")),
                               QObject *parent = nullptr);
    ~DQmlMessageDialog() override;

    QUrl url() const { return m_url; }
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    QString text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    // "OK" unless set otherwise.
    QString button() const { return m_button; }
    void setButton(const QString &button) { m_button = button; }

    // Creates the QML object on the canvas and makes it the modal object;
    // false when it cannot be created or there is no canvas to show it on.
    bool show();
    // Shows the message and keeps the program running until it is closed;
    // false when it could not be shown.
    bool exec();
    bool isOpen() const { return !m_pObject.isNull(); }
    QObject *object() const { return m_pObject; }

public slots:
    // Removes the message from the canvas; nothing when it is not shown.
    void close();
    // A suspended or hidden application takes the message down.
    void applicationStateChanged(Qt::ApplicationState state);

signals:
    void closed();

private:
    QPointer<QObject> m_pObject;
    QUrl m_url;
    QString m_title;
    QString m_text;
    QString m_button;
    QPointer<QQmlContext> m_pContext;
};
