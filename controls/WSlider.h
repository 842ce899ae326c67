#pragma once

#include "controls/WWidget.h"

// A vertical fader. The QML side moves in whole steps between a minimum and
// a maximum; this item turns steps into device values with the attribute
// store's step size, shown in their units or as a percentage of the range,
// and drives the sliders chained to it.
class WSlider : public WWidget
{
    Q_OBJECT
public:
    explicit WSlider(QQuickItem *parent = nullptr);
    ~WSlider() override;

    void setAttributes(CAttributes *attributes) override;
    void updateLink() override;
    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    void inputValue() override;
    bool isType(const QString &type) const override;
    bool isSlider() const override;
    void properties() override;
    bool hasProperties() const override;
    QWidget *createPropertiesDialog(QWidget *parent) override;
    QVariant attribute(uint id) const override;
    void setAttribute(uint id, const QVariant &value) override;
    void linkValue(WWidget *source) override;

    float step() const { return m_step; }
    float minimum() const { return m_minimum; }
    float maximum() const { return m_maximum; }
    bool isPercent() const { return m_percent; }
    float lastValue() const { return m_lastValue; }
    // The value shown for a position in steps: in units, or in percent of
    // the range.
    float shownValue(float position) const;

public slots:
    void outputValue(int value) override;

private:
    // Labels of the control showing a placeholder take the bound object's
    // name or the control's name.
    void refreshCaptions();

    CAttributes *m_pAttributes = nullptr;
    float m_step = 1.0f;
    // Differs from every real value, so the first change always counts.
    float m_lastValue = 9.99999935e-39f;
    float m_minimum = 0.0f;
    float m_maximum = 0.0f;
    bool m_percent = false;
    // Set while a link call passes through this item, so that a chain
    // looping back to it stops here.
    bool m_passingLink = false;
};
