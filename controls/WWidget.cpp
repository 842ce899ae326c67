#include "controls/WWidget.h"

#include "app/MModel.h"
#include "app/UMessage.h"
#include "controls/WDelegate.h"
#include "document/CControl.h"
#include "document/CControlHost.h"
#include "document/CItemRecord.h"
#include "document/io/XmlWriter.h"

#include <QCoreApplication>
#include <QDebug>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>

namespace {
bool parseDouble(const QString &text, double &value)
{
    bool ok = false;
    const double parsed = text.toDouble(&ok);
    if (ok)
        value = parsed;
    return ok;
}
} // namespace

WWidget::WWidget(QQuickItem *parent) : QQuickItem(parent) {}

WWidget::~WWidget()
{
    if (m_pSelector)
        m_pSelector->deleteLater();
}

void WWidget::release()
{
    // The control no longer answers for this item once it lets it go.
    m_pControl = nullptr;
    if (m_pRoot)
        m_pRoot->deleteLater();
}

void WWidget::setLinkedItem(CItem *item)
{
    m_pLinkedItem = dynamic_cast<WWidget *>(item);
}

void WWidget::enableDrop(bool enable)
{
    setRootProperty("enableDrop", enable);
}

QString WWidget::resolveImagePath(const QString &path) const
{
    const CControlHost *host = m_pControl ? m_pControl->model() : nullptr;
    return host ? host->resolveImagePath(path) : path;
}

void WWidget::initWidget() {}
void WWidget::destroy() {}
void WWidget::setAttributes(CAttributes *) {}
void WWidget::updateLink() {}
void WWidget::setCanvas(QQuickItem *) {}
void WWidget::reshape(double, double, double, double, double, double) {}
void WWidget::inputValue() {}
void WWidget::setTitle(const QString &) {}
void WWidget::setPanel(CComposite *) {}
void WWidget::inputText(const QString &) {}
void WWidget::replacePathPrefix(const QString &, const QString &) {}
void WWidget::updateSkin() {}

bool WWidget::acceptDrop(HNode *, const QString &)
{
    return false;
}

void WWidget::setChild(CControl *child)
{
    qDebug() << "WWidget::setChild" << static_cast<const void *>(child);
}

CControl *WWidget::child() const
{
    return nullptr;
}

bool WWidget::isType(const QString &type) const
{
    return type == m_typeName;
}

bool WWidget::isSlider() const
{
    return false;
}

void WWidget::properties()
{
    UMessage::warning(nullptr, tr("Warning"), tr("No properties for this control."));
}

bool WWidget::hasProperties() const
{
    return false;
}

QWidget *WWidget::createPropertiesDialog(QWidget *)
{
    return nullptr;
}

void WWidget::dump() const
{
    qDebug() << "WWidget" << m_typeName << m_pRoot;
}

void WWidget::linkValue(WWidget *source)
{
    qDebug() << "WWidget::linkValue: " << source;
}

void WWidget::loadAttributes(const QVector<CItemRecord::Value> &values)
{
    for (const CItemRecord::Value &value : values) {
        if (!value.text.isEmpty())
            loadAttribute(value.name, value.text);
    }
}

bool WWidget::loadAttribute(const QString &name, const QString &value)
{
    if (!m_pRoot)
        return false;
    double number = 0.0;
    // The setters themselves: a lookup by name for every value of every item
    // adds up on a large panel.
    void (QQuickItem::*const setters[])(qreal) = {&QQuickItem::setX, &QQuickItem::setY,
                                                  &QQuickItem::setWidth, &QQuickItem::setHeight};
    static const QString geometry[] = {QStringLiteral("x"), QStringLiteral("y"),
                                       QStringLiteral("width"), QStringLiteral("height")};
    for (int i = 0; i < 4; ++i) {
        if (name != geometry[i])
            continue;
        // Numbers that no canvas could show are damage, not geometry.
        if (CItemRecord::parseCoordinate(value, &number))
            (m_pRoot->*setters[i])(number * WDelegate::instance()->loadScale());
        return true;
    }
    if (name == QLatin1String("id") || name == QLatin1String("link")) {
        bool ok = false;
        const uint parsed = value.toUInt(&ok);
        if (ok) {
            if (name == QLatin1String("id"))
                m_id = parsed;
            else
                m_link = parsed;
        }
        return true;
    }
    if (name == QLatin1String("xfract")) {
        if (parseDouble(value, number)) {
            // The right edge stays put until "widthfract" arrives.
            m_widthfract -= number - m_xfract;
            m_xfract = number;
        }
        return true;
    }
    if (name == QLatin1String("yfract")) {
        if (parseDouble(value, number)) {
            m_heightfract -= number - m_yfract;
            m_yfract = number;
        }
        return true;
    }
    if (name == QLatin1String("widthfract")) {
        if (parseDouble(value, number))
            m_widthfract = number;
        return true;
    }
    if (name == QLatin1String("heightfract")) {
        if (parseDouble(value, number))
            m_heightfract = number;
        return true;
    }
    if (name == QLatin1String("title")) {
        setRootText(value);
        return true;
    }
    return false;
}

