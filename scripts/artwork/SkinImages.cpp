#include "SkinImages.h"

#include "ArtKit.h"
#include "ArtOutput.h"

#include <cstring>

using namespace ArtKit;

namespace {

// The text colour of each skin: art is dark on the Light skin and light on
// the Dark one.
QColor skinInk(const char *skinName)
{
    return std::strcmp(skinName, "Dark") == 0 ? QColor(QStringLiteral("#FFFFFF"))
                                              : QColor(QStringLiteral("#231F20"));
}

QString skinPath(const char *folder, const char *file)
{
    return QStringLiteral("images/skins/") + QLatin1String(folder) + QLatin1Char('/') +
           QLatin1String(file);
}

// Tall and narrow, as the status bar shows them (width 0.574 of the height).
QImage chevron(const QColor &color, bool pointsLeft)
{
    return paint(40, 70, [&](QPainter &p) {
        QPainterPath path;
        if (pointsLeft) {
            path.moveTo(29, 13);
            path.lineTo(11, 35);
            path.lineTo(29, 57);
        } else {
            path.moveTo(11, 13);
            path.lineTo(29, 35);
            path.lineTo(11, 57);
        }
        p.setPen(pen(color, 6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    });
}

QImage indicator(const QColor &lamp, const QColor &skinColor)
{
    return paint(64, 64, [&](QPainter &p) {
        QColor ring = skinColor;
        ring.setAlpha(90);
        p.setPen(Qt::NoPen);
        p.setBrush(ring);
        p.drawEllipse(QPointF(32, 32), 27, 27);
        p.setBrush(lamp);
        p.drawEllipse(QPointF(32, 32), 23, 23);
        QColor shine(Qt::white);
        shine.setAlpha(70);
        p.setBrush(shine);
        p.drawEllipse(QPointF(26, 25), 8, 6);
    });
}

void drawSpeaker(QPainter &p, const QColor &color)
{
    QPainterPath speaker;
    speaker.moveTo(14, 37);
    speaker.lineTo(28, 37);
    speaker.lineTo(48, 19);
    speaker.lineTo(48, 77);
    speaker.lineTo(28, 59);
    speaker.lineTo(14, 59);
    speaker.closeSubpath();
    p.setPen(pen(color, 4));
    p.setBrush(color);
    p.drawPath(speaker);
}

} // namespace

namespace SkinImages {

void makeBaseSkin(ArtOutput &out, const char *skinName)
{
    const QColor color = skinInk(skinName);

    out.write(chevron(color, true), skinPath(skinName, "arrow_left.png"));
    out.write(chevron(color, false), skinPath(skinName, "arrow_right.png"));

    out.write(indicator(QColor(QStringLiteral("#E53935")), color),
              skinPath(skinName, "indicator_red.png"));
    out.write(indicator(QColor(QStringLiteral("#43A047")), color),
              skinPath(skinName, "indicator_grn.png"));
    out.write(indicator(QColor(QStringLiteral("#FBC02D")), color),
              skinPath(skinName, "indicator_ylw.png"));

    out.write(paint(64, 64,
                    [&](QPainter &p) {
                        p.setPen(pen(color, 6));
                        for (qreal y : {18.0, 32.0, 46.0})
                            p.drawLine(QPointF(13, y), QPointF(51, y));
                    }),
              skinPath(skinName, "menu.png"));

    // Sound on: the speaker with its waves.
    out.write(paint(96, 96,
                    [&](QPainter &p) {
                        drawSpeaker(p, color);
                        p.setPen(pen(color, 6));
                        p.setBrush(Qt::NoBrush);
                        p.drawArc(QRectF(42, 34, 28, 28), -50 * 16, 100 * 16);
                        p.drawArc(QRectF(34, 20, 52, 56), -50 * 16, 100 * 16);
                    }),
              skinPath(skinName, "mute_off.png"));

    // The maker's emblem: a ring around the bars of a level meter.
    out.write(paint(128, 128,
                    [&](QPainter &p) {
                        p.setPen(pen(color, 9));
                        p.setBrush(Qt::NoBrush);
                        p.drawEllipse(QPointF(64, 64), 52, 52);
                        p.setPen(pen(color, 9));
                        const qreal heights[] = {18, 38, 56, 30, 14};
                        for (int i = 0; i < 5; ++i) {
                            const qreal x = 36 + i * 14;
                            p.drawLine(QPointF(x, 64 - heights[i] / 2),
                                       QPointF(x, 64 + heights[i] / 2));
                        }
                    }),
              skinPath(skinName, "logo_orvane.png"));

    // The remote app's emblem: an app tile holding two faders.
    out.write(paint(128, 128,
                    [&](QPainter &p) {
                        p.setPen(pen(color, 8));
                        p.setBrush(Qt::NoBrush);
                        p.drawRoundedRect(QRectF(14, 14, 100, 100), 26, 26);
                        p.setPen(pen(color, 5));
                        p.drawLine(QPointF(48, 36), QPointF(48, 92));
                        p.drawLine(QPointF(80, 36), QPointF(80, 92));
                        p.setPen(Qt::NoPen);
                        p.setBrush(color);
                        p.drawRoundedRect(QRectF(36, 68, 24, 12), 4, 4);
                        p.drawRoundedRect(QRectF(68, 46, 24, 12), 4, 4);
                    }),
              skinPath(skinName, "logo_zr.png"));
}

void makeAccent(ArtOutput &out, const char *accentName, const char *accentColor)
{
    const QColor color{QLatin1String(accentColor)};
    const QByteArray folder = QByteArray("Accent/") + accentName;

    // The drop-list arrow is drawn 1.7 times as wide as it is high.
    out.write(paint(68, 40,
                    [&](QPainter &p) {
                        QPainterPath path;
                        path.moveTo(14, 10);
                        path.lineTo(34, 30);
                        path.lineTo(54, 10);
                        p.setPen(pen(color, 7));
                        p.setBrush(Qt::NoBrush);
                        p.drawPath(path);
                    }),
              skinPath(folder.constData(), "arrow_down.png"));

    // Muted: the speaker crossed out.
    out.write(paint(96, 96,
                    [&](QPainter &p) {
                        drawSpeaker(p, color);
                        p.setPen(pen(color, 6));
                        p.drawLine(QPointF(60, 37), QPointF(82, 59));
                        p.drawLine(QPointF(82, 37), QPointF(60, 59));
                    }),
              skinPath(folder.constData(), "mute_on.png"));
}

} // namespace SkinImages
