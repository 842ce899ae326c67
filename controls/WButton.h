#pragma once

#include "controls/WWidget.h"

// An on/off push button: each press toggles it ("alternating") or it holds on
// only while pressed ("momentary"); every user change goes to the device.
class WButton : public WWidget
{
    Q_OBJECT
public:
    enum Mode
    {
        Alternating = 0,
        Momentary = 1,
    };

    explicit WButton(QQuickItem *parent = nullptr);
    ~WButton() override;

    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    void inputValue() override;
    void setTitle(const QString &title) override;
    bool hasProperties() const override;
    QWidget *createPropertiesDialog(QWidget *parent) override;
    QVariant attribute(uint id) const override;
    void setAttribute(uint id, const QVariant &value) override;
    void updateSkin() override;

    bool isChecked() const { return m_checked; }
    int mode() const { return m_mode; }

    // A skinned image name as the current skin and accent draw it: names of
    // the mute pictures become the skin's own; anything else stays.
    QString skinnedImage(const QString &value) const;

public slots:
    void outputClicked(bool checked);
    void outputPressed();
    void outputReleased();

protected:
    // Hands the state to the device, when there is one to hand it to.
    void sendChecked();
    // The values a text link shares with the button, in written order.
    void writeButtonValues(XmlWriter *writer);
    // The canvas's skin and accent names; empty without a canvas.
    QString skinName() const;
    QString accentName() const;
    // Rewrites a path into the current skin's folders; others stay.
    QString reskinned(const QString &path) const;
    void loadImage(const char *property, const QString &value);
    // "Text", "Image", "Text+Image" or empty, from hasText and hasImage.
    QString displayMode() const;

    bool m_checked = false;
    int m_mode = Alternating;
};
