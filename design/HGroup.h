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

    void readProperty(const QXmlStreamAttributes &attributes) override;
    void readAssignment(const QXmlStreamAttributes &attributes) override;
    bool validate() override;
    void dump() const override;
    HNode *chooseParent(HNode *main, HNode *current) override;
    QString platformDirectory() const override;
    QString category() const override;
    QStandardItem *findTreeItem(QStandardItemModel *model) override;

    QString groupType() const { return m_groupType; }
    void setGroupType(const QString &type) { m_groupType = type; }
    int targetId() const { return m_targetId; }
    const QStringList &selectorNames() const { return m_selectorNames; }

    // The single row carrying the text; null when there is none or several.
    static QStandardItem *findSingleRow(QStandardItemModel *model, const QString &text);

private:
    QString m_groupType;
    int m_targetId = 0;
    QStringList m_selectorNames;
};
