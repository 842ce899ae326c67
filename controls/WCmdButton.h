#pragma once

#include "controls/WWidget.h"

// A stateless button that hands its command text to the item it is linked
// to, as the keys of a keypad feed a dialer.
class WCmdButton : public WWidget
{
    Q_OBJECT
public:
    explicit WCmdButton(QQuickItem *parent = nullptr);
    ~WCmdButton() override;

    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    void setTitle(const QString &title) override;
    bool hasProperties() const override;
    QWidget *createPropertiesDialog(QWidget *parent) override;
    QVariant attribute(uint id) const override;
    void setAttribute(uint id, const QVariant &value) override;

    QString command() const { return m_command; }
    void setCommand(const QString &command) { m_command = command; }

    // A picture named without a file extension is one of the program's own.
    static QString builtInImage(const QString &value);

public slots:
    void outputPressed();

private:
    QString m_command;
};
