#pragma once

#include "controls/WLabel.h"

// A caption or picture that jumps to another panel when touched.
class WPanelLink : public WLabel
{
    Q_OBJECT
public:
    explicit WPanelLink(QQuickItem *parent = nullptr);
    ~WPanelLink() override;

    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    void setPanel(CComposite *panel) override;
    void replacePathPrefix(const QString &oldPrefix, const QString &newPrefix) override;
    bool hasProperties() const override;
    QVariant attribute(uint id) const override;
    void setAttribute(uint id, const QVariant &value) override;

    QString path() const { return m_path; }

public slots:
    void selectPanel();

private:
    // Label values a link reads beyond its own, so that they are written back.
    enum Given
    {
        AlignGiven = 0x1,
        ColorGiven = 0x2
    };

    QString m_path;
    int m_given = 0;
};
