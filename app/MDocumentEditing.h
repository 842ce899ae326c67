#pragma once

#include <QList>
#include <QPointF>
#include <QString>

#include <memory>
#include <vector>

class CComposite;
class CControl;
class HNode;
class MModel;

// The model's editing of the document: collections and pages, and adding,
// creating and removing controls on the current panel.
class MDocumentEditing
{
public:
    explicit MDocumentEditing(MModel &model);

    CComposite *addCollection();
    CComposite *addPanel(HNode *node);
    void selectPanel(CComposite *panel);
    bool setPage(int index);
    bool stepPage(int offset);
    bool selectCollection(const QString &name);
    bool selectCollection(int index);
    void addControl(CControl *control);
    void addControls(const QList<CControl *> &controls);
    std::unique_ptr<CControl> removeControl(CControl *control, bool destroy);
    std::vector<std::unique_ptr<CControl>> removeControls(const QList<CControl *> &controls);
    void clearSelection();
    CControl *createNodeControl(HNode *node, const QString &parameter, const QPointF &point);
    CControl *createGraphicControl(const QString &label, const QPointF &point);
    CControl *createPanelLink(CComposite *target, const QPointF &point);

private:
    std::unique_ptr<CControl> takeOut(CControl *control, bool destroy);
    void afterRemoval();
    CControl *finishNewControl(CControl *control, bool bound);

    MModel &m;
};
