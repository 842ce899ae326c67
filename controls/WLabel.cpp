#include "controls/WLabel.h"

#include "document/io/XmlWriter.h"

#include <QRegularExpression>

namespace {
// Text.horizontalAlignment values of the QML root.
constexpr int AlignLeft = Qt::AlignLeft;
constexpr int AlignRight = Qt::AlignRight;
constexpr int AlignCenter = Qt::AlignHCenter;

bool isTrue(const QString &value)
{
    return value == QLatin1String("true");
}
} // namespace

WLabel::WLabel(QQuickItem *parent) : WWidget(parent) {}

WLabel::~WLabel() = default;

void WLabel::properties() {}

QString WLabel::wrapInFaces(const QString &text) const
{
    QString result = text;
    if (m_flags & Bold)
        result = QStringLiteral("<b>") + result + QStringLiteral("</b>");
    if (m_flags & Italic)
        result = QStringLiteral("<i>") + result + QStringLiteral("</i>");
    if (m_flags & Underline)
        result = QStringLiteral("<u>") + result + QStringLiteral("</u>");
    return result;
}

QString WLabel::plainText() const
{
    // Only the tags wrapped around the whole text come off; a "<" inside the
    // user's text is kept.
    static const QRegularExpression leading(QStringLiteral("^(<[^<>]*>)+"));
    static const QRegularExpression trailing(QStringLiteral("(</[^<>]*>)+$"));
    QString text = rootText();
    text.remove(leading);
    text.remove(trailing);
    return text;
}

QString WLabel::alignmentName() const
{
    const int alignment = rootProperty("horizontalAlignment").toInt();
    if (alignment == AlignCenter)
        return QStringLiteral("center");
    if (alignment == AlignRight)
        return QStringLiteral("right");
    return QStringLiteral("left");
}

void WLabel::setAlignmentName(const QString &name)
{
    const QString lower = name.toLower();
    int alignment = AlignLeft;
    if (lower == QLatin1String("center"))
        alignment = AlignCenter;
    else if (lower == QLatin1String("right"))
        alignment = AlignRight;
    setRootProperty("horizontalAlignment", alignment);
}

QString WLabel::textScaleText() const
{
    QString text = QString::number(rootProperty("textScale").toDouble(), 'g', 6);
    if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')))
        text += QStringLiteral(".0");
    return text;
}

bool WLabel::loadLabelValue(const QString &name, const QString &value)
{
    if (name == QLatin1String("text")) {
        setRootProperty("textFormat", int(Qt::RichText));
        setRootText(value);
    } else if (name == QLatin1String("align")) {
        setAlignmentName(value);
    } else if (name == QLatin1String("color")) {
        setColor("textColor", value);
    } else if (name == QLatin1String("face")) {
        // Wraps the text read so far, so "face" must follow "text".
        int flag = 0;
        if (value == QLatin1String("bold"))
            flag = Bold;
        else if (value == QLatin1String("italic"))
            flag = Italic;
        else if (value == QLatin1String("underline"))
            flag = Underline;
        if (!flag)
            return true;
        const QString tag = value.left(1);
        setRootText(QLatin1Char('<') + tag + QLatin1Char('>') + rootText() + QStringLiteral("</") +
                    tag + QLatin1Char('>'));
        m_flags |= flag;
    } else if (name == QLatin1String("rotation")) {
        bool ok = false;
        const double rotation = value.toDouble(&ok);
        if (ok)
            setRootProperty("rotation", rotation);
        m_flags |= Rotation;
    } else if (name == QLatin1String("scale")) {
        bool ok = false;
        const double scale = value.toDouble(&ok);
        if (ok)
            setRootProperty("textScale", scale);
        m_flags |= Scale;
    } else if (name == QLatin1String("edit")) {
        setRootProperty("enableEdit", isTrue(value));
        m_flags |= Edit;
    } else if (name == QLatin1String("select")) {
        setRootProperty("selEnable", isTrue(value));
        m_flags |= Select;
    } else if (name == QLatin1String("autosize")) {
        setRootProperty("autoSize", isTrue(value));
        m_flags |= AutoSize;
    } else {
        return false;
    }
    return true;
}

bool WLabel::loadAttribute(const QString &name, const QString &value)
{
    if (!m_pRoot)
        return false;
    // Labels carry no id or link of their own.
    if (name == QLatin1String("id") || name == QLatin1String("link"))
        return true;
    if (WWidget::loadAttribute(name, value))
        return true;
    return loadLabelValue(name, value);
}

void WLabel::writeFaces(XmlWriter *writer) const
{
    if (m_flags & Bold)
        writer->writeTextElement(QStringLiteral("face"), QStringLiteral("bold"));
    else if (m_flags & Italic)
        writer->writeTextElement(QStringLiteral("face"), QStringLiteral("italic"));
    if (m_flags & Underline)
        writer->writeTextElement(QStringLiteral("face"), QStringLiteral("underline"));
}

bool WLabel::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    writer->writeTextElement(QStringLiteral("text"), plainText());
    writer->writeTextElement(QStringLiteral("align"), alignmentName());
    writer->writeTextElement(QStringLiteral("color"), colorName("textColor"));
    writeFaces(writer);
    if (m_flags & Rotation)
        writer->writeTextElement(QStringLiteral("rotation"), rootProperty("rotation").toDouble());
    if (m_flags & Scale)
        writer->writeTextElement(QStringLiteral("scale"), rootProperty("textScale").toDouble());
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

void WLabel::setTitle(const QString &title)
{
    // A new title keeps the faces the label was given.
    setRootProperty("textFormat", int(Qt::RichText));
    setRootText(wrapInFaces(title));
}

QWidget *WLabel::createPropertiesDialog(QWidget *)
{
    return nullptr;
}

QVariant WLabel::attribute(uint id) const
{
    switch (id) {
    case 0x4100: {
        const QString name = alignmentName();
        return QString(name.left(1).toUpper() + name.mid(1));
    }
    case 0x4101:
        return textScaleText();
    case 0x4005:
        return plainText();
    default:
        return WWidget::attribute(id);
    }
}

void WLabel::setAttribute(uint id, const QVariant &value)
{
    switch (id) {
    case 0x4100:
        setAlignmentName(value.toString());
        return;
    case 0x4101: {
        bool ok = false;
        const double scale = value.toString().toDouble(&ok);
        if (ok) {
            setRootProperty("textScale", scale);
            m_flags |= Scale;
        }
        return;
    }
    case 0x4005:
        setTitle(value.toString());
        return;
    default:
        WWidget::setAttribute(id, value);
    }
}
