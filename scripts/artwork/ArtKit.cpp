#include "ArtKit.h"

namespace ArtKit {

QColor ink() { return QColor(QStringLiteral("#37474F")); }
QColor paper() { return QColor(QStringLiteral("#FFFFFF")); }
QColor paperShade() { return QColor(QStringLiteral("#DDE3E7")); }
QColor grey() { return QColor(QStringLiteral("#90A4AE")); }
QColor blue() { return QColor(QStringLiteral("#1D98D5")); }
QColor blueDark() { return QColor(QStringLiteral("#13709F")); }
QColor blueLight() { return QColor(QStringLiteral("#BFE3F5")); }
QColor green() { return QColor(QStringLiteral("#43A047")); }
QColor greenDark() { return QColor(QStringLiteral("#2E7D32")); }
QColor red() { return QColor(QStringLiteral("#E53935")); }
QColor amber() { return QColor(QStringLiteral("#F5B942")); }
QColor amberDark() { return QColor(QStringLiteral("#C68A16")); }

QPen pen(const QColor &color, qreal width, Qt::PenJoinStyle join)
{
    QPen result(color, width, Qt::SolidLine, Qt::RoundCap, join);
    return result;
}

void fillOutline(QPainter &p, const QPainterPath &path, const QColor &fill, const QColor &line,
                 qreal lineWidth)
{
    p.save();
    if (lineWidth > 0)
        p.setPen(pen(line, lineWidth));
    else
        p.setPen(Qt::NoPen);
    p.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
    p.drawPath(path);
    p.restore();
}

void fillOutline(QPainter &p, const QRectF &rect, qreal radius, const QColor &fill,
                 const QColor &line, qreal lineWidth)
{
    QPainterPath path;
    if (radius > 0)
        path.addRoundedRect(rect, radius, radius);
    else
        path.addRect(rect);
    fillOutline(p, path, fill, line, lineWidth);
}

void arrowHead(QPainter &p, const QPointF &tip, qreal angle, qreal length, qreal width,
               const QColor &color)
{
    p.save();
    p.translate(tip);
    p.rotate(angle);
    QPainterPath head;
    head.moveTo(0, 0);
    head.lineTo(-length, -width / 2);
    head.lineTo(-length, width / 2);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(head);
    p.restore();
}

void page(QPainter &p, const QRectF &r, qreal fold)
{
    QPainterPath sheet;
    sheet.moveTo(r.left(), r.top());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.right(), r.bottom());
    sheet.lineTo(r.left(), r.bottom());
    sheet.closeSubpath();
    fillOutline(p, sheet, paper(), ink(), 2);

    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    corner.closeSubpath();
    fillOutline(p, corner, paperShade(), ink(), 2);
}

void folder(QPainter &p, const QRectF &r, bool open)
{
    const qreal tabWidth = r.width() * 0.4;
    const qreal tabHeight = r.height() * 0.15;
    QPainterPath back;
    back.moveTo(r.left(), r.top());
    back.lineTo(r.left() + tabWidth, r.top());
    back.lineTo(r.left() + tabWidth + tabHeight, r.top() + tabHeight);
    back.lineTo(r.right(), r.top() + tabHeight);
    back.lineTo(r.right(), r.bottom());
    back.lineTo(r.left(), r.bottom());
    back.closeSubpath();
    fillOutline(p, back, open ? amberDark() : amber(), amberDark(), 2);

    QPainterPath front;
    if (open) {
        // The flap leans forward: its top edge is shifted right and down.
        const qreal top = r.top() + r.height() * 0.38;
        const qreal slant = r.width() * 0.16;
        front.moveTo(r.left() + slant, top);
        front.lineTo(r.right() + slant * 0.5, top);
        front.lineTo(r.right(), r.bottom());
        front.lineTo(r.left(), r.bottom());
    } else {
        const qreal top = r.top() + tabHeight * 2.2;
        front.moveTo(r.left(), top);
        front.lineTo(r.right(), top);
        front.lineTo(r.right(), r.bottom());
        front.lineTo(r.left(), r.bottom());
    }
    front.closeSubpath();
    fillOutline(p, front, amber(), amberDark(), 2);
}

void pencil(QPainter &p, const QPointF &tip, qreal length, qreal angle)
{
    const qreal half = length * 0.14;
    const qreal point = length * 0.26;
    const qreal eraser = length * 0.16;
    p.save();
    p.translate(tip);
    p.rotate(angle);

    QPainterPath body;
    body.addRect(QRectF(point, -half, length - point - eraser, 2 * half));
    fillOutline(p, body, amber(), amberDark(), 1.2);

    QPainterPath rubber;
    rubber.addRoundedRect(QRectF(length - eraser, -half, eraser, 2 * half), 1.2, 1.2);
    fillOutline(p, rubber, red(), red().darker(130), 1.2);

    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(point, -half);
    wood.lineTo(point, half);
    wood.closeSubpath();
    fillOutline(p, wood, QColor(QStringLiteral("#F6DDB0")), amberDark(), 1.2);

    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(point * 0.38, -half * 0.38);
    lead.lineTo(point * 0.38, half * 0.38);
    lead.closeSubpath();
    fillOutline(p, lead, ink(), QColor(), 0);
    p.restore();
}

void floppy(QPainter &p, const QRectF &r)
{
    const qreal w = r.width();
    const qreal h = r.height();
    QPainterPath body;
    body.moveTo(r.left(), r.top());
    body.lineTo(r.right() - w * 0.16, r.top());
    body.lineTo(r.right(), r.top() + h * 0.16);
    body.lineTo(r.right(), r.bottom());
    body.lineTo(r.left(), r.bottom());
    body.closeSubpath();
    fillOutline(p, body, blue(), blueDark(), 2);

    // Metal shutter with its window, and the paper label below.
    const QRectF shutter(r.left() + w * 0.25, r.top(), w * 0.5, h * 0.33);
    fillOutline(p, shutter, 0, paperShade(), blueDark(), 1.5);
    fillOutline(p, QRectF(shutter.left() + shutter.width() * 0.58, shutter.top() + h * 0.07,
                          shutter.width() * 0.22, h * 0.18),
                0, blueDark(), QColor(), 0);
    const QRectF label(r.left() + w * 0.17, r.top() + h * 0.55, w * 0.66, h * 0.45);
    fillOutline(p, label, 0, paper(), blueDark(), 1.5);
    p.setPen(pen(grey(), 1.5));
    p.drawLine(QPointF(label.left() + w * 0.1, label.top() + h * 0.14),
               QPointF(label.right() - w * 0.1, label.top() + h * 0.14));
    p.drawLine(QPointF(label.left() + w * 0.1, label.top() + h * 0.28),
               QPointF(label.right() - w * 0.1, label.top() + h * 0.28));
}

void phone(QPainter &p, const QRectF &r, const QColor &screenColor)
{
    fillOutline(p, r, r.width() * 0.2, paper(), ink(), 2);
    const qreal side = r.width() * 0.16;
    const QRectF screen(r.left() + side, r.top() + r.height() * 0.13, r.width() - 2 * side,
                        r.height() * 0.66);
    fillOutline(p, screen, 0, screenColor, QColor(), 0);
    p.setPen(Qt::NoPen);
    p.setBrush(ink());
    p.drawEllipse(QPointF(r.center().x(), r.bottom() - r.height() * 0.1), r.width() * 0.07,
                  r.width() * 0.07);
}

} // namespace ArtKit
