#pragma once

#include <QString>
#include <Qt>

class CComposite;
class CControl;
class MModel;
class MQmlInterface;

// Base of every edit: created by code, given the model, prepared, then run and
// filed by the command processor according to its undo mode. A command that
// finds nothing to act on makes itself Transient while it runs.
class BCommand
{
public:
    enum UndoMode : unsigned int
    {
        Transient = 0,    // run, then deleted
        Recorded = 1,     // kept for undo
        ClearsHistory = 2 // run, then both lists are cleared and it is deleted
        // any other value: run only, and handed back to the creator
    };

    enum State
    {
        New = 0,
        Done = 1,
        Undone = 2
    };

    explicit BCommand(unsigned int undoMode = Recorded);
    virtual ~BCommand();

    virtual void redoCommand();
    virtual void undoCommand();
    virtual void prepare();
    virtual void execute(int code);
    virtual void keyEvent(int key, int modifiers, int code, bool repeat, int state);
    virtual void pointerEvent(double x, double y, int edge, int code, int state);
    virtual void setEditMode(bool on);
    virtual void selectControl(CControl *control);
    virtual void clearSelection();
    virtual QString description() const;
    virtual void dump() const;
    virtual QString text() const;
    virtual int id() const;

    unsigned int undoMode() const { return m_undoMode; }
    void setUndoMode(unsigned int mode) { m_undoMode = mode; }
    int state() const { return m_state; }
    void setState(int state) { m_state = state; }
    bool editMode() const { return m_editMode; }
    Qt::KeyboardModifiers modifiers() const { return m_modifiers; }
    void setModifiers(Qt::KeyboardModifiers modifiers) { m_modifiers = modifiers; }
    MModel *model() const { return m_pModel; }
    void setModel(MModel *model) { m_pModel = model; }
    MQmlInterface *dropData() const { return m_pDropData; }
    void setDropData(MQmlInterface *dropData) { m_pDropData = dropData; }
    CComposite *panel() const { return m_pPanel; }
    CControl *targetControl() const { return m_pTargetControl; }
    void setTargetControl(CControl *control) { m_pTargetControl = control; }
    QString collectionName() const { return m_collectionName; }

protected:
    // Makes the collection and panel this command was made in current again.
    void reselect();

    unsigned int m_undoMode = Recorded;
    int m_state = New;
    bool m_editMode = false;
    Qt::KeyboardModifiers m_modifiers = Qt::NoModifier;
    MModel *m_pModel = nullptr;
    MQmlInterface *m_pDropData = nullptr;
    CComposite *m_pPanel = nullptr;
    CControl *m_pTargetControl = nullptr;
    QString m_collectionName;
};
