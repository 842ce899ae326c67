#pragma once

#include "design/HNode.h"

// A design parameter set (a stored scene of the DSP); it hangs under the
// main processor. The first set shown also offers the list of all sets.
class HParameterSet : public HNode
{
public:
    HParameterSet();
    ~HParameterSet() override;

    bool validate() override;
    void addRows(HTreeRows &rows) override;
    void clearText(QString &text) override;
    bool confirmDrop(const QString &parameterName) override;
    HNode *chooseParent(HNode *main, HNode *current) override;
    QString templatePath(const QString &parameterName) override;
    QString platformDirectory() const override;
    QString category() const override;
    QStandardItem *findTreeItem(const HTreeRows &rows) const override;

    // Text of the parameter that stands for the list of all sets.
    static QString listText();

private:
    CParameter *findParameter(const QString &text) const;
};
