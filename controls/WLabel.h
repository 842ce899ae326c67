#pragma once

#include "controls/WWidget.h"

// Static rich text on a panel. Only the optional values a file gave are
// written back, so files stay as small as they came.
class WLabel : public WWidget
{
    Q_OBJECT
public:
    enum Flag {
        Bold = 0x1,
        Italic = 0x2,
        Underline = 0x4,
        Rotation = 0x10,
        Scale = 0x40,
        Edit = 0x100,
        AutoSize = 0x200,
        Select = 0x400,
    };

    explicit WLabel(QQuickItem *parent = nullptr);
    ~WLabel() override;

    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    void setTitle(const QString &title) override;
    QWidget *createPropertiesDialog(QWidget *parent) override;
    QVariant attribute(uint id) const override;
    void setAttribute(uint id, const QVariant &value) override;

    int flags() const { return m_flags; }
    // The text without the tags the face values wrapped around it.
    QString plainText() const;
    // "left", "center" or "right".
    QString alignmentName() const;
    // "textScale" with up to six significant digits and always a decimal point.
    QString textScaleText() const;

public slots:
    void properties();

protected:
    // Label values shared with the panel link.
    bool loadLabelValue(const QString &name, const QString &value);
    void writeFaces(XmlWriter *writer) const;
    void setAlignmentName(const QString &name);
    QString wrapInFaces(const QString &text) const;

    int m_flags = 0;
};
