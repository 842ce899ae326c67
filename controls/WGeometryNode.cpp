#include "controls/WGeometryNode.h"

#include "controls/UTesselator.h"

WGeometryNode::WGeometryNode(Kind kind)
    : m_kind(kind),
      m_geometry(QSGGeometry::defaultAttributes_Point2D(), 0, 0, QSGGeometry::UnsignedShortType)
{
    m_geometry.setDrawingMode(kind);
    setGeometry(&m_geometry);
    m_material.setFlag(QSGMaterial::Blending, true);
    setMaterial(&m_material);
    setFlag(QSGNode::UsePreprocess, true);
}

WGeometryNode::~WGeometryNode() = default;

void WGeometryNode::setContour(const QVector<QPointF> &contour, UPolygon::FillMode fillMode)
{
    m_contour = contour;
    m_fillMode = fillMode;
    m_pending = true;
}

void WGeometryNode::setColor(const QColor &color)
{
    m_material.setColor(color);
    // Colours with alpha are the rule on a canvas over pictures.
    m_material.setFlag(QSGMaterial::Blending, true);
    markDirty(QSGNode::DirtyMaterial);
}

void WGeometryNode::setLineWidth(float width)
{
    m_geometry.setLineWidth(width);
    markDirty(QSGNode::DirtyGeometry);
}

void WGeometryNode::preprocess()
{
    if (!m_pending)
        return;
    m_pending = false;
    QVector<QPointF> vertices;
    const unsigned int mode = buildVertices(m_kind, m_fillMode, m_contour, &vertices);
    // The storage follows the vertex count only.
    if (m_geometry.vertexCount() != vertices.size())
        m_geometry.allocate(vertices.size());
    m_geometry.setDrawingMode(mode);
    QSGGeometry::Point2D *points = m_geometry.vertexDataAsPoint2D();
    for (int i = 0; i < vertices.size(); ++i)
        points[i].set(float(vertices.at(i).x()), float(vertices.at(i).y()));
    markDirty(QSGNode::DirtyGeometry);
}

unsigned int WGeometryNode::buildVertices(Kind kind, UPolygon::FillMode fillMode,
                                          const QVector<QPointF> &contour,
                                          QVector<QPointF> *vertices)
{
    vertices->clear();
    const int count = contour.size();
    if (kind == Outline) {
        if (count >= 2 && count <= UPolygon::MaxDrawnVertices)
            *vertices = contour;
        return QSGGeometry::DrawLineLoop;
    }
    if (count < 3 || count > UPolygon::MaxFilledVertices)
        return QSGGeometry::DrawPoints;
    switch (fillMode) {
    case UPolygon::Convex:
        *vertices = contour;
        return QSGGeometry::DrawTriangleFan;
    case UPolygon::Concave:
        // A contour that is not simple is not filled at all rather than in part.
        if (!UTesselator::instance()->triangulate(contour, vertices))
            vertices->clear();
        return QSGGeometry::DrawTriangles;
    default:
        return QSGGeometry::DrawPoints;
    }
}
