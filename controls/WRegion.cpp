#include "controls/WRegion.h"

#include "app/MModel.h"
#include "app/UMessage.h"
#include "commands/BCommand.h"
#include "commands/BCommandFactory.h"
#include "controls/WDelegate.h"
#include "controls/WGeometryNode.h"
#include "controls/WRegionPaintNode.h"
#include "document/CItemRecord.h"
#include "document/io/XmlWriter.h"

#include <QDebug>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSGSimpleRectNode>

#include <cmath>

namespace {

// The mouse area reaches this far beyond the item, so handles on the
// boundary can be grabbed; its coordinates are larger by as much.
constexpr double Reach = 3.0;

QPointF clamped(double x, double y)
{
    const double limit = CItemRecord::MaxCoordinate;
    return QPointF(qBound(-limit, x, limit), qBound(-limit, y, limit));
}

bool finite(double x, double y)
{
    return std::isfinite(x) && std::isfinite(y);
}

} // namespace

WRegion::WRegion(QQuickItem *parent) : WWidget(parent) {}

WRegion::~WRegion() = default;

void WRegion::initWidget()
{
    setFlag(QQuickItem::ItemHasContents, true);
}

bool WRegion::loadAttribute(const QString &name, const QString &value)
{
    if (!m_pRoot)
        return false;
    // Regions take their position and size, but no id, link or fractions.
    if (name == QLatin1String("x") || name == QLatin1String("y") ||
        name == QLatin1String("width") || name == QLatin1String("height"))
        return WWidget::loadAttribute(name, value);
    if (name == QLatin1String("path")) {
        m_path = value;
        return true;
    }
    if (name == QLatin1String("fieldcolor")) {
        setColor("fieldColor", value);
        return true;
    }
    if (name == QLatin1String("bordercolor")) {
        setColor("borderColor", value);
        return true;
    }
    if (name == QLatin1String("borderwidth")) {
        bool ok = false;
        const double width = value.toDouble(&ok);
        if (ok && std::isfinite(width))
            setRootProperty("borderWidth", width);
        return true;
    }
    if (name == QLatin1String("polygon")) {
        m_vertices = UPolygon::parse(value);
        verticesChanged();
        // Once every value is read, before the first frame.
        m_normalisePending = true;
        polish();
        return true;
    }
    return false;
}

bool WRegion::writeXml(XmlWriter *writer)
{
    if (!writer || !m_pRoot)
        return false;
    writer->writeStartElement(m_typeName);
    WWidget::writeXml(writer);
    writer->writeTextElement(QStringLiteral("fieldcolor"), colorName("fieldColor"));
    writer->writeTextElement(QStringLiteral("bordercolor"), colorName("borderColor"));
    writer->writeTextElement(QStringLiteral("borderwidth"), rootProperty("borderWidth").toDouble());
    writer->writeTextElement(QStringLiteral("polygon"), UPolygon::format(m_vertices));
    writer->writeTextElement(QStringLiteral("path"), m_path);
    writer->writeEndElement(m_typeName);
    return true;
}

void WRegion::scale(float factor)
{
    // The item must fit the polygon before the polygon can follow the item.
    if (m_normalisePending)
        normalisePosition();
    WWidget::scale(factor);
    if (!m_pRoot || m_vertices.isEmpty())
        return;
    // The polygon follows the item's new width; a polygon without width (a
    // vertical line) takes the factor itself rather than a ratio to nothing.
    const double width = UPolygon::bounds(m_vertices).width();
    const double ratio = width >= 1.0 ? m_pRoot->width() / width : double(factor);
    if (!std::isfinite(ratio) || ratio <= 0.0)
        return;
    for (QPointF &p : m_vertices)
        p = clamped(p.x() * ratio, p.y() * ratio);
    verticesChanged();
}

void WRegion::setGeometry(double, double, double, double)
{
    const double step = 5.0 * (m_pModel ? m_pModel->pixelScale() : 1.0);
    if (!std::isfinite(step) || step <= 0.0)
        return;
    for (QPointF &p : m_vertices)
        p = QPointF(p.x() - float(std::fmod(p.x(), step)), p.y() - float(std::fmod(p.y(), step)));
    verticesChanged();
}

void WRegion::reshape(double x, double y, double index, double update, double, double)
{
    const bool repaint = update != 0.0;
    if (index >= 0.0 && index < m_vertices.size()) {
        if (!finite(x, y))
            return;
        QPointF &p = m_vertices[int(index)];
        const QPointF target = clamped(x, y);
        if (std::fabs(target.x() - p.x()) <= 1e-12 && std::fabs(target.y() - p.y()) <= 1e-12)
            return;
        p = target;
        verticesChanged(repaint);
        return;
    }
    // The end of a vertex gesture.
    normalisePosition();
    if (repaint)
        this->update();
}

void WRegion::showSelection(bool show)
{
    // Regions draw their own handles instead of a selection overlay.
    if (show == m_selected)
        return;
    m_selected = show;
    m_geometryDirty = true;
    update();
}

