#pragma once

#include "commands/BCommand.h"

#include <QList>

// Changes where the selected controls of the current panel stack among its
// children (the first child lowest); the base of the four z-order commands.
// With nothing selected it runs once, changes nothing and is not recorded.
class BLayoutOrderCommand : public BCommand
{
public:
    void prepare() override;
    void redoCommand() override;
    void undoCommand() override;

protected:
    BLayoutOrderCommand() = default;
    // Reorders the panel's children; the redo after the base re-selection.
    virtual void reorder() = 0;
    // Takes each control out and puts it back at index.
    void moveAll(const QList<CControl *> &controls, int index);
    // Each control alone, to its stacking position then plus shift.
    void moveEach(int shift);

    QList<CControl *> m_selection;
    // Each selected control's index among the panel's children; -1 when it
    // is not one of them.
    QList<int> m_positions;

private:
    // The panel's items stack as its children are ordered.
    void restack();

    // The panel's whole child order before the first run: undo puts it back
    // exactly, however the moves interleaved.
    QList<CControl *> m_order;
};

class BLayoutFrontCommand : public BLayoutOrderCommand
{
public:
    QString text() const override;
    int id() const override;

protected:
    void reorder() override;
};

class BLayoutForwardCommand : public BLayoutOrderCommand
{
public:
    QString text() const override;
    int id() const override;

protected:
    void reorder() override;
};

// Never below the panel's first child, which is its backdrop.
class BLayoutBackCommand : public BLayoutOrderCommand
{
public:
    QString text() const override;
    int id() const override;

protected:
    void reorder() override;
};

class BLayoutBackwardCommand : public BLayoutOrderCommand
{
public:
    QString text() const override;
    int id() const override;

protected:
    void reorder() override;
};
