#pragma once

#include "commands/BAlignCommand.h"

// Spaces the selected controls' centres evenly between the outermost two,
// across (by x) or down (by y); fewer than three controls stay put.
class BLayoutSpaceAcrossCommand : public BAlignCommand
{
public:
    QString text() const override;
    int id() const override;

protected:
    void arrange() override;
};

class BLayoutSpaceDownCommand : public BAlignCommand
{
public:
    QString text() const override;
    int id() const override;

protected:
    void arrange() override;
};
