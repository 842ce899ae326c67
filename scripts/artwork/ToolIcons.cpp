#include "ToolIcons.h"

#include "ArtKit.h"
#include "ArtOutput.h"

using namespace ArtKit;

namespace {

const int kSize = 32;

QString toolPath(const char *name)
{
    return QStringLiteral("images/") + QLatin1String(name) + QStringLiteral(".png");
}

// A rounded badge in the bottom right corner, used to tell similar icons apart.
void badge(QPainter &p, const QColor &color)
{
    fillOutline(p, QRectF(17, 17, 14, 14), 3.5, color, color.darker(125), 1.5);
}

// The undo arrow; a halo wider than zero draws a paper-coloured rim around
// it, so it stays readable where it overlaps another shape.
void drawUndoArrow(QPainter &p, qreal halo = 0)
{
    QPainterPath hook;
    hook.moveTo(10, 11);
    hook.lineTo(19, 11);
    hook.arcTo(QRectF(11.5, 11, 15, 15), 90, -180);
    hook.lineTo(12, 26);
    p.setBrush(Qt::NoBrush);
    if (halo > 0) {
        p.setPen(pen(paper(), 3.2 + 2 * halo, Qt::RoundJoin));
        p.drawPath(hook);
        QPainterPath head;
        head.moveTo(3, 11);
        head.lineTo(12, 5);
        head.lineTo(12, 17);
        head.closeSubpath();
        p.setPen(pen(paper(), 2 * halo, Qt::RoundJoin));
        p.setBrush(paper());
        p.drawPath(head);
        p.setBrush(Qt::NoBrush);
    }
    p.setPen(pen(blue(), 3.2, Qt::RoundJoin));
    p.drawPath(hook);
    arrowHead(p, QPointF(3, 11), 180, 9, 12, blue());
}

// Two overlapping sheets; the blue one (the selection) is either in front or
// behind. The arrow on the right says which way it moves, with a bar when it
// goes all the way.
QImage stackingIcon(bool selectionOnTop, bool up, bool allTheWay)
{
    return paint(kSize, kSize, [=](QPainter &p) {
        const QRectF other(2, 4, 14, 14);
        const QRectF selected(8, 12, 14, 14);
        auto drawOther = [&] { fillOutline(p, other, 1.5, paperShade(), ink(), 2); };
        auto drawSelected = [&] { fillOutline(p, selected, 1.5, blue(), blueDark(), 2); };
        if (selectionOnTop) {
            drawOther();
            drawSelected();
        } else {
            drawSelected();
            drawOther();
        }

        const qreal x = 27.5;
        const qreal tipY = up ? (allTheWay ? 8 : 4) : (allTheWay ? 24 : 28);
        const qreal tailY = up ? 28 : 4;
        p.setPen(pen(ink(), 2.4));
        p.drawLine(QPointF(x, tailY), QPointF(x, up ? tipY + 5 : tipY - 5));
        arrowHead(p, QPointF(x, tipY), up ? -90 : 90, 7, 9, ink());
        if (allTheWay) {
            const qreal barY = up ? 4 : 28;
            p.setPen(pen(ink(), 2.4));
            p.drawLine(QPointF(x - 4, barY), QPointF(x + 4, barY));
        }
    });
}

// Drawn for "align left"; the others are the same picture mirrored or with
// x and y swapped, so all six stay consistent.
QImage alignIcon(const QTransform &orientation, bool centred)
{
    return paint(kSize, kSize, [&](QPainter &p) {
        p.setTransform(orientation);
        if (centred) {
            fillOutline(p, QRectF(6, 6, 20, 8), 1.5, blue(), QColor(), 0);
            fillOutline(p, QRectF(10, 18, 12, 8), 1.5, blueLight(), blueDark(), 1.2);
            p.setPen(pen(ink(), 2, Qt::MiterJoin));
            p.drawLine(QPointF(16, 2), QPointF(16, 30));
        } else {
            fillOutline(p, QRectF(8, 6, 20, 8), 1.5, blue(), QColor(), 0);
            fillOutline(p, QRectF(8, 18, 12, 8), 1.5, blueLight(), blueDark(), 1.2);
            p.setPen(pen(ink(), 2.4));
            p.drawLine(QPointF(4, 2.5), QPointF(4, 29.5));
        }
    });
}

// Drawn for "distribute horizontally"; swapping x and y gives the vertical one.
QImage distributeIcon(const QTransform &orientation)
{
    return paint(kSize, kSize, [&](QPainter &p) {
        p.setTransform(orientation);
        fillOutline(p, QRectF(3.5, 7, 6, 13), 1.5, blue(), QColor(), 0);
        fillOutline(p, QRectF(13, 3, 6, 21), 1.5, blueLight(), blueDark(), 1.2);
        fillOutline(p, QRectF(22.5, 9, 6, 9), 1.5, blue(), QColor(), 0);
        p.setPen(pen(ink(), 2));
        p.drawLine(QPointF(8, 28), QPointF(24, 28));
        arrowHead(p, QPointF(2.5, 28), 180, 6.5, 8, ink());
        arrowHead(p, QPointF(29.5, 28), 0, 6.5, 8, ink());
    });
}

QTransform mirroredX() { return QTransform(-1, 0, 0, 1, kSize, 0); }
QTransform mirroredY() { return QTransform(1, 0, 0, -1, 0, kSize); }
QTransform swappedXY() { return QTransform(0, 1, 1, 0, 0, 0); }

} // namespace

