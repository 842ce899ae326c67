#include "controls/WButton.h"

#include "app/MModel.h"
#include "controls/WImage.h"
#include "device/PProtocol.h"
#include "device/TTransform.h"
#include "document/CCanvas.h"
#include "document/io/XmlWriter.h"

#include <QDebug>

namespace {
const QString SkinFolder = QStringLiteral("../images/skins/");
const QString AccentFolder = QStringLiteral("../images/skins/Accent/");
} // namespace

WButton::WButton(QQuickItem *parent) : WWidget(parent) {}

WButton::~WButton() = default;

QString WButton::skinName() const
{
    const CCanvas *canvas = m_pModel ? m_pModel->canvas() : nullptr;
    return canvas ? canvas->skin() : QString();
}

QString WButton::accentName() const
{
    const CCanvas *canvas = m_pModel ? m_pModel->canvas() : nullptr;
    return canvas ? canvas->accent() : QString();
}

QString WButton::skinnedImage(const QString &value) const
{
    // Without a canvas there is no skin to draw from.
    if (skinName().isEmpty())
        return value;
    if (value.contains(QLatin1String("mute_on")))
        return AccentFolder + accentName() + QStringLiteral("/mute_on.png");
    if (value.contains(QLatin1String("mute_off")))
        return SkinFolder + skinName() + QStringLiteral("/mute_off.png");
    return value;
}

QString WButton::reskinned(const QString &path) const
{
    if (skinName().isEmpty())
        return path;
    const QString file = path.mid(path.lastIndexOf(QLatin1Char('/')));
    if (path.contains(AccentFolder))
        return AccentFolder + accentName() + file;
    if (path.contains(SkinFolder))
        return SkinFolder + skinName() + file;
    return path;
}

void WButton::loadImage(const char *property, const QString &value)
{
    if (value.isEmpty()) {
        setRootProperty("hasImage", false);
        return;
    }
    setRootProperty(property, resolveImagePath(skinnedImage(value)));
    setRootProperty("hasImage", true);
}

bool WButton::loadAttribute(const QString &name, const QString &value)
{
    if (!m_pRoot)
        return false;
    if (name == QLatin1String("title")) {
        setRootProperty("onText", value);
        setRootProperty("offText", value);
        setRootProperty("hasText", true);
        return true;
    }
    // The fractions are read too: they are written, and a layout that did
    // not survive its own round trip would be lost.
    if (WWidget::loadAttribute(name, value))
        return true;
    bool ok = false;
    if (name == QLatin1String("action")) {
        if (value == QLatin1String("alternating"))
            m_mode = Alternating;
        else if (value == QLatin1String("momentary"))
            m_mode = Momentary;
    } else if (name == QLatin1String("ontext")) {
        setRootProperty("onText", value);
        setRootProperty("hasText", true);
    } else if (name == QLatin1String("offtext")) {
        setRootProperty("offText", value);
        setRootProperty("hasText", true);
    } else if (name == QLatin1String("onimage")) {
        loadImage("onImage", value);
    } else if (name == QLatin1String("offimage")) {
        loadImage("offImage", value);
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

void WButton::writeButtonValues(XmlWriter *writer)
{
    if (rootProperty("hasText").toBool()) {
        // A caption the root does not hold (a text link given none) is not
        // made up as an empty one.
        for (const auto &caption :
             {std::make_pair("onText", "ontext"), std::make_pair("offText", "offtext")}) {
            const QVariant text = rootProperty(caption.first);
            if (text.isValid())
                writer->writeTextElement(QLatin1String(caption.second), text.toString());
        }
    }
    if (rootProperty("hasImage").toBool()) {
        writer->writeImageReference(QStringLiteral("onimage"), rootProperty("onImage").toString(),
                                    QStringLiteral("image"));
        writer->writeImageReference(QStringLiteral("offimage"), rootProperty("offImage").toString(),
                                    QStringLiteral("image"));
        writer->writeTextElement(QStringLiteral("imagesize"), rootProperty("imageSize").toDouble());
    }
    writer->writeTextElement(QStringLiteral("hasBorder"),
                             qint32(rootProperty("hasBorder").toBool() ? 1 : 0));
    writer->writeTextElement(QStringLiteral("action"), m_mode == Momentary
                                                           ? QStringLiteral("momentary")
                                                           : QStringLiteral("alternating"));
}

bool WButton::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    writeButtonValues(writer);
    writer->writeEndElement(m_typeName);
    return true;
}

void WButton::outputClicked(bool checked)
{
    qDebug() << "WButton::outputClicked: " << checked;
}

void WButton::sendChecked()
{
    if (m_pTransform && m_pProtocol && m_outputEnabled) {
        m_pTransform->fromByte(m_checked ? 1 : 0);
        m_pProtocol->sendValue(m_pTransform);
    }
}

void WButton::outputPressed()
{
    if (!m_pRoot)
        return;
    m_checked = !m_checked;
    setRootProperty("checked", m_checked);
    sendChecked();
}

void WButton::outputReleased()
{
    if (m_mode != Momentary || !m_checked)
        return;
    m_checked = false;
    setRootProperty("checked", false);
    // A contact shown open must be open on the device too.
    sendChecked();
}

void WButton::inputValue()
{
    if (!m_pRoot || !m_pTransform)
        return;
    m_outputEnabled = false;
    m_checked = m_pTransform->toByte() != 0;
    setRootProperty("checked", m_checked);
    m_outputEnabled = true;
}

void WButton::setTitle(const QString &title)
{
    setRootText(title);
    setRootProperty("hasText", true);
}

bool WButton::hasProperties() const
{
    return true;
}

QWidget *WButton::createPropertiesDialog(QWidget *)
{
    return nullptr;
}

QString WButton::displayMode() const
{
    const bool text = rootProperty("hasText").toBool();
    const bool image = rootProperty("hasImage").toBool();
    if (text && image)
        return QStringLiteral("Text+Image");
    if (text)
        return QStringLiteral("Text");
    if (image)
        return QStringLiteral("Image");
    return QString();
}

QVariant WButton::attribute(uint id) const
{
    switch (id) {
    case 0x4007:
        return rootProperty("onText");
    case 0x4008:
        return rootProperty("offText");
    case 0x4300:
        return displayMode();
    case 0x4301:
        return rootProperty("onImage");
    case 0x4302:
        return rootProperty("offImage");
    default:
        return WWidget::attribute(id);
    }
}

void WButton::setAttribute(uint id, const QVariant &value)
{
    switch (id) {
    case 0x4007:
        setRootProperty("onText", value.toString());
        return;
    case 0x4008:
        setRootProperty("offText", value.toString());
        return;
    case 0x4300: {
        const QString mode = value.toString();
        if (mode == QLatin1String("Text") || mode == QLatin1String("Image") ||
            mode == QLatin1String("Text+Image")) {
            setRootProperty("hasText", mode != QLatin1String("Image"));
            setRootProperty("hasImage", mode != QLatin1String("Text"));
        }
        return;
    }
    case 0x4301:
    case 0x4302:
        if (!value.toString().isEmpty())
            setRootProperty(id == 0x4301 ? "onImage" : "offImage",
                            WImage::toFileUrl(value.toString()));
        return;
    default:
        WWidget::setAttribute(id, value);
    }
}

void WButton::updateSkin()
{
    for (const char *property : {"onImage", "offImage"}) {
        const QString path = rootProperty(property).toString();
        const QString skinned = reskinned(path);
        if (skinned != path)
            setRootProperty(property, skinned);
    }
}
