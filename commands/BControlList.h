#pragma once

#include <QList>
#include <QVector>

#include <memory>
#include <vector>

class CComposite;
class CControl;
class MModel;

// The controls (or panels) an edit takes out of the document and puts back,
// each with the composite and position it belongs at. It owns them exactly
// while they are out, so they die with the command that took them out.
class BControlList
{
public:
    BControlList();
    ~BControlList();
    BControlList(const BControlList &) = delete;
    BControlList &operator=(const BControlList &) = delete;

    // The selected controls of the model's document in document order, each
    // drop site followed by the control it holds, which goes where it goes.
    static QList<CControl *> selection(MModel *model);

    // Controls that are in the document now, in the order given.
    void setPlaced(const QList<CControl *> &controls);
    // Controls outside the document, owned from now on, bound for the end of
    // composite.
    void setLoose(std::vector<std::unique_ptr<CControl>> controls, CComposite *composite);

    // One control someone else just took out of composite at index: owned
    // from now on, and put back there.
    void adopt(std::unique_ptr<CControl> control, CComposite *composite, int index);

    QList<CControl *> controls() const;
    bool isEmpty() const { return m_places.isEmpty(); }
    bool ownsControls() const { return !m_owned.empty(); }

    // Takes the controls out through the model and keeps them. A control no
    // longer in its composite (removed by someone else) is left alone.
    void takeOut(MModel *model);
    // Puts every control back where it was, in order; the document owns them
    // again. Those in the current panel are shown.
    void putBack(MModel *model);
    // Makes these the selection, through the pointer tool when there is one.
    void select(MModel *model) const;

private:
    struct Place
    {
        CControl *control;
        CComposite *composite;
        // -1: the end, for controls that were never in it.
        int index;
    };

    QVector<Place> m_places;
    std::vector<std::unique_ptr<CControl>> m_owned;
};