namespace ToolIcons {

void makeFileIcons(ArtOutput &out)
{
    // Import of a design: a folder with a signal wave on a blue badge.
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        folder(p, QRectF(2, 5, 24, 21), true);
                        badge(p, blue());
                        QPainterPath wave;
                        wave.moveTo(19.5, 24);
                        wave.cubicTo(21.5, 18, 23, 18, 24, 24);
                        wave.cubicTo(25, 30, 26.5, 30, 28.5, 24);
                        p.setPen(pen(paper(), 2));
                        p.setBrush(Qt::NoBrush);
                        p.drawPath(wave);
                    }),
              toolPath("OpenZDX"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        page(p, QRectF(5, 3, 18, 25), 7);
                        p.setPen(Qt::NoPen);
                        p.setBrush(green());
                        p.drawEllipse(QPointF(24, 24), 7, 7);
                        p.setPen(pen(paper(), 2.4));
                        p.drawLine(QPointF(24, 20.2), QPointF(24, 27.8));
                        p.drawLine(QPointF(20.2, 24), QPointF(27.8, 24));
                    }),
              toolPath("NewRemoteAppFile"));

    out.write(paint(kSize, kSize, [](QPainter &p) { folder(p, QRectF(3, 6, 25, 21), true); }),
              toolPath("OpenRemoteAppFile"));

    out.write(paint(kSize, kSize, [](QPainter &p) { floppy(p, QRectF(4, 4, 24, 24)); }),
              toolPath("SaveFile"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        floppy(p, QRectF(2, 2, 22, 22));
                        pencil(p, QPointF(15, 29), 20, -45);
                    }),
              toolPath("SaveRemoteFileApp"));
}

