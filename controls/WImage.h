#pragma once

#include "controls/WWidget.h"

// A picture on a panel. Pictures from local files travel inside the saved
// archive and are found again in its extracted copy.
class WImage : public WWidget
{
    Q_OBJECT
public:
    explicit WImage(QQuickItem *parent = nullptr);
    ~WImage() override;

    void initWidget() override;
    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    bool hasProperties() const override;
    QWidget *createPropertiesDialog(QWidget *parent) override;
    QVariant attribute(uint id) const override;
    void setAttribute(uint id, const QVariant &value) override;

    // A text naming a local file becomes its file URL; anything else the
    // file URL of the text taken as a path.
    static QString toFileUrl(const QString &text);
};