void WRegion::loadSelector(bool edit)
{
    // Handles belong to edit mode, whoever else forgets to take them down.
    if (!edit)
        showSelection(false);
    WWidget::loadSelector(edit);
}

QWidget *WRegion::createPropertiesDialog(QWidget *)
{
    return nullptr;
}

QVariant WRegion::attribute(uint id) const
{
    if (id == 0x4501)
        return m_path;
    return WWidget::attribute(id);
}

void WRegion::setAttribute(uint id, const QVariant &value)
{
    if (id == 0x4501) {
        m_path = value.toString();
        return;
    }
    WWidget::setAttribute(id, value);
}

void WRegion::dump() const
{
    qDebug() << "WRegion" << m_typeName << m_pRoot << m_vertices.size() << "vertices, fill"
             << int(m_fillMode) << "path" << m_path;
}

QPointF WRegion::vertex(int index) const
{
    return index >= 0 && index < m_vertices.size() ? m_vertices.at(index) : QPointF(0.0, 0.0);
}

void WRegion::insertVertex(double x, double y, int index)
{
    if (!finite(x, y))
        return;
    m_vertices.insert(qBound(0, index, m_vertices.size()), clamped(x, y));
    normalisePosition();
}

void WRegion::removeVertex(int index)
{
    if (index < 0 || index >= m_vertices.size())
        return;
    m_vertices.removeAt(index);
    normalisePosition();
}

void WRegion::normalisePosition()
{
    m_normalisePending = false;
    if (!m_vertices.isEmpty()) {
        const QRectF box = UPolygon::bounds(m_vertices);
        const QPointF corner = box.topLeft();
        if (!corner.isNull()) {
            for (QPointF &p : m_vertices)
                p -= corner;
        }
        if (m_pRoot) {
            m_pRoot->setX(m_pRoot->x() + corner.x());
            m_pRoot->setY(m_pRoot->y() + corner.y());
            m_pRoot->setWidth(box.width());
            m_pRoot->setHeight(box.height());
        }
    }
    verticesChanged();
}

unsigned int WRegion::fillGeometry(QVector<QPointF> *vertices) const
{
    return WGeometryNode::buildVertices(WGeometryNode::Fill, m_fillMode, m_contour, vertices);
}

void WRegion::setFieldColor(QColor color)
{
    m_fieldColor = color;
    m_styleDirty = true;
    update();
}

void WRegion::setBorderColor(QColor color)
{
    m_borderColor = color;
    m_styleDirty = true;
    update();
}

void WRegion::setBorderWidth(float width)
{
    if (!std::isfinite(width) || width < 0.0f)
        return;
    m_borderWidth = width;
    m_styleDirty = true;
    m_geometryDirty = true;
    update();
}

bool WRegion::outputPressed(float x, float y)
{
    const bool inside = UPolygon::contains(m_vertices, QPointF(x - Reach, y - Reach));
    if (inside && m_pModel)
        m_pModel->followPath(m_path);
    return inside;
}

bool WRegion::editWidget(float x, float y, uint keys, uint state)
{
    if (state == Qt::GestureStarted) {
        m_dragging = false;
        const QPointF point(x - Reach, y - Reach);
        if (keys == Qt::ControlModifier)
            return insertAt(point, keys);
        if (keys == (Qt::ShiftModifier | Qt::ControlModifier))
            return deleteAt(point, keys);
        return startDrag(x, y, keys);
    }
    // The keys chose the gesture when it started: a modifier pressed or
    // released halfway must not leave a drag without its end.
    if (!m_dragging)
        return false;
    drag(x, y, state);
    if (state == Qt::GestureFinished)
        m_dragging = false;
    return true;
}

bool WRegion::insertAt(const QPointF &point, uint keys)
{
    QPointF foot;
    const int index = UPolygon::edgeAt(m_vertices, point, &foot);
    if (index >= 0) {
        selectThroughTool(keys);
        runTool(BCommandFactory::ToolInsertVertex, foot.x(), foot.y(), index, Qt::GestureFinished);
        verticesChanged();
    }
    return index >= 0 || UPolygon::contains(m_vertices, point);
}

bool WRegion::deleteAt(const QPointF &point, uint keys)
{
    if (m_vertices.size() < 4) {
        UMessage::warning(WDelegate::instance()->mainWindow(), tr("Warning"),
                          tr("The minimum number of vertices is three."));
        return false;
    }
    const int index = UPolygon::vertexAt(m_vertices, point);
    if (index < 0)
        return false;
    const int before = m_vertices.size();
    selectThroughTool(keys);
    const QPointF corner = m_vertices.at(index);
    runTool(BCommandFactory::ToolDeleteVertex, corner.x(), corner.y(), index, Qt::GestureFinished);
    verticesChanged();
    return m_vertices.size() < before;
}

