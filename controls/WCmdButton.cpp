#include "controls/WCmdButton.h"

#include "controls/WImage.h"
#include "document/io/XmlWriter.h"

WCmdButton::WCmdButton(QQuickItem *parent) : WWidget(parent) {}

WCmdButton::~WCmdButton() = default;

QString WCmdButton::builtInImage(const QString &value)
{
    if (value.contains(QLatin1Char('.')))
        return value;
    return QStringLiteral("../images/") + value + QStringLiteral(".png");
}

bool WCmdButton::loadAttribute(const QString &name, const QString &value)
{
    if (!m_pRoot)
        return false;
    if (name == QLatin1String("title")) {
        setTitle(value);
        return true;
    }
    // The fractions are read too: they are written, and must survive.
    if (WWidget::loadAttribute(name, value))
        return true;
    bool ok = false;
    if (name == QLatin1String("command")) {
        m_command = value;
    } else if (name == QLatin1String("onimage")) {
        // The face shows one picture: the one stored as the "on" image.
        if (value.isEmpty()) {
            setRootProperty("hasImage", false);
        } else {
            setRootProperty("image", resolveImagePath(builtInImage(value)));
            setRootProperty("hasImage", true);
        }
    } else if (name == QLatin1String("offimage")) {
        // Never shown, but kept so that saving gives back what was read.
        setRootProperty("offImage", value);
    } else if (name == QLatin1String("imagesize")) {
        const double size = value.toDouble(&ok);
        if (ok)
            setRootProperty("imageSize", size);
    } else if (name == QLatin1String("hasBorder")) {
        const int border = value.toInt(&ok);
        if (ok)
            setRootProperty("hasBorder", border != 0);
    } else {
        return false;
    }
    return true;
}

bool WCmdButton::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    if (rootProperty("hasText").toBool())
        writer->writeTextElement(QStringLiteral("title"), rootText());
    if (rootProperty("hasImage").toBool()) {
        writer->writeImageReference(QStringLiteral("onimage"), rootProperty("image").toString(),
                                    QStringLiteral("image"));
        writer->writeImageReference(QStringLiteral("offimage"), rootProperty("offImage").toString(),
                                    QStringLiteral("image"));
        writer->writeTextElement(QStringLiteral("imagesize"), rootProperty("imageSize").toDouble());
    }
    writer->writeTextElement(QStringLiteral("hasBorder"),
                             qint32(rootProperty("hasBorder").toBool() ? 1 : 0));
    writer->writeTextElement(QStringLiteral("command"), m_command);
    writer->writeEndElement(m_typeName);
    return true;
}

void WCmdButton::outputPressed()
{
    if (m_pLinkedItem)
        m_pLinkedItem->inputText(m_command);
}

void WCmdButton::setTitle(const QString &title)
{
    setRootText(title);
    setRootProperty("hasText", true);
}

bool WCmdButton::hasProperties() const
{
    return true;
}

QWidget *WCmdButton::createPropertiesDialog(QWidget *)
{
    return nullptr;
}

QVariant WCmdButton::attribute(uint id) const
{
    switch (id) {
    case 0x4300:
        if (rootProperty("hasText").toBool())
            return QStringLiteral("Text");
        if (rootProperty("hasImage").toBool())
            return QStringLiteral("Image");
        return QString();
    case 0x4400:
        return rootProperty("image");
    default:
        return WWidget::attribute(id);
    }
}

void WCmdButton::setAttribute(uint id, const QVariant &value)
{
    switch (id) {
    case 0x4300: {
        const QString mode = value.toString();
        if (mode == QLatin1String("Text") || mode == QLatin1String("Image")) {
            setRootProperty("hasText", mode == QLatin1String("Text"));
            setRootProperty("hasImage", mode == QLatin1String("Image"));
        }
        return;
    }
    case 0x4400:
        if (!value.toString().isEmpty())
            setRootProperty("image", WImage::toFileUrl(value.toString()));
        return;
    default:
        WWidget::setAttribute(id, value);
    }
}
