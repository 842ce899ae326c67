#pragma once

#include "controls/UPolygon.h"
#include "controls/WWidget.h"

#include <QColor>

class BCommand;

// A free-form polygon over a panel, a hot spot that jumps to the panel it
// links to when touched. It draws itself into the scene graph (fill, outline
// and, while selected, a handle on each vertex) and is edited vertex by
// vertex in edit mode: drag a vertex or the body, Control-click an edge to
// insert, Shift+Control-click a vertex to delete.
class WRegion : public WWidget
{
    Q_OBJECT
public:
    explicit WRegion(QQuickItem *parent = nullptr);
    ~WRegion() override;

    void initWidget() override;
    bool loadAttribute(const QString &name, const QString &value) override;
    bool writeXml(XmlWriter *writer) override;
    void scale(float factor) override;
    // Ignores the rectangle: snaps every vertex to the editing grid.
    void setGeometry(double x, double y, double width, double height) override;
    // Moves vertex number index to (x, y); an index out of range ends the
    // gesture instead. Repaints when update is not zero.
    void reshape(double x, double y, double index, double update, double, double) override;
    void showSelection(bool show) override;
    void loadSelector(bool edit) override;
    QWidget *createPropertiesDialog(QWidget *parent) override;
    QVariant attribute(uint id) const override;
    void setAttribute(uint id, const QVariant &value) override;
    void dump() const override;

    // (0, 0) for an index out of range.
    QPointF vertex(int index) const;
    // Before the vertex at index (clamped to the list).
    void insertVertex(double x, double y, int index);
    void removeVertex(int index);
    const QVector<QPointF> &vertices() const { return m_vertices; }
    QString path() const { return m_path; }
    UPolygon::FillMode fillMode() const { return m_fillMode; }
    bool isSelected() const { return m_selected; }
    int selectedVertex() const { return m_selectedVertex; }
    // Shifts the vertices to start at the item's top-left corner, moves the
    // item by as much and fits it around them.
    void normalisePosition();
    // What the fill draws now: answers the drawing mode, fills the vertices.
    unsigned int fillGeometry(QVector<QPointF> *vertices) const;

    Q_INVOKABLE void setFieldColor(QColor color);
    Q_INVOKABLE void setBorderColor(QColor color);
    Q_INVOKABLE void setBorderWidth(float width);

public slots:
    bool outputPressed(float x, float y);
    bool editWidget(float x, float y, uint keys, uint state);

protected:
    QSGNode *updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *data) override;
    void geometryChanged(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void updatePolish() override;
    // Where gestures go: the model's pointer tool.
    virtual BCommand *gestureTool() const;

private:
    bool insertAt(const QPointF &point, uint keys);
    bool deleteAt(const QPointF &point, uint keys);
    bool startDrag(float x, float y, uint keys);
    void drag(float x, float y, uint state);
    void selectThroughTool(uint keys);
    void runTool(int code, double x, double y, int index, int state);
    // Re-derives the fill and schedules the scene graph to read it.
    void verticesChanged(bool repaint = true);

    QVector<QPointF> m_vertices;
    QString m_path;
    bool m_selected = false;
    int m_selectedVertex = -1;
    bool m_dragging = false;
    QPointF m_pressPoint;
    UPolygon::FillMode m_fillMode = UPolygon::Convex;
    // The contour the fill is built from.
    QVector<QPointF> m_contour;
    bool m_geometryDirty = false;
    bool m_normalisePending = false;
    QColor m_fieldColor;
    QColor m_borderColor;
    float m_borderWidth = 1.0f;
    bool m_styleDirty = true;
};
