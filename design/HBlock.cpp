#include "design/HBlock.h"

HBlock::HBlock() = default;

HBlock::~HBlock() = default;

void HBlock::readProperty(const QString &name, const QString &value)
{
    if (name.startsWith(QLatin1String("name"))) {
        m_names += value;
        m_names += QLatin1Char(',');
    }
    HNode::readProperty(name, value);
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
