#pragma once

#include "commands/BCommand.h"

#include <QPointF>
#include <QPointer>

class WRegion;

// Inserts or deletes one vertex of a region, from a single event.
class BToolVertexCommand : public BCommand
{
public:
    void redoCommand() override;
    void undoCommand() override;
    // x, y: the new vertex (insert); edge: the vertex index.
    void pointerEvent(double x, double y, int edge, int code, int state) override;

    WRegion *region() const;

protected:
    explicit BToolVertexCommand(bool inserts);

private:
    void insert();
    void remove();

    const bool m_inserts;
    QPointer<WRegion> m_pRegion;
    int m_index = -1;
    // On the canvas, so it stays right when the region shifts its origin.
    QPointF m_point;
};

class BToolDeleteVertexCommand : public BToolVertexCommand
{
public:
    BToolDeleteVertexCommand() : BToolVertexCommand(false) {}
    QString text() const override;
    int id() const override;
};

class BToolInsertVertexCommand : public BToolVertexCommand
{
public:
    BToolInsertVertexCommand() : BToolVertexCommand(true) {}
    QString text() const override;
    int id() const override;
};
