#pragma once

#include "controls/WWidget.h"

// A filled, bordered rectangle; as "bounds", the invisible outline that
// defines a panel's area.
class WFrame : public WWidget
{
    Q_OBJECT
public:
    explicit WFrame(QQuickItem *parent = nullptr);
    ~WFrame() override;

    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    QWidget *createPropertiesDialog(QWidget *parent) override;
};