void makeEditIcons(ArtOutput &out)
{
    const QImage undo = paint(kSize, kSize, [](QPainter &p) { drawUndoArrow(p); });
    out.write(undo, toolPath("Undo"));
    out.write(undo.mirrored(true, false), toolPath("Redo"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        // A list of steps with the undo arrow over its corner.
                        fillOutline(p, QRectF(11, 9, 18, 20), 2, paper(), ink(), 2);
                        p.setPen(pen(grey(), 2));
                        for (qreal y : {19.0, 22.5, 26.0})
                            p.drawLine(QPointF(15, y), QPointF(25, y));
                        p.setPen(pen(ink(), 2));
                        p.drawLine(QPointF(20, 14.5), QPointF(25, 14.5));
                        p.translate(0, 1);
                        p.scale(0.7, 0.7);
                        drawUndoArrow(p, 1.5);
                    }),
              toolPath("UndoList"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        p.setPen(pen(ink(), 2.6));
                        p.drawLine(QPointF(12.8, 20.3), QPointF(21, 3.5));
                        p.drawLine(QPointF(19.2, 20.3), QPointF(11, 3.5));
                        p.setPen(Qt::NoPen);
                        p.setBrush(paper());
                        p.drawEllipse(QPointF(16, 13.5), 1.1, 1.1);
                        p.setPen(pen(red(), 2.6));
                        p.setBrush(Qt::NoBrush);
                        p.drawEllipse(QPointF(10, 24.5), 4.3, 4.3);
                        p.drawEllipse(QPointF(22, 24.5), 4.3, 4.3);
                    }),
              toolPath("Cut"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        fillOutline(p, QRectF(4, 3, 15, 19), 1.5, paperShade(), ink(), 2);
                        fillOutline(p, QRectF(12, 10, 16, 19), 1.5, paper(), ink(), 2);
                        p.setPen(pen(blue(), 2));
                        for (qreal y : {15.5, 19.5, 23.5})
                            p.drawLine(QPointF(15.5, y), QPointF(24.5, y));
                    }),
              toolPath("Copy"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        fillOutline(p, QRectF(4, 5, 20, 24), 2, amber(), amberDark(), 2);
                        fillOutline(p, QRectF(9.5, 2.5, 9, 5), 1.5, grey(), ink(), 1.6);
                        fillOutline(p, QRectF(13, 12, 15, 18), 1.5, paper(), ink(), 2);
                        p.setPen(pen(blue(), 2));
                        for (qreal y : {17.0, 21.0, 25.0})
                            p.drawLine(QPointF(16.5, y), QPointF(24.5, y));
                    }),
              toolPath("Paste"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        p.setPen(pen(red(), 4.2));
                        p.drawLine(QPointF(8, 8), QPointF(24, 24));
                        p.drawLine(QPointF(24, 8), QPointF(8, 24));
                    }),
              toolPath("Delete"));

    // Edit mode: the selection frame with its two resize handles, and a pencil.
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        QPen dashed(blue(), 1.6, Qt::DashLine, Qt::FlatCap, Qt::MiterJoin);
                        dashed.setDashPattern({2.2, 1.6});
                        p.setPen(dashed);
                        p.setBrush(Qt::NoBrush);
                        p.drawRect(QRectF(3.5, 3.5, 19, 19));
                        p.setPen(Qt::NoPen);
                        p.setBrush(blue());
                        p.drawRect(QRectF(20.5, 10.5, 4, 4));
                        p.drawRect(QRectF(10.5, 20.5, 4, 4));
                        pencil(p, QPointF(18, 23), 19, -45);
                    }),
              toolPath("EditMode"));
}

void makeStackingIcons(ArtOutput &out)
{
    out.write(stackingIcon(true, true, true), toolPath("movefront"));
    out.write(stackingIcon(true, true, false), toolPath("moveforwards"));
    out.write(stackingIcon(false, false, true), toolPath("moveback"));
    out.write(stackingIcon(false, false, false), toolPath("movebackwards"));
}

void makeAlignIcons(ArtOutput &out)
{
    out.write(alignIcon(QTransform(), false), toolPath("alignleft"));
    out.write(alignIcon(mirroredX(), false), toolPath("alignright"));
    out.write(alignIcon(swappedXY(), false), toolPath("aligntop"));
    out.write(alignIcon(swappedXY() * mirroredY(), false), toolPath("alignbottom"));
    // Horizontal centres line up on a vertical axis, and the other way round.
    out.write(alignIcon(QTransform(), true), toolPath("alignhcenter"));
    out.write(alignIcon(swappedXY(), true), toolPath("alignvcenter"));
}

void makeDistributeIcons(ArtOutput &out)
{
    out.write(distributeIcon(QTransform()), toolPath("spaceacross"));
    out.write(distributeIcon(swappedXY()), toolPath("spacedown"));
}

