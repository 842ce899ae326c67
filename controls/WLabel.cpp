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

bool WLabel::needsRichText(const QString &text)
{
    return text.contains(QLatin1Char('<')) || text.contains(QLatin1Char('&')) ||
           text != text.simplified();
}

void WLabel::showText(const QString &text)
{
    // Rich text costs a document and its layout per label; most labels are
    // a few plain words.
    setRootProperty("textFormat", int(needsRichText(text) ? Qt::RichText : Qt::PlainText));
    setRootText(text);
}

QString WLabel::wrapInFace(const QString &text, const QString &face)
{
    int flag = 0;
    if (face == QLatin1String("bold"))
        flag = Bold;
    else if (face == QLatin1String("italic"))
        flag = Italic;
    else if (face == QLatin1String("underline"))
        flag = Underline;
    if (!flag)
        return text;
    m_flags |= flag;
    const QString tag = face.left(1);
    return QLatin1Char('<') + tag + QLatin1Char('>') + text + QStringLiteral("</") + tag +
           QLatin1Char('>');
}

void WLabel::loadAttributes(const QVector<CItemRecord::Value> &values)
{
    if (!m_pRoot)
        return;
    // The text and its faces are gathered and shown once, after every other
    // value: each value that touches a shown text lays it out again.
    QString text = rootText();
    bool textChanged = false;
    for (const CItemRecord::Value &value : values) {
        if (value.text.isEmpty())
            continue;
        if (value.name == QLatin1String("text") || value.name == QLatin1String("title")) {
            text = value.text;
            textChanged = true;
        } else if (value.name == QLatin1String("face")) {
            // Wraps the text read so far, so "face" must follow "text".
            const QString wrapped = wrapInFace(text, value.text);
            textChanged = textChanged || wrapped != text;
            text = wrapped;
        } else {
            loadAttribute(value.name, value.text);
        }
    }
    if (textChanged)
        showText(text);
}

bool WLabel::loadLabelValue(const QString &name, const QString &value)
{
    if (name == QLatin1String("text")) {
        showText(value);
    } else if (name == QLatin1String("align")) {
        setAlignmentName(value);
    } else if (name == QLatin1String("color")) {
        setColor("textColor", value);
    } else if (name == QLatin1String("face")) {
        // Wraps the text read so far, so "face" must follow "text".
        const QString text = rootText();
        const QString wrapped = wrapInFace(text, value);
        if (wrapped != text)
            showText(wrapped);
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
    showText(wrapInFaces(title));
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
