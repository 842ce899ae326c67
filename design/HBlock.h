#pragma once

#include "design/HNode.h"

// A processing block of a processor (gain, selector, tone control).
class HBlock : public HNode
{
public:
    HBlock();
    ~HBlock() override;

    void readProperty(const QString &name, const QString &value) override;
    bool validate() override;
    QString category() const override;
};
