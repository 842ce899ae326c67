#pragma once

#include "commands/BCommand.h"

#include <QList>

#include <memory>

// The model's one pointer tool: it keeps the selection and turns every
// pointer and key gesture of the canvas into one short-lived command, which
// it hands to the processor when the gesture ends. Never recorded itself.
class BToolSelectCommand : public BCommand
{
public:
    BToolSelectCommand();
    ~BToolSelectCommand() override;

    void prepare() override;
    // 0 marks the selection selected; 1 ends any gesture, then unselects it.
    void execute(int code) override;
    void keyEvent(int key, int modifiers, int code, bool repeat, int state) override;
    void pointerEvent(double x, double y, int edge, int code, int state) override;
    void setEditMode(bool on) override;
    // Without Shift, a control not yet selected becomes the only selected one.
    void selectControl(CControl *control) override;
    // Forgets the gesture in progress; the document is about to go.
    void clearSelection() override;
    QString text() const override;
    int id() const override;

    // The selection as the document marks it, in document order. Kept there
    // rather than in a list of its own, so it never names a control the
    // document has since deleted, nor one the model has unselected.
    QList<CControl *> selection() const;
    // The command of the gesture in progress; null between gestures.
    BCommand *activeTool() const { return m_pActive.get(); }

protected:
    // The command for a gesture's code; the factory's by default.
    virtual std::unique_ptr<BCommand> createTool(int code) const;

private:
    // Makes sure the command of the gesture with that code is active.
    bool begin(int code);
    // Hands the finished gesture to the processor.
    void finish(std::unique_ptr<BCommand> tool);
    // Ends a gesture whose end will not come (a press on empty canvas, a
    // hidden control, another gesture starting) as if it ended here.
    void endGesture();
    void unselectAll();

    std::unique_ptr<BCommand> m_pActive;
    int m_lastKey = 0;
    int m_lastEdge = -1;
};
