#include "commands/BControlList.h"

#include "app/MModel.h"
#include "document/CComposite.h"
#include "document/CItem.h"

#include <algorithm>

BControlList::BControlList() = default;

BControlList::~BControlList() = default;

QList<CControl *> BControlList::selection(MModel *model)
{
    QList<CControl *> selected;
    if (!model || !model->documentRoot())
        return selected;
    model->documentRoot()->collectSelected(selected);
    QList<CControl *> list;
    for (CControl *control : qAsConst(selected)) {
        if (!list.contains(control))
            list.append(control);
        for (CItem *item : control->items()) {
            CControl *held = item->child();
            if (held && !list.contains(held) && !selected.contains(held))
                list.append(held);
        }
    }
    return list;
}

void BControlList::setPlaced(const QList<CControl *> &controls)
{
    m_owned.clear();
    m_places.clear();
    for (CControl *control : controls) {
        CComposite *composite = control->parent();
        m_places.append({control, composite, composite ? composite->indexOf(control) : -1});
    }
}

void BControlList::setLoose(std::vector<std::unique_ptr<CControl>> controls, CComposite *composite)
{
    m_places.clear();
    m_owned = std::move(controls);
    for (const std::unique_ptr<CControl> &control : m_owned)
        m_places.append({control.get(), composite, -1});
}

void BControlList::adopt(std::unique_ptr<CControl> control, CComposite *composite, int index)
{
    m_places.clear();
    m_owned.clear();
    if (!control)
        return;
    m_places.append({control.get(), composite, index});
    m_owned.push_back(std::move(control));
}

QList<CControl *> BControlList::controls() const
{
    QList<CControl *> list;
    for (const Place &place : m_places) {
        if (place.control)
            list.append(place.control);
    }
    return list;
}

void BControlList::takeOut(MModel *model)
{
    if (!model || ownsControls())
        return;
    QList<CControl *> present;
    for (Place &place : m_places) {
        // Found by address only: a control someone else removed may be gone.
        place.index = place.composite ? place.composite->indexOf(place.control) : -1;
        if (place.index < 0)
            place.control = nullptr;
        else
            present.append(place.control);
    }
    if (present.isEmpty())
        return;
    // The pointer tool must not keep controls that leave the document.
    model->resetPointerTool();
    for (std::unique_ptr<CControl> &removed : model->removeControls(present))
        m_owned.push_back(std::move(removed));
}

void BControlList::putBack(MModel *model)
{
    if (!model || !ownsControls())
        return;
    // The composites own them again.
    for (std::unique_ptr<CControl> &owned : m_owned)
        owned.release();
    m_owned.clear();

    QVector<Place> places;
    for (const Place &place : qAsConst(m_places)) {
        if (place.control && place.composite)
            places.append(place);
    }
    for (const Place &place : qAsConst(places))
        place.composite->addChild(place.control);
    // Ascending, each lands where it was once those before it are back.
    std::stable_sort(places.begin(), places.end(),
                     [](const Place &a, const Place &b) { return a.index < b.index; });
    for (const Place &place : qAsConst(places)) {
        if (place.index >= 0)
            place.composite->reorderChildren({{place.control, place.index}});
    }
    for (const Place &place : qAsConst(places))
        place.control->show(place.composite == model->currentPanel());

    model->setModified(true);
    if (model->documentRoot()->transformCount() > 0)
        emit model->enableConnection(true);
    model->refreshCanvasController();
}

void BControlList::select(MModel *model) const
{
    if (!model)
        return;
    model->resetPointerTool();
    model->clearSelection();
    int keys = Qt::NoModifier;
    for (CControl *control : controls()) {
        model->selectWithPointerTool(control, keys);
        control->setSelected(1);
        keys = Qt::ShiftModifier;
    }
}
