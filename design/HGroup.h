#pragma once

#include "design/HNode.h"

#include <QStringList>

// A design group (level, mute, level and mute, or selector); it hangs under
// the main processor.
class HGroup : public HNode
{
public:
    HGroup();
    ~HGroup() override;

    void readProperty(const QString &name, const QString &value) override;
    void readAssignment(const QXmlStreamAttributes &attributes) override;
    bool validate() override;
    void dump() const override;
    HNode *chooseParent(HNode *main, HNode *current) override;
    QString platformDirectory() const override;
    QString category() const override;
    QStandardItem *findTreeItem(const HTreeRows &rows) const override;

    QString groupType() const { return m_groupType; }
    void setGroupType(const QString &type) { m_groupType = type; }
    int targetId() const { return m_targetId; }
    const QStringList &selectorNames() const { return m_selectorNames; }

private:
    QString m_groupType;
    int m_targetId = 0;
    QStringList m_selectorNames;
};
