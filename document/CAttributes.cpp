#include "document/CAttributes.h"

#include "design/HNode.h"
#include "device/TTransform.h"
#include "document/CComposite.h"
#include "document/io/XmlWriter.h"

namespace {
int toInt(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : 0;
}

float toFloat(const QString &text)
{
    bool ok = false;
    const float value = text.toFloat(&ok);
    return ok ? value : 0.0f;
}
} // namespace

CAttributes::CAttributes(CControl *owner) : m_pOwner(owner) {}

CAttributes::~CAttributes() = default;

quint32 CAttributes::parseEitherBase(const QString &text)
{
    bool ok = false;
    quint32 value = 0;
    if (text.startsWith(QLatin1String("0x")))
        value = text.mid(2).toUInt(&ok, 16);
    else
        value = text.toUInt(&ok, 10);
    return ok ? value : 0;
}

int CAttributes::decimalsFromFormat(const QString &format)
{
    const int dot = format.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return 0;
    return format.length() - dot - 1;
}

bool CAttributes::setValue(const QString &kind, const QString &key, const QString &text)
{
    if (m_kind.isEmpty())
        m_kind = kind;

    if (key == QLatin1String("index1")) {
        m_index1 = toInt(text);
    } else if (key == QLatin1String("index2")) {
        m_index2 = toInt(text);
    } else if (key == QLatin1String("link")) {
        m_link = parseEitherBase(text);
    } else if (key == QLatin1String("set")) {
        m_set = text;
    } else if (key == QLatin1String("format")) {
        m_format = text;
    } else if (key == QLatin1String("units")) {
        m_units = text;
    } else if (key == QLatin1String("minimum")) {
        m_minimum = toFloat(text);
    } else if (key == QLatin1String("maximum")) {
        m_maximum = toFloat(text);
    } else if (key == QLatin1String("step")) {
        m_step = toFloat(text);
    } else if (key == QLatin1String("transform")) {
        m_transform = text;
    } else if (key == QLatin1String("field")) {
        m_field = parseEitherBase(text);
    } else if (key == QLatin1String("struct")) {
        m_struct = parseEitherBase(text);
    } else if (key == QLatin1String("minLimit")) {
        m_minLimit = toFloat(text);
    } else if (key == QLatin1String("maxLimit")) {
        m_maxLimit = toFloat(text);
    } else if (key == QLatin1String("enableEdit")) {
        bool ok = false;
        const uint value = text.toUInt(&ok);
        m_enableEdit = ok && value != 0;
    } else if (key == QLatin1String("channelLabel")) {
        takeChannelLabel(text);
    }
    return true;
}

void CAttributes::takeChannelLabel(const QString &text)
{
    if (text.length() >= 2) {
        m_channelLabel = text;
        return;
    }
    // A placeholder such as "?" asks for the label the design gives the channel.
    HNode *block = m_pOwner ? m_pOwner->block() : nullptr;
    if (block)
        m_channelLabel = block->channelLabel(m_index1 - 1);
}

void CAttributes::finishLoading()
{
    m_decimals = decimalsFromFormat(m_format);
}

void CAttributes::setDecimals(int decimals)
{
    m_decimals = decimals;
    if (m_pOwner && m_pOwner->transform())
        m_pOwner->transform()->configure();
}

bool CAttributes::write(XmlWriter *writer) const
{
    if (!writer)
        return false;
    const bool isList = m_kind == QLatin1String("list");
    const bool isRange = m_kind == QLatin1String("range");
    if (!isList && !isRange)
        return false;

    writer->writeStartElement(m_kind);
    if (m_index1 > 0)
        writer->writeTextElement(QStringLiteral("index1"), qint32(m_index1));
    if (m_index2 > 0)
        writer->writeTextElement(QStringLiteral("index2"), qint32(m_index2));
    if (m_struct != 0)
        writer->writeTextElement(QStringLiteral("struct"), quint32(m_struct));
    writer->writeTextElement(QStringLiteral("enableEdit"), qint32(m_enableEdit ? 1 : 0));
    if (isList) {
        writer->writeTextElement(QStringLiteral("set"), m_set);
        writer->writeTextElement(QStringLiteral("format"), m_format);
        writer->writeTextElement(QStringLiteral("transform"), m_transform);
    } else {
        writer->writeTextElement(QStringLiteral("minimum"), m_minimum);
        writer->writeTextElement(QStringLiteral("minLimit"), m_minLimit);
        writer->writeTextElement(QStringLiteral("maximum"), m_maximum);
        writer->writeTextElement(QStringLiteral("maxLimit"), m_maxLimit);
        writer->writeTextElement(QStringLiteral("step"), m_step);
        writer->writeTextElement(QStringLiteral("units"), m_units);
        writer->writeTextElement(QStringLiteral("format"), m_format);
        writer->writeTextElement(QStringLiteral("transform"), m_transform);
    }
    if (!m_channelLabel.isEmpty())
        writer->writeTextElement(QStringLiteral("channelLabel"), m_channelLabel);
    writer->writeEndElement(m_kind);
    return true;
}

TTransform *CAttributes::linkedTransform() const
{
    if (!m_pOwner || m_link == 0)
        return nullptr;
    CControl *root = m_pOwner;
    while (root->parent())
        root = root->parent();
    CControl *target = root->findById(m_link);
    return target ? target->transform() : nullptr;
}
