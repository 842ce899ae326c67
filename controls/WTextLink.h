#pragma once

#include "controls/WButton.h"

// One choice of an indexed device value, such as one source of a selector
// or one parameter set: a click sends its index, and it shows itself chosen
// while the device reports that index.
class WTextLink : public WButton
{
    Q_OBJECT
public:
    explicit WTextLink(QQuickItem *parent = nullptr);
    ~WTextLink() override;

    void destroy() override;
    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    void inputValue() override;
    bool hasProperties() const override;
    QWidget *createPropertiesDialog(QWidget *parent) override;
    QVariant attribute(uint id) const override;
    void setAttribute(uint id, const QVariant &value) override;

    int index() const { return m_index; }
    int current() const { return m_current; }

public slots:
    void outputClicked();

private:
    void setIndex(int index);

    int m_index = -1;
    int m_current = -1;
};
