#pragma once

#include "controls/WWidget.h"

// Shows a text value (typically the value box of a slider) and passes new
// texts along a chain of linked items.
class WTextEdit : public WWidget
{
    Q_OBJECT
public:
    explicit WTextEdit(QQuickItem *parent = nullptr);
    ~WTextEdit() override;

    void setAttributes(CAttributes *attributes) override;
    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    void linkValue(WWidget *source) override;

    QString lastText() const { return m_lastText; }
    // Kept from the attribute store for the text's presentation.
    QString format() const { return m_format; }
    int decimals() const { return m_decimals; }

public slots:
    void onTextChanged() override;
    void outputCurrentText(QString text) override;

private:
    QString m_lastText;
    QString m_format;
    int m_decimals = 0;
};
