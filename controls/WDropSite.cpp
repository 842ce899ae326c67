#include "controls/WDropSite.h"

#include "app/MModel.h"
#include "app/UMessage.h"
#include "design/CParameter.h"
#include "design/HNode.h"
#include "document/CComposite.h"
#include "document/io/XmlWriter.h"

#include <QDebug>

WDropSite::WDropSite(QQuickItem *parent) : WWidget(parent) {}

WDropSite::~WDropSite() = default;

bool WDropSite::loadAttribute(const QString &name, const QString &value)
{
    if (!m_pRoot)
        return false;
    // The site's own title, not the root's text.
    if (name == QLatin1String("title")) {
        m_title = value;
        setRootProperty("textFormat", int(Qt::RichText));
        setRootProperty("label", QStringLiteral("<i>") + value + QStringLiteral("</i>"));
        return true;
    }
    if (WWidget::loadAttribute(name, value))
        return true;
    if (name == QLatin1String("type")) {
        m_acceptedType = value;
    } else if (name == QLatin1String("child")) {
        bool ok = false;
        const uint id = value.toUInt(&ok);
        if (ok)
            m_id = id;
    } else if (name == QLatin1String("scale")) {
        bool ok = false;
        const double scale = value.toDouble(&ok);
        if (ok)
            setRootProperty("textScale", scale);
        m_scaleGiven = true;
    } else {
        return false;
    }
    return true;
}

bool WDropSite::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    writer->writeTextElement(QStringLiteral("title"), m_title);
    writer->writeTextElement(QStringLiteral("type"), m_acceptedType);
    if (CControl *held = child())
        writer->writeTextElement(QStringLiteral("child"), quint32(held->id()));
    if (m_scaleGiven)
        writer->writeTextElement(QStringLiteral("scale"), rootProperty("textScale").toDouble());
    writer->writeEndElement(m_typeName);
    return true;
}

CControl *WDropSite::child() const
{
    // A control that has left the panel (deleted, or held by a command) is
    // no longer in this place, and may no longer exist.
    if (!m_pHeld)
        return nullptr;
    CComposite *panel = m_pControl ? m_pControl->parent() : nullptr;
    if (panel && !panel->contains(m_pHeld))
        return nullptr;
    return m_pHeld;
}

bool WDropSite::hasChild() const
{
    return child() != nullptr;
}

QString WDropSite::getControlType() const
{
    return m_acceptedType;
}

void WDropSite::moveBy(double dx, double dy)
{
    WWidget::moveBy(dx, dy);
    // The held control does not move by itself while it sits here.
    if (CControl *held = child()) {
        for (CItem *item : held->items())
            item->moveBy(dx, dy);
    }
}

bool WDropSite::acceptDrop(HNode *node, const QString &value)
{
    if (!node)
        return false;
    const CParameter *entry = nullptr;
    for (const CParameter *parameter : node->parameters()) {
        if (parameter && parameter->text() == value) {
            entry = parameter;
            break;
        }
    }
    if (!entry)
        return false;
    // The kind of control the entry makes decides, as it does for the drag.
    if (entry->type() != m_acceptedType) {
        UMessage::warning(nullptr, tr("Warning"),
                          tr("Cannot drop a ") + entry->type() + tr(" on a ") + m_acceptedType +
                              tr(" site."));
        return false;
    }
    if (child() && !rootProperty("enableDrop").toBool()) {
        const QMessageBox::StandardButton answer = UMessage::question(
            nullptr, tr("Warning"),
            tr("There is already a control in this location.\nDo you want to overwrite?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return false;
    }
    return true;
}

void WDropSite::setLabelTitle(const QString &title)
{
    if (!m_pControl)
        return;
    if (CItem *label = m_pControl->findItem(QStringLiteral("label")))
        label->setTitle(title);
}

void WDropSite::setChild(CControl *control)
{
    if (!control) {
        // Whoever clears the site asked child() first and owns what leaves.
        takeChild(false).release();
        m_id = 0;
        return;
    }
    if (m_pHeld && m_pHeld != control && child() == m_pHeld)
        m_pHeld->setDropSiteHost(nullptr);
    bool properties = false;
    for (CItem *item : control->items())
        properties = properties || item->hasProperties();
    setRootProperty("enableDrop", false);
    setRootProperty("enableProperties", properties);
    m_id = control->id();
    setLabelTitle(control->name());
    control->setDropSiteHost(m_pControl);
    m_pHeld = control;
}

std::unique_ptr<CControl> WDropSite::takeChild(bool destroy)
{
    CControl *held = child();
    m_pHeld = nullptr;
    if (!held)
        return nullptr;
    held->setDropSiteHost(nullptr);
    std::unique_ptr<CControl> removed;
    if (m_pModel)
        removed = m_pModel->removeControl(held, destroy);
    else if (held->parent())
        removed = held->parent()->removeChild(held, destroy);
    setRootProperty("enableDrop", true);
    setRootProperty("enableProperties", false);
    setLabelTitle(tr("Title"));
    return removed;
}

void WDropSite::deleteChild()
{
    takeChild(true);
    m_id = 0;
}

void WDropSite::properties()
{
    CControl *held = child();
    CItem *item = held ? held->mainItem() : nullptr;
    if (auto *widget = item ? qobject_cast<WWidget *>(item->itemObject()) : nullptr)
        widget->properties();
}

QString WDropSite::getToolTip(bool clear)
{
    CControl *held = child();
    return held && clear ? held->toolTip() : QString();
}

void WDropSite::dump() const
{
    qDebug() << "WDropSite" << m_typeName << m_title << m_acceptedType
             << static_cast<const void *>(m_pHeld) << m_pRoot;
}