void makeToolsIcons(ArtOutput &out)
{
    // Going online: a plug meeting its socket, in green.
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        p.translate(16, 16);
                        p.rotate(-45);
                        p.setPen(pen(ink(), 2.6));
                        p.drawLine(QPointF(-17, 0), QPointF(-9, 0));
                        p.drawLine(QPointF(9, 0), QPointF(17, 0));
                        fillOutline(p, QRectF(-10, -6, 8, 12), 2, greenDark(), QColor(), 0);
                        fillOutline(p, QRectF(-2.5, -4, 4.5, 2.2), 0, ink(), QColor(), 0);
                        fillOutline(p, QRectF(-2.5, 1.8, 4.5, 2.2), 0, ink(), QColor(), 0);
                        fillOutline(p, QRectF(2, -6, 8, 12), 2, green(), QColor(), 0);
                    }),
              toolPath("GoOnline"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        phone(p, QRectF(16, 3, 13, 26), blueLight());
                        p.setPen(pen(blue(), 3));
                        p.drawLine(QPointF(2.5, 16), QPointF(8, 16));
                        arrowHead(p, QPointF(14.5, 16), 0, 8, 11, blue());
                    }),
              toolPath("SendToDevice"));

    // The canvas: a device screen with the tool bar above and the page dots
    // of the status bar below.
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        fillOutline(p, QRectF(7, 2, 18, 28), 3, paper(), ink(), 2);
                        fillOutline(p, QRectF(9, 5, 14, 4), 0, blue(), QColor(), 0);
                        fillOutline(p, QRectF(10.5, 12, 5, 5), 1, blueLight(), blueDark(), 1);
                        fillOutline(p, QRectF(17.5, 12, 3, 9), 1, blueLight(), blueDark(), 1);
                        fillOutline(p, QRectF(10.5, 19, 5, 2), 0.5, grey(), QColor(), 0);
                        fillOutline(p, QRectF(9, 23.5, 14, 4), 0, paperShade(), QColor(), 0);
                        p.setPen(Qt::NoPen);
                        p.setBrush(blue());
                        p.drawEllipse(QPointF(13.5, 25.5), 1.1, 1.1);
                        p.setBrush(grey());
                        p.drawEllipse(QPointF(16, 25.5), 1.1, 1.1);
                        p.drawEllipse(QPointF(18.5, 25.5), 1.1, 1.1);
                    }),
              toolPath("CanvasSetup"));

    // The layout of collections and panels: a stack of pages.
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        fillOutline(p, QRectF(12, 2, 17, 21), 1.5, paperShade(), ink(), 2);
                        fillOutline(p, QRectF(8, 5.5, 17, 21), 1.5, paperShade(), ink(), 2);
                        fillOutline(p, QRectF(4, 9, 17, 21), 1.5, paper(), ink(), 2);
                        fillOutline(p, QRectF(5, 10, 15, 4), 0, blue(), QColor(), 0);
                        p.setPen(Qt::NoPen);
                        p.setBrush(blue());
                        p.drawEllipse(QPointF(9.5, 26), 1.3, 1.3);
                        p.setBrush(grey());
                        p.drawEllipse(QPointF(12.5, 26), 1.3, 1.3);
                        p.drawEllipse(QPointF(15.5, 26), 1.3, 1.3);
                    }),
              toolPath("PanelSetup"));
}

void makeHelpIcons(ArtOutput &out)
{
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        p.setPen(Qt::NoPen);
                        p.setBrush(blue());
                        p.drawEllipse(QPointF(16, 16), 14, 14);
                        p.setBrush(paper());
                        p.drawEllipse(QPointF(16, 9), 2.3, 2.3);
                        p.drawRoundedRect(QRectF(14, 13, 4, 11.5), 1, 1);
                        p.drawRoundedRect(QRectF(12, 22.5, 8, 2.2), 0.8, 0.8);
                    }),
              toolPath("about"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        p.setPen(Qt::NoPen);
                        p.setBrush(green());
                        p.drawEllipse(QPointF(16, 16), 14, 14);
                        QPainterPath question;
                        question.moveTo(11.2, 12);
                        question.arcTo(QRectF(11, 6.5, 10, 10), 170, -240);
                        question.quadTo(16, 16.5, 16, 19.5);
                        p.setPen(pen(paper(), 3.4));
                        p.setBrush(Qt::NoBrush);
                        p.drawPath(question);
                        p.setPen(Qt::NoPen);
                        p.setBrush(paper());
                        p.drawEllipse(QPointF(16, 24.5), 2.2, 2.2);
                    }),
              toolPath("help"));
}

} // namespace ToolIcons
