#pragma once

#include "controls/WWidget.h"

#include <memory>

// A placeholder of a template panel that accepts one control of a given
// kind and holds it in its place.
class WDropSite : public WWidget
{
    Q_OBJECT
public:
    explicit WDropSite(QQuickItem *parent = nullptr);
    ~WDropSite() override;

    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    void moveBy(double dx, double dy) override;
    bool acceptDrop(HNode *node, const QString &value) override;
    // Holds the control; null releases the one held, which leaves the
    // document and passes to the caller (who took it from child() first).
    void setChild(CControl *child) override;
    CControl *child() const override;
    void dump() const override;
    virtual bool hasChild() const;

    QString title() const { return m_title; }
    QString acceptedType() const { return m_acceptedType; }

    Q_INVOKABLE QString getControlType() const;

public slots:
    // Removes the held control from the document for good.
    void deleteChild();
    void properties() override;
    QString getToolTip(bool clear) override;

private:
    // Takes the held control out of the document and empties the site.
    std::unique_ptr<CControl> takeChild(bool destroy);
    void setLabelTitle(const QString &title);

    QString m_title;
    QString m_acceptedType;
    CControl *m_pHeld = nullptr;
    bool m_scaleGiven = false;
};
