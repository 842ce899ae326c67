#pragma once

#include "app/KController.h"

#include <QPointer>

#include "views/VModel.h"
#include "views/VTree.h"

// The "Project" page: the tree of what can be dragged onto the canvas,
// rebuilt when the document or the design changes.
class KTreeController : public KController
{
    Q_OBJECT
public:
    KTreeController(MModel *model, QWidget *page);
    ~KTreeController() override;

    void setGeometry(const QRect &rect) override;
    void setEditMode(bool on) override;
    void clear() override;
    void rebuild() override;
    void setTitle(const QString &title) override;
    void update(int hint) override;
    void itemDoubleClicked(QMouseEvent *event) override;
    int type() const override;

    VTree *tree() const { return m_pTree; }
    VModel *items() const { return m_pItems; }

private:
    QPointer<VTree> m_pTree;
    QPointer<VModel> m_pItems;
};
