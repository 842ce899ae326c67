#pragma once

#include "commands/BCommand.h"

#include <QList>
#include <QRectF>

#include <optional>

// Aligns the selected controls of the current panel by an edge or a centre
// of the selection's rectangle; the base of the align and distribute
// commands. The selection and its rectangles are taken when it is prepared;
// with nothing selected it runs once, changes nothing and is not recorded.
class BAlignCommand : public BCommand
{
public:
    BAlignCommand();

    void prepare() override;
    void redoCommand() override;
    void undoCommand() override;
    QString text() const override;

    int alignment() const { return m_alignment; }
    const QList<CControl *> &selection() const { return m_selection; }
    // The keys the centre alignments consult; read from the application on
    // the first run unless given before it.
    void setKeyModifiers(Qt::KeyboardModifiers keys) { m_keys = keys; }

    // How far c moves to line up with r by the alignment's edges and centres.
    static QPointF offset(const QRectF &c, const QRectF &r, int alignment);

protected:
    // Moves the selection; the redo after the base re-selection.
    virtual void arrange();
    // A "bounds" control's rectangle when one is selected, else the union.
    QRectF selectionRect() const;
    Qt::KeyboardModifiers keyModifiers();
    // Moves the selection as one block to the canvas's centre line.
    void centreOnCanvas();

    int m_alignment = Qt::AlignHCenter | Qt::AlignVCenter;

private:
    QList<CControl *> m_selection;
    std::optional<Qt::KeyboardModifiers> m_keys;
    QList<QRectF> m_saved;
};

class BAlignLeftCommand : public BAlignCommand
{
public:
    BAlignLeftCommand() { m_alignment = Qt::AlignLeft; }
    QString text() const override;
    int id() const override;
};

class BAlignRightCommand : public BAlignCommand
{
public:
    BAlignRightCommand() { m_alignment = Qt::AlignRight; }
    QString text() const override;
    int id() const override;
};

class BAlignTopCommand : public BAlignCommand
{
public:
    BAlignTopCommand() { m_alignment = Qt::AlignTop; }
    QString text() const override;
    int id() const override;
};

class BAlignBottomCommand : public BAlignCommand
{
public:
    BAlignBottomCommand() { m_alignment = Qt::AlignBottom; }
    QString text() const override;
    int id() const override;
};

// With Shift held, centres the selection as a block on the canvas.
class BAlignHCenterCommand : public BAlignCommand
{
public:
    BAlignHCenterCommand() { m_alignment = Qt::AlignHCenter; }
    QString text() const override;
    int id() const override;

protected:
    void arrange() override;
};

// With exactly Shift held, centres the selection as a block on the canvas.
class BAlignVCenterCommand : public BAlignCommand
{
public:
    BAlignVCenterCommand() { m_alignment = Qt::AlignVCenter; }
    QString text() const override;
    int id() const override;

protected:
    void arrange() override;
};
