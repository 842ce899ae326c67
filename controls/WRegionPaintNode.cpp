#include "controls/WRegionPaintNode.h"

#include "controls/WGeometryNode.h"

#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QSGGeometry>
#include <QSGRendererInterface>

#include <cmath>

WRegionPaintNode::WRegionPaintNode(QQuickWindow *window) : m_pWindow(window) {}

WRegionPaintNode::~WRegionPaintNode() = default;

void WRegionPaintNode::setFill(const QVector<QPointF> &contour, UPolygon::FillMode fillMode)
{
    QVector<QPointF> vertices;
    const unsigned int mode =
        WGeometryNode::buildVertices(WGeometryNode::Fill, fillMode, contour, &vertices);
    m_fill.clear();
    if (mode == QSGGeometry::DrawTriangleFan && vertices.size() >= 3) {
        m_fill << QPolygonF(vertices);
    } else if (mode == QSGGeometry::DrawTriangles) {
        for (int i = 0; i + 2 < vertices.size(); i += 3)
            m_fill << QPolygonF({vertices.at(i), vertices.at(i + 1), vertices.at(i + 2)});
    }
    markDirty(QSGNode::DirtyMaterial);
}

void WRegionPaintNode::setOutline(const QVector<QPointF> &vertices)
{
    QVector<QPointF> loop;
    WGeometryNode::buildVertices(WGeometryNode::Outline, UPolygon::Convex, vertices, &loop);
    m_outline = QPolygonF(loop);
    updateRect();
    markDirty(QSGNode::DirtyMaterial);
}

void WRegionPaintNode::setColors(const QColor &fill, const QColor &outline)
{
    m_fillColor = fill;
    m_outlineColor = outline;
    markDirty(QSGNode::DirtyMaterial);
}

void WRegionPaintNode::setLineWidth(float width)
{
    m_lineWidth = width;
    updateRect();
    markDirty(QSGNode::DirtyMaterial);
}

void WRegionPaintNode::updateRect()
{
    // The outline reaches half its width beyond the vertices, and a pixel
    // more where a cosmetic pen rounds outwards.
    const double reach = std::ceil(qMax(1.0f, m_lineWidth) / 2.0) + 1.0;
    m_rect = m_outline.boundingRect().adjusted(-reach, -reach, reach, reach);
}

void WRegionPaintNode::render(const RenderState *state)
{
    QSGRendererInterface *renderer = m_pWindow ? m_pWindow->rendererInterface() : nullptr;
    auto *painter = renderer ? static_cast<QPainter *>(renderer->getResource(
                                   m_pWindow, QSGRendererInterface::PainterResource))
                             : nullptr;
    if (!painter || !matrix())
        return;
    // The clip is in window coordinates, so it goes before the transform.
    const QRegion *clip = state ? state->clipRegion() : nullptr;
    if (clip && !clip->isEmpty())
        painter->setClipRegion(*clip, Qt::ReplaceClip);
    painter->setTransform(matrix()->toTransform());
    painter->setOpacity(inheritedOpacity());
    // Aliased like the OpenGL geometry, which has no multisampling.
    painter->setRenderHint(QPainter::Antialiasing, false);
    if (!m_fill.isEmpty()) {
        // One path, so a translucent colour is laid once where triangles meet.
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (const QPolygonF &piece : qAsConst(m_fill))
            path.addPolygon(piece);
        painter->fillPath(path, m_fillColor);
    }
    if (m_outline.size() >= 2) {
        // Line widths are in pixels, as OpenGL's are, whatever the transform.
        QPen pen(m_outlineColor, qreal(m_lineWidth), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        pen.setCosmetic(true);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawPolygon(m_outline);
    }
}

QSGRenderNode::StateFlags WRegionPaintNode::changedStates() const
{
    return {};
}

QSGRenderNode::RenderingFlags WRegionPaintNode::flags() const
{
    return BoundedRectRendering;
}

QRectF WRegionPaintNode::rect() const
{
    return m_rect;
}