bool WRegion::startDrag(float x, float y, uint keys)
{
    m_selectedVertex = -1;
    const QPointF point(x - Reach, y - Reach);
    const bool inside = UPolygon::contains(m_vertices, point);
    // Handles are grabbed where they show; a press on neither the polygon
    // nor a handle belongs to whatever lies below.
    const int vertex = inside || m_selected ? UPolygon::vertexAt(m_vertices, point) : -1;
    if (!inside && vertex < 0)
        return false;
    showSelection(true);
    selectThroughTool(keys);
    if (vertex >= 0) {
        m_selectedVertex = vertex;
        x = float(m_vertices.at(vertex).x() + Reach);
        y = float(m_vertices.at(vertex).y() + Reach);
    }
    m_pressPoint = QPointF(x, y);
    m_dragging = true;
    drag(x, y, Qt::GestureStarted);
    return true;
}

void WRegion::drag(float x, float y, uint state)
{
    if (m_selectedVertex >= 0)
        runTool(BCommandFactory::ToolReshape, x - Reach, y - Reach, m_selectedVertex, int(state));
    else
        runTool(BCommandFactory::ToolDrag, x - m_pressPoint.x(), y - m_pressPoint.y(), -1,
                int(state));
    update();
}

BCommand *WRegion::gestureTool() const
{
    return m_pModel ? m_pModel->pointerTool() : nullptr;
}

void WRegion::selectThroughTool(uint keys)
{
    BCommand *tool = gestureTool();
    if (!tool || !m_pControl)
        return;
    tool->setModifiers(Qt::KeyboardModifiers(int(keys)));
    tool->selectControl(m_pControl);
    tool->execute(0);
}

void WRegion::runTool(int code, double x, double y, int index, int state)
{
    BCommand *tool = gestureTool();
    if (!tool)
        return;
    tool->setTargetControl(m_pControl);
    tool->pointerEvent(x, y, index, code, state);
}

void WRegion::verticesChanged(bool repaint)
{
    m_contour = UPolygon::fillContour(m_vertices);
    m_fillMode = UPolygon::classify(m_contour);
    m_geometryDirty = true;
    QVariantList model;
    model.reserve(m_vertices.size());
    for (const QPointF &p : qAsConst(m_vertices))
        model << p;
    setRootProperty("model", model);
    if (repaint)
        update();
}

void WRegion::updatePolish()
{
    if (m_normalisePending)
        normalisePosition();
}

void WRegion::geometryChanged(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    m_geometryDirty = true;
    update();
    WWidget::geometryChanged(newGeometry, oldGeometry);
}

// Runs while the GUI thread waits: everything the render thread needs is
// copied into the nodes here. OpenGL draws the polygon as geometry nodes;
// the software renderer draws no custom geometry, so there one node paints it.
QSGNode *WRegion::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *)
{
    QSGNode *root = oldNode;
    if (!root) {
        root = new QSGNode();
        QQuickWindow *view = window();
        if (view && view->rendererInterface()->graphicsApi() == QSGRendererInterface::Software) {
            root->appendChildNode(new WRegionPaintNode(view));
        } else {
            root->appendChildNode(new WGeometryNode(WGeometryNode::Fill));
            root->appendChildNode(new WGeometryNode(WGeometryNode::Outline));
        }
        m_geometryDirty = true;
        m_styleDirty = true;
    }
    auto *painted = dynamic_cast<WRegionPaintNode *>(root->firstChild());
    const int firstHandle = painted ? 1 : 2;

    const int handles =
        m_selected && m_vertices.size() <= UPolygon::MaxDrawnVertices ? m_vertices.size() : 0;
    if (root->childCount() - firstHandle != handles) {
        while (root->childCount() > firstHandle) {
            QSGNode *handle = root->lastChild();
            root->removeChildNode(handle);
            delete handle;
        }
        for (int i = 0; i < handles; ++i)
            root->appendChildNode(new QSGSimpleRectNode(QRectF(), QColor(160, 160, 160)));
        m_geometryDirty = true;
    }
    if (m_styleDirty) {
        if (painted) {
            painted->setColors(m_fieldColor, m_borderColor);
            painted->setLineWidth(m_borderWidth);
        } else {
            auto *fill = static_cast<WGeometryNode *>(root->childAtIndex(0));
            auto *outline = static_cast<WGeometryNode *>(root->childAtIndex(1));
            fill->setColor(m_fieldColor);
            outline->setColor(m_borderColor);
            outline->setLineWidth(m_borderWidth);
        }
        m_styleDirty = false;
    }
    if (m_geometryDirty) {
        if (painted) {
            painted->setFill(m_contour, m_fillMode);
            painted->setOutline(m_vertices);
        } else {
            static_cast<WGeometryNode *>(root->childAtIndex(0))->setContour(m_contour, m_fillMode);
            static_cast<WGeometryNode *>(root->childAtIndex(1))
                ->setContour(m_vertices, UPolygon::Convex);
        }
        QSGNode *handle = root->childAtIndex(firstHandle);
        for (int i = 0; handle && i < handles; ++i, handle = handle->nextSibling()) {
            const QPointF &p = m_vertices.at(i);
            static_cast<QSGSimpleRectNode *>(handle)->setRect(p.x() - 3.0, p.y() - 3.0, 7.0, 7.0);
        }
        root->markDirty(QSGNode::DirtyGeometry);
        m_geometryDirty = false;
    }
    return root;
}
