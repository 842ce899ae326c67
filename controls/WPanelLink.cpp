#include "controls/WPanelLink.h"

#include "app/MModel.h"
#include "controls/WImage.h"
#include "document/CComposite.h"
#include "document/io/XmlWriter.h"

WPanelLink::WPanelLink(QQuickItem *parent) : WLabel(parent) {}

WPanelLink::~WPanelLink() = default;

bool WPanelLink::loadAttribute(const QString &name, const QString &value)
{
    if (!m_pRoot)
        return false;
    if (name == QLatin1String("path")) {
        m_path = value;
    } else if (name == QLatin1String("imagepath")) {
        // Paths read from a file arrive already redirected into its archive.
        if (!value.isEmpty())
            setRootProperty("imagePath", value);
    } else if (name == QLatin1String("imagevalid")) {
        setRootProperty("imageValid", value != tr("Text"));
    } else if (name == QLatin1String("buttonmode")) {
        setRootProperty("buttonMode", value == tr("Button"));
    } else if (name == QLatin1String("hasBorder")) {
        bool ok = false;
        const int border = value.toInt(&ok);
        if (ok)
            setRootProperty("hasBorder", border != 0);
    } else {
        if (name == QLatin1String("align"))
            m_given |= AlignGiven;
        else if (name == QLatin1String("color"))
            m_given |= ColorGiven;
        return WLabel::loadAttribute(name, value);
    }
    return true;
}

bool WPanelLink::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    writer->writeTextElement(QStringLiteral("text"), plainText());
    writer->writeTextElement(QStringLiteral("path"), m_path);
    writer->writeImageReference(QStringLiteral("imagepath"), rootProperty("imagePath").toString(),
                                QStringLiteral("image"));
    writer->writeTextElement(QStringLiteral("imagevalid"),
                             rootProperty("imageValid").toBool() ? tr("Image") : tr("Text"));
    writer->writeTextElement(QStringLiteral("buttonmode"),
                             rootProperty("buttonMode").toBool() ? tr("Button") : tr("Blank"));
    writer->writeTextElement(QStringLiteral("hasBorder"),
                             qint32(rootProperty("hasBorder").toBool() ? 1 : 0));
    writeFaces(writer);
    if (m_flags & Scale)
        writer->writeTextElement(QStringLiteral("scale"), rootProperty("textScale").toDouble());
    // What a link read as a label goes back too, after its own values.
    if (m_given & AlignGiven)
        writer->writeTextElement(QStringLiteral("align"), alignmentName());
    if (m_given & ColorGiven)
        writer->writeTextElement(QStringLiteral("color"), colorName("textColor"));
    if (m_flags & Rotation)
        writer->writeTextElement(QStringLiteral("rotation"), rootProperty("rotation").toDouble());
    if (m_flags & Edit)
        writer->writeTextElement(QStringLiteral("edit"), QStringLiteral("true"));
    if (m_flags & Select)
        writer->writeTextElement(QStringLiteral("select"), rootProperty("selEnable").toBool()
                                                               ? QStringLiteral("true")
                                                               : QStringLiteral("false"));
    if (m_flags & AutoSize)
        writer->writeTextElement(QStringLiteral("autosize"), rootProperty("autoSize").toBool()
                                                                 ? QStringLiteral("true")
                                                                 : QStringLiteral("false"));
    writer->writeEndElement(m_typeName);
    return true;
}

void WPanelLink::setPanel(CComposite *panel)
{
    if (!panel)
        return;
    // The whole path from the top of the document, which is what the model
    // follows; a path from the collection alone would lead nowhere.
    const CControl *top = panel;
    while (top->parent())
        top = top->parent();
    m_path = top->path(panel);
    setTitle(panel->name());
}

void WPanelLink::replacePathPrefix(const QString &oldPrefix, const QString &newPrefix)
{
    if (!oldPrefix.isEmpty() && m_path.startsWith(oldPrefix))
        m_path = newPrefix + m_path.mid(oldPrefix.size());
}

bool WPanelLink::hasProperties() const
{
    return true;
}

QVariant WPanelLink::attribute(uint id) const
{
    switch (id) {
    case 0x4300:
        return rootProperty("imageValid").toBool() ? tr("Image") : tr("Text");
    case 0x4400:
        return rootProperty("imagePath");
    case 0x4500:
        return rootProperty("buttonMode").toBool() ? tr("Button") : tr("Blank");
    case 0x4501:
        return m_path;
    default:
        return WLabel::attribute(id);
    }
}

void WPanelLink::setAttribute(uint id, const QVariant &value)
{
    switch (id) {
    case 0x4100:
        m_given |= AlignGiven;
        WLabel::setAttribute(id, value);
        return;
    case 0x4300:
        setRootProperty("imageValid", value.toString() != tr("Text"));
        return;
    case 0x4400:
        // A picture the user chose is that very file, as for images.
        if (!value.toString().isEmpty())
            setRootProperty("imagePath", WImage::toFileUrl(value.toString()));
        return;
    case 0x4500:
        setRootProperty("buttonMode", value.toString() == tr("Button"));
        return;
    case 0x4501:
        m_path = value.toString();
        return;
    default:
        WLabel::setAttribute(id, value);
    }
}

void WPanelLink::selectPanel()
{
    if (m_pModel)
        m_pModel->followPath(m_path);
}
