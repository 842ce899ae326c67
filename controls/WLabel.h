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
    void loadAttributes(const QVector<CItemRecord::Value> &values) override;
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
    // Whether a text must be shown as rich text to look as rich text shows
    // it: it holds markup or entities, or white space rich text would fold.
    static bool needsRichText(const QString &text);

public slots:
    void properties();

protected:
    // Label values shared with the panel link.
    bool loadLabelValue(const QString &name, const QString &value);
    void writeFaces(XmlWriter *writer) const;
    void setAlignmentName(const QString &name);
    QString wrapInFaces(const QString &text) const;
    // Shows the text, as rich text only where it needs it.
    void showText(const QString &text);
    // The text wrapped in the tag of a "face" value, with its flag set;
    // unchanged for a face there is no tag for.
    QString wrapInFace(const QString &text, const QString &face);

    int m_flags = 0;
};
