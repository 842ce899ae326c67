#include "TreeIcons.h"

#include "ArtKit.h"
#include "ArtOutput.h"

using namespace ArtKit;

namespace {

// Tree rows are small: the shapes sit on half pixels so 1-pixel lines stay sharp.
const int kSize = 16;

QString iconPath(const char *name)
{
    return QStringLiteral("images/") + QLatin1String(name) + QStringLiteral(".png");
}

// A portrait panel with the tool bar strip on top; content is drawn inside.
template <typename Fn>
QImage panelIcon(Fn content)
{
    return paint(kSize, kSize, [&](QPainter &p) {
        fillOutline(p, QRectF(2.5, 0.5, 11, 15), 1, paper(), ink(), 1);
        fillOutline(p, QRectF(3, 1, 10, 3), 0, blue(), QColor(), 0);
        content(p);
    });
}

} // namespace

namespace TreeIcons {

void makeDocumentIcons(ArtOutput &out)
{
    // A collection groups its panels like a folder.
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        QPainterPath back;
                        back.moveTo(0.5, 2.5);
                        back.lineTo(5.5, 2.5);
                        back.lineTo(7, 4);
                        back.lineTo(15.5, 4);
                        back.lineTo(15.5, 13.5);
                        back.lineTo(0.5, 13.5);
                        back.closeSubpath();
                        fillOutline(p, back, amberDark(), amberDark(), 1);
                        fillOutline(p, QRectF(3, 5.5, 5, 6), 0, paper(), QColor(), 0);
                        fillOutline(p, QRectF(9, 5.5, 5, 6), 0, paper(), QColor(), 0);
                        fillOutline(p, QRectF(0.5, 8.5, 15, 5), 0, amber(), amberDark(), 1);
                    }),
              iconPath("Collections"));

    // A complete panel is full of controls.
    out.write(panelIcon([](QPainter &p) {
                  p.setPen(Qt::NoPen);
                  p.setBrush(blue());
                  p.drawRect(QRectF(4.5, 6, 3, 3));
                  p.drawRect(QRectF(8.5, 6, 3, 3));
                  p.drawRect(QRectF(4.5, 10.5, 3, 3));
                  p.drawRect(QRectF(8.5, 10.5, 3, 3));
              }),
              iconPath("CompletePanel"));

    // A template panel waits for something to be dropped into its site.
    out.write(panelIcon([](QPainter &p) {
                  QPen dashed(blue(), 1, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
                  dashed.setDashPattern({1.5, 1.5});
                  p.setPen(dashed);
                  p.setBrush(Qt::NoBrush);
                  p.drawRect(QRectF(4.5, 5.5, 7, 8));
              }),
              iconPath("TemplatePanel"));

    // A custom panel holds one control of the user's own.
    out.write(panelIcon([](QPainter &p) {
                  p.setPen(Qt::NoPen);
                  p.setBrush(green());
                  p.drawEllipse(QPointF(8, 9.5), 3, 3);
              }),
              iconPath("CustomPanel"));
}

void makeParameterIcons(ArtOutput &out)
{
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        fillOutline(p, QRectF(0.5, 3.5, 15, 9), 2.5, blue(), blueDark(), 1);
                        p.setPen(pen(paper(), 1.5));
                        p.drawLine(QPointF(5, 8), QPointF(11, 8));
                    }),
              iconPath("ButtonIcon"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        fillOutline(p, QRectF(0.5, 3.5, 15, 9), 1.5, paper(), ink(), 1);
                        fillOutline(p, QRectF(10, 4, 5, 8), 0, blue(), QColor(), 0);
                        p.setPen(pen(grey(), 1.5));
                        p.drawLine(QPointF(3, 8), QPointF(7.5, 8));
                        QPainterPath down;
                        down.moveTo(10.8, 6.8);
                        down.lineTo(14.2, 6.8);
                        down.lineTo(12.5, 9.5);
                        down.closeSubpath();
                        fillOutline(p, down, paper(), QColor(), 0);
                    }),
              iconPath("DropListIcon"));

    // A fader: groove, scale marks and the knob.
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        p.setPen(pen(ink(), 1.5));
                        p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
                        p.setPen(pen(grey(), 1));
                        for (qreal y : {2.5, 5.5, 8.5, 11.5, 14.5}) {
                            p.drawLine(QPointF(1.5, y), QPointF(3.5, y));
                            p.drawLine(QPointF(12.5, y), QPointF(14.5, y));
                        }
                        fillOutline(p, QRectF(4.5, 7.5, 7, 4), 1, blue(), blueDark(), 1);
                        p.setPen(pen(paper(), 1));
                        p.drawLine(QPointF(5.5, 9.5), QPointF(10.5, 9.5));
                    }),
              iconPath("SliderIcon"));

    // A parameter set: a list of rows that can be checked.
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        const qreal rows[] = {1.5, 6.5, 11.5};
                        for (int i = 0; i < 3; ++i) {
                            const qreal y = rows[i];
                            const bool checked = i != 1;
                            fillOutline(p, QRectF(0.5, y - 0.5, 4, 4), 0.5,
                                        checked ? green() : paper(),
                                        checked ? greenDark() : ink(), 1);
                            p.setPen(pen(ink(), 1.5));
                            p.drawLine(QPointF(7, y + 1.5), QPointF(14.5, y + 1.5));
                        }
                    }),
              iconPath("ParameterSetIcon"));
}