bool WWidget::writeXml(XmlWriter *writer)
{
    if (!writer)
        return false;
    if (m_id != 0)
        writer->writeTextElement(QStringLiteral("id"), quint32(m_id));
    if (m_link != 0)
        writer->writeTextElement(QStringLiteral("link"), quint32(m_link));
    const QRectF geometry = rootGeometry();
    writer->writeTextElement(QStringLiteral("x"), geometry.x());
    writer->writeTextElement(QStringLiteral("y"), geometry.y());
    writer->writeTextElement(QStringLiteral("width"), geometry.width());
    writer->writeTextElement(QStringLiteral("height"), geometry.height());
    writer->writeTextElement(QStringLiteral("xfract"), m_xfract);
    writer->writeTextElement(QStringLiteral("yfract"), m_yfract);
    writer->writeTextElement(QStringLiteral("widthfract"), m_widthfract);
    writer->writeTextElement(QStringLiteral("heightfract"), m_heightfract);
    return true;
}

void WWidget::scale(float factor)
{
    if (!m_pRoot)
        return;
    m_pRoot->setX(m_pRoot->x() * factor);
    m_pRoot->setY(m_pRoot->y() * factor);
    m_pRoot->setWidth(m_pRoot->width() * factor);
    m_pRoot->setHeight(m_pRoot->height() * factor);
}

void WWidget::moveBy(double dx, double dy)
{
    if (!m_pRoot)
        return;
    m_pRoot->setX(m_pRoot->x() + dx);
    m_pRoot->setY(m_pRoot->y() + dy);
}

void WWidget::setGeometry(double x, double y, double width, double height)
{
    if (!m_pRoot)
        return;
    m_pRoot->setX(x + width * m_xfract);
    m_pRoot->setY(y + height * m_yfract);
    m_pRoot->setWidth(width * m_widthfract);
    m_pRoot->setHeight(height * m_heightfract);
}

void WWidget::followResize(const QRectF &oldRect, const QRectF &newRect)
{
    if (!m_pRoot)
        return;
    if (!qFuzzyCompare(1.0 + newRect.width(), 1.0 + oldRect.width())) {
        m_pRoot->setX(newRect.x() + newRect.width() * m_xfract);
        m_pRoot->setWidth(newRect.width() * m_widthfract);
    }
    if (!qFuzzyCompare(1.0 + newRect.height(), 1.0 + oldRect.height())) {
        m_pRoot->setY(newRect.y() + newRect.height() * m_yfract);
        m_pRoot->setHeight(newRect.height() * m_heightfract);
    }
}

QVariant WWidget::attribute(uint id) const
{
    const QRectF rect = m_pControl ? m_pControl->bounds() : rootGeometry();
    switch (id) {
    case 0x4001:
        return int(rect.x());
    case 0x4002:
        return int(rect.y());
    case 0x4003:
        return int(rect.width());
    case 0x4004:
        return int(rect.height());
    case 0x4005:
        return rootProperty("text");
    case 0x4006:
        return rootProperty("hasBorder");
    case 0x4102:
        return rootProperty("textColor");
    case 0x4600:
        return rootProperty("fieldColor");
    case 0x4602:
        return rootProperty("borderWidth");
    case 0x4603:
        return rootProperty("borderColor");
    default:
        return QString();
    }
}

