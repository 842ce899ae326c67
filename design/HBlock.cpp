#include "design/HBlock.h"

#include <QXmlStreamAttributes>

HBlock::HBlock() = default;

HBlock::~HBlock() = default;

void HBlock::readProperty(const QXmlStreamAttributes &attributes)
{
    const QString name = attributes.value(QLatin1String("name")).toString();
    if (name.startsWith(QLatin1String("name"))) {
        m_names += attributes.value(QLatin1String("value")).toString();
        m_names += QLatin1Char(',');
    }
    HNode::readProperty(attributes);
}

bool HBlock::validate()
{
    HNode::validate();
    // Only the block kinds a panel can drive are kept: those with a module
    // template, the echo canceller's telephone keypad among them.
    return m_title == QLatin1String("Gain") || m_title == QLatin1String("Selector") ||
           m_title == QLatin1String("ToneEQ") || m_title == QLatin1String("EchoCancel");
}

QString HBlock::category() const
{
    return tr("Blocks");
}