void makeGraphicIcons(ArtOutput &out)
{
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        QPainterPath letter;
                        letter.moveTo(3, 13.5);
                        letter.lineTo(8, 1.5);
                        letter.lineTo(13, 13.5);
                        letter.moveTo(5, 9.2);
                        letter.lineTo(11, 9.2);
                        p.setPen(pen(ink(), 1.9));
                        p.setBrush(Qt::NoBrush);
                        p.drawPath(letter);
                        p.setPen(pen(blue(), 1.5));
                        p.drawLine(QPointF(1.5, 15), QPointF(14.5, 15));
                    }),
              iconPath("AddLabel"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        fillOutline(p, QRectF(0.5, 2.5, 15, 11), 1, blueLight(), ink(), 1);
                        QPainterPath hills;
                        hills.moveTo(1, 13);
                        hills.lineTo(5.5, 7);
                        hills.lineTo(9, 11);
                        hills.lineTo(11, 9);
                        hills.lineTo(15, 13);
                        hills.closeSubpath();
                        fillOutline(p, hills, green(), QColor(), 0);
                        p.setPen(Qt::NoPen);
                        p.setBrush(amber());
                        p.drawEllipse(QPointF(11.5, 5.8), 1.6, 1.6);
                    }),
              iconPath("AddImage"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        QColor fill = blue();
                        fill.setAlpha(60);
                        fillOutline(p, QRectF(1.5, 2.5, 13, 11), 1.5, fill, blue(), 2);
                    }),
              iconPath("AddFrame"));

    // A free-form region with the grey vertex handles it shows while edited.
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        const QPointF corners[] = {{2, 10.5}, {5, 2.5}, {13, 4.5}, {14, 12},
                                                   {7.5, 14}};
                        QPainterPath outline;
                        outline.moveTo(corners[0]);
                        for (const QPointF &c : corners)
                            outline.lineTo(c);
                        outline.closeSubpath();
                        QColor fill = blue();
                        fill.setAlpha(90);
                        fillOutline(p, outline, fill, blue(), 1.2);
                        p.setPen(Qt::NoPen);
                        p.setBrush(ink());
                        for (const QPointF &c : corners)
                            p.drawRect(QRectF(c.x() - 1.5, c.y() - 1.5, 3, 3));
                    }),
              iconPath("polygon"));
}

void makeTabIcons(ArtOutput &out)
{
    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        p.setPen(pen(ink(), 1));
                        p.drawLine(QPointF(3.5, 5), QPointF(3.5, 12.5));
                        p.drawLine(QPointF(3.5, 8.5), QPointF(8, 8.5));
                        p.drawLine(QPointF(3.5, 12.5), QPointF(8, 12.5));
                        fillOutline(p, QRectF(0.5, 0.5, 7, 5), 0.5, amber(), amberDark(), 1);
                        fillOutline(p, QRectF(8.5, 6.5, 7, 4), 0.5, blue(), blueDark(), 1);
                        fillOutline(p, QRectF(8.5, 10.5, 7, 4), 0.5, blue(), blueDark(), 1);
                    }),
              iconPath("ProjectTreeView"));

    out.write(paint(kSize, kSize,
                    [](QPainter &p) {
                        fillOutline(p, QRectF(0.5, 0.5, 15, 15), 1, paper(), ink(), 1);
                        for (qreal y : {4.0, 8.0, 12.0}) {
                            p.setPen(Qt::NoPen);
                            p.setBrush(blue());
                            p.drawRect(QRectF(2.5, y - 1, 3, 2));
                            p.setPen(pen(grey(), 1.5));
                            p.drawLine(QPointF(7.5, y), QPointF(13, y));
                        }
                    }),
              iconPath("PropertiesView"));
}

void makePlaceholderImage(ArtOutput &out)
{
    // Neutral on purpose: it stands for a picture the user has yet to choose.
    out.write(paint(128, 128,
                    [](QPainter &p) {
                        const QColor back(QStringLiteral("#ECEFF1"));
                        const QColor line(QStringLiteral("#A8AAAD"));
                        fillOutline(p, QRectF(8, 16, 112, 96), 10, back, line, 4);
                        QPainterPath hills;
                        hills.moveTo(22, 96);
                        hills.lineTo(50, 58);
                        hills.lineTo(70, 82);
                        hills.lineTo(82, 70);
                        hills.lineTo(106, 96);
                        hills.closeSubpath();
                        fillOutline(p, hills, QColor(QStringLiteral("#C7CBCE")), line, 4);
                        p.setPen(pen(line, 4));
                        p.setBrush(QColor(QStringLiteral("#C7CBCE")));
                        p.drawEllipse(QPointF(88, 42), 9, 9);
                    }),
              QStringLiteral("images/default.png"));
}

} // namespace TreeIcons