void WWidget::setAttribute(uint id, const QVariant &value)
{
    switch (id) {
    case 0x4001:
    case 0x4002:
    case 0x4003:
    case 0x4004: {
        if (!m_pControl)
            return;
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            return;
        QRectF rect = m_pControl->bounds();
        if (id == 0x4001)
            rect.setLeft(number); // the right edge stays
        else if (id == 0x4002)
            rect.setTop(number);
        else if (id == 0x4003)
            rect.setWidth(number);
        else
            rect.setHeight(number);
        m_pControl->resizeTo(rect);
        if (id == 0x4003 || id == 0x4004)
            m_pControl->rememberSize();
        return;
    }
    case 0x4005:
        setRootText(value.toString());
        return;
    case 0x4006:
        setRootProperty("hasBorder", value);
        return;
    case 0x4102:
        setRootProperty("textColor", value);
        return;
    case 0x4600:
        setRootProperty("fieldColor", value);
        return;
    case 0x4602:
        setRootProperty("borderWidth", value);
        return;
    case 0x4603:
        setRootProperty("borderColor", value);
        return;
    default:
        return;
    }
}

void WWidget::showSelection(bool show)
{
    QQuickItem *target = m_pSelector ? m_pSelector.data() : m_pRoot;
    if (!target)
        return;
    if (target->property("vis").toBool() != show)
        target->setProperty("vis", show);
}

QRectF WWidget::rootGeometry() const
{
    if (!m_pRoot)
        return QRectF();
    return QRectF(m_pRoot->x(), m_pRoot->y(), m_pRoot->width(), m_pRoot->height());
}

void WWidget::setVisible(bool visible)
{
    setRootProperty("visible", visible);
}

void WWidget::setRootParentItem(QObject *parent)
{
    if (m_pRoot)
        m_pRoot->setParentItem(qobject_cast<QQuickItem *>(parent));
}

void WWidget::setRootProperty(const char *name, const QVariant &value)
{
    if (m_pRoot)
        m_pRoot->setProperty(name, value);
}

QVariant WWidget::rootProperty(const char *name) const
{
    return m_pRoot ? m_pRoot->property(name) : QVariant();
}

void WWidget::setColor(const char *name, const QString &colorText)
{
    QColor color;
    color.setNamedColor(colorText);
    setRootProperty(name, color);
}

QString WWidget::colorName(const char *name) const
{
    return rootProperty(name).value<QColor>().name(QColor::HexArgb);
}

void WWidget::setRootText(const QString &text)
{
    setRootProperty("text", text);
}

QString WWidget::rootText() const
{
    return rootProperty("text").toString();
}

void WWidget::loadSelector(bool edit)
{
    if (m_pSelector) {
        delete m_pSelector.data();
        m_pSelector = nullptr;
    }
    if (!edit || !m_pRoot || !m_pControl || !m_pModel)
        return;
    if (!m_pRoot->property("selEnable").toBool())
        return;
    QQmlEngine *engine = qmlEngine(m_pRoot);
    if (!engine)
        return;
    QQmlComponent component(engine, QUrl(QStringLiteral("qrc:/qmlcontrol/QmlSelect.qml")));
    QQmlContext *context = qmlContext(m_pRoot);
    QObject *object = component.create(context ? context : engine->rootContext());
    auto *selector = qobject_cast<QQuickItem *>(object);
    if (!selector) {
        for (const QQmlError &error : component.errors())
            qDebug() << error.toString();
        delete object;
        return;
    }
    selector->setParent(m_pRoot);
    selector->setParentItem(m_pRoot);
    selector->setProperty("enabled", true);
    selector->setProperty("enableedit", !m_pControl->dropSiteHost());
    connect(selector, SIGNAL(select(int)), this, SLOT(select(int)));
    m_pSelector = selector;
}

void WWidget::outputValue(int value)
{
    qDebug() << "WWidget::outputValue: " << value;
}

void WWidget::outputChecked(bool state)
{
    qDebug() << "WWidget::outputChecked: " << state;
}

void WWidget::outputCurrentIndex(int index)
{
    qDebug() << "WWidget::outputCurrentIndex: " << index;
}

void WWidget::outputCurrentText(QString text)
{
    qDebug() << "WWidget::outputCurrentText: " << text;
}

void WWidget::onTextChanged()
{
    qDebug() << "WWidget::onTextChanged: " << rootText();
}

QString WWidget::getToolTip(bool hover)
{
    if (!hover || !m_pControl)
        return QString();
    return m_pControl->toolTip();
}

void WWidget::select(int keys)
{
    if (!m_pControl || !m_pModel)
        return;
    m_pModel->selectWithPointerTool(m_pControl, keys);
}
