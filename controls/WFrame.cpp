#include "controls/WFrame.h"

#include "document/io/XmlWriter.h"

WFrame::WFrame(QQuickItem *parent) : WWidget(parent) {}

WFrame::~WFrame() = default;

bool WFrame::loadAttribute(const QString &name, const QString &value)
{
    if (!m_pRoot)
        return false;
    // Frames take their position and size, but no id, link or fractions.
    if (name == QLatin1String("x") || name == QLatin1String("y") ||
        name == QLatin1String("width") || name == QLatin1String("height"))
        return WWidget::loadAttribute(name, value);
    if (name == QLatin1String("shape") || name == QLatin1String("shadow"))
        return true;
    if (name == QLatin1String("fieldcolor")) {
        setColor("fieldColor", value);
        return true;
    }
    if (name == QLatin1String("bordercolor")) {
        setColor("borderColor", value);
        return true;
    }
    bool ok = false;
    if (name == QLatin1String("borderwidth")) {
        const double width = value.toDouble(&ok);
        if (ok)
            setRootProperty("borderWidth", width);
        return true;
    }
    if (name == QLatin1String("hasBorder")) {
        const int border = value.toInt(&ok);
        if (ok)
            setRootProperty("hasBorder", border != 0);
        return true;
    }
    return false;
}

bool WFrame::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    writer->writeTextElement(QStringLiteral("shape"), QStringLiteral("box"));
    writer->writeTextElement(QStringLiteral("shadow"), QStringLiteral("plain"));
    writer->writeTextElement(QStringLiteral("fieldcolor"), colorName("fieldColor"));
    writer->writeTextElement(QStringLiteral("bordercolor"), colorName("borderColor"));
    writer->writeTextElement(QStringLiteral("borderwidth"), rootProperty("borderWidth").toDouble());
    writer->writeTextElement(QStringLiteral("hasBorder"),
                             qint32(rootProperty("hasBorder").toBool() ? 1 : 0));
    writer->writeEndElement(m_typeName);
    return true;
}

QWidget *WFrame::createPropertiesDialog(QWidget *)
{
    return nullptr;
}
