#pragma once

#include "controls/UPolygon.h"

#include <QColor>
#include <QSGFlatColorMaterial>
#include <QSGGeometry>
#include <QSGGeometryNode>

// One drawing of a region's polygon in the scene graph: its filled area or
// its outline, in one flat colour. The region hands it a copy of the polygon
// while the scene graph syncs; the node rebuilds its vertices from that copy
// before the next frame is rendered, on the render thread.
class WGeometryNode : public QSGGeometryNode
{
public:
    // The drawing mode of the polygon as it stands: a fan for a convex fill,
    // a line loop for the outline.
    enum Kind : unsigned int
    {
        Outline = QSGGeometry::DrawLineLoop,
        Fill = QSGGeometry::DrawTriangleFan,
    };

    explicit WGeometryNode(Kind kind);
    ~WGeometryNode() override;

    Kind kind() const { return m_kind; }
    void setContour(const QVector<QPointF> &contour, UPolygon::FillMode fillMode);
    void setColor(const QColor &color);
    void setLineWidth(float width);
    void preprocess() override;

    // What a node of the kind draws for the contour: answers the drawing
    // mode and fills the vertices. A fill that cannot be triangulated, or
    // would need more vertices than 16-bit indices address, draws nothing.
    static unsigned int buildVertices(Kind kind, UPolygon::FillMode fillMode,
                                      const QVector<QPointF> &contour, QVector<QPointF> *vertices);

private:
    Kind m_kind;
    QSGGeometry m_geometry;
    QSGFlatColorMaterial m_material;
    QVector<QPointF> m_contour;
    UPolygon::FillMode m_fillMode = UPolygon::Convex;
    bool m_pending = false;
};
