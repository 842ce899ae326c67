#pragma once

#include "controls/UPolygon.h"

#include <QColor>
#include <QPolygonF>
#include <QRectF>
#include <QSGRenderNode>
#include <QVector>

class QQuickWindow;

// A region's fill and outline for Qt Quick's software renderer, which draws
// no custom geometry: the same triangles and line loop the scene-graph nodes
// draw under OpenGL, painted with the renderer's own QPainter. The region
// hands it copies while the scene graph syncs.
class WRegionPaintNode : public QSGRenderNode
{
public:
    explicit WRegionPaintNode(QQuickWindow *window);
    ~WRegionPaintNode() override;

    // The fill as WGeometryNode would draw it for this contour.
    void setFill(const QVector<QPointF> &contour, UPolygon::FillMode fillMode);
    void setOutline(const QVector<QPointF> &vertices);
    void setColors(const QColor &fill, const QColor &outline);
    void setLineWidth(float width);

    void render(const RenderState *state) override;
    StateFlags changedStates() const override;
    RenderingFlags flags() const override;
    QRectF rect() const override;

private:
    void updateRect();

    QQuickWindow *m_pWindow;
    // Triangles (or one convex polygon) of the fill; empty draws nothing.
    QVector<QPolygonF> m_fill;
    QPolygonF m_outline;
    QColor m_fillColor;
    QColor m_outlineColor;
    float m_lineWidth = 1.0f;
    QRectF m_rect;
};
