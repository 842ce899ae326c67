#pragma once

#include "design/HComposite.h"

// Root of the imported design: its children are the chassis.
class HRoot : public HComposite
{
public:
    HRoot();
    ~HRoot() override;

    void addRows(HTreeRows &rows) override;
    QString category() const override;
};
