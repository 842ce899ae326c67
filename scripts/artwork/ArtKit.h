#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

// The shared palette and the few shapes the icon families are built from.
namespace ArtKit {

// A small palette, so that tool bar, tree and dialogs read as one set.
QColor ink();        // outlines and dark glyphs
QColor paper();      // sheets and screens
QColor paperShade(); // folds, sheets behind others
QColor grey();       // neutral parts
QColor blue();       // the main highlight (the default accent of the canvas)
QColor blueDark();
QColor blueLight();
QColor green();
QColor greenDark();
QColor red();
QColor amber();
QColor amberDark();

// Transparent image painted by fn with antialiasing switched on.
template <typename Fn>
QImage paint(int width, int height, Fn fn)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    fn(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QPen pen(const QColor &color, qreal width, Qt::PenJoinStyle join = Qt::RoundJoin);

// Fills and outlines a path in one go; a width of 0 means no outline.
void fillOutline(QPainter &p, const QPainterPath &path, const QColor &fill, const QColor &line,
                 qreal lineWidth);
void fillOutline(QPainter &p, const QRectF &rect, qreal radius, const QColor &fill,
                 const QColor &line, qreal lineWidth);

// Triangle whose tip points in the direction angle (degrees, 0 = right, 90 = down).
void arrowHead(QPainter &p, const QPointF &tip, qreal angle, qreal length, qreal width,
               const QColor &color);

// A sheet of paper with its top right corner folded over.
void page(QPainter &p, const QRectF &rect, qreal fold);
// A manila folder; open shows the front flap tilted forward.
void folder(QPainter &p, const QRectF &rect, bool open);
// A pencil of the given length whose tip sits at tip, lying at angle degrees
// (0: body to the right of the tip, -45: body up and to the right).
void pencil(QPainter &p, const QPointF &tip, qreal length, qreal angle);
// A floppy disk filling rect.
void floppy(QPainter &p, const QRectF &rect);
// A phone seen from the front, screen filled with screenColor.
void phone(QPainter &p, const QRectF &rect, const QColor &screenColor);

} // namespace ArtKit
