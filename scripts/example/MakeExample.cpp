// Builds examples/conference-room.cpz, the example panel, the way a user
// builds one in the program: a new document from the blank template, the
// design imported, controls dropped from the design and the graphics,
// resized and set up through their properties, pages and collections added,
// then saved. Every control type appears in it.
//
//     make_example [OUTPUT.cpz]
//
// Without an argument it writes the example in the source tree. The canvas is
// drawn offscreen with the software renderer, so no display is needed.

#include "app/AppResources.h"
#include "app/MModel.h"
#include "controls/WRegion.h"
#include "controls/WWidget.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CLoadContext.h"
#include "document/USettings.h"
#include "views/VQmlFrame.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QQuickItem>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace {

const QString SourceDir = QStringLiteral(ZRB_SOURCE_DIR);

// The panel is laid out on a grid of this size: the content area of the
// canvas below (an iPad mini upright at 96 dots per inch).
constexpr double GridWidth = 452.0;
constexpr double GridHeight = 493.0;

const QColor Accent(0x1d, 0x98, 0xd5);
const QColor Ink(0x23, 0x1f, 0x20);
const QColor Card(0xf1, 0xf4, 0xf7);
const QColor CardEdge(0xd4, 0xda, 0xe0);
const QColor Muted(0x6d, 0x6e, 0x71);

void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Where the pictures and the page template are drawn before they are packed.
QTemporaryDir *scratch = nullptr;

[[noreturn]] void fail(const QString &what)
{
    std::fprintf(stderr, "make_example: %s\n", qPrintable(what));
    if (scratch)
        scratch->remove();
    std::exit(1);
}

// The floor plan of the rooms: Room A with its table, the screen wall and
// the L-shaped annex beside it. Regions are laid over the rooms by these
// same coordinates.
const QSize PlanSize(600, 400);
const QPolygonF
    AnnexOutline({{400, 20}, {580, 20}, {580, 380}, {490, 380}, {490, 270}, {400, 270}});
const QRectF TableArea(110, 140, 200, 120);

QImage drawFloorPlan()
{
    QImage image(PlanSize, QImage::Format_ARGB32);
    image.fill(QColor(0xfa, 0xfb, 0xfc));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Floors.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0xee, 0xf3));
    p.drawRect(QRectF(20, 20, 380, 360));
    p.setBrush(QColor(0xf0, 0xeb, 0xe1));
    p.drawPolygon(AnnexOutline);
    // Walls, with a door between the rooms and one to the corridor.
    QPen wall(QColor(0x4a, 0x55, 0x60), 8, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p.setPen(wall);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{400, 150}, {400, 20}, {20, 20}, {20, 380}, {170, 380}}));
    p.drawPolyline(QPolygonF({{240, 380}, {400, 380}, {400, 210}}));
    p.drawPolyline(
        QPolygonF({{400, 20}, {580, 20}, {580, 380}, {490, 380}, {490, 270}, {400, 270}}));
    p.setPen(QPen(QColor(0x4a, 0x55, 0x60), 2));
    p.drawArc(QRectF(340, 150, 120, 120), 90 * 16, 90 * 16);
    // The screen on the far wall.
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawRoundedRect(QRectF(150, 30, 120, 10), 3, 3);
    // The table and its chairs.
    p.setBrush(QColor(0xb9, 0x8b, 0x5e));
    p.drawRoundedRect(TableArea, 40, 40);
    p.setBrush(QColor(0x7d, 0x8a, 0x96));
    for (int i = 0; i < 4; ++i) {
        const double x = TableArea.left() + 30 + i * 47;
        p.drawEllipse(QPointF(x, TableArea.top() - 18), 13, 13);
        p.drawEllipse(QPointF(x, TableArea.bottom() + 18), 13, 13);
    }
    p.drawEllipse(QPointF(TableArea.left() - 20, TableArea.center().y()), 13, 13);
    // Ceiling speakers.
    p.setPen(QPen(Accent, 3));
    p.setBrush(Qt::NoBrush);
    for (const QPointF &at : {QPointF(80, 80), QPointF(340, 80), QPointF(80, 320),
                              QPointF(340, 320), QPointF(490, 80), QPointF(540, 220)})
        p.drawEllipse(at, 11, 11);
    // Names.
    QFont font = p.font();
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x4a, 0x55, 0x60));
    p.drawText(QRectF(20, 290, 380, 60), Qt::AlignCenter, QStringLiteral("ROOM A"));
    p.drawText(QRectF(400, 110, 180, 60), Qt::AlignCenter, QStringLiteral("ANNEX"));
    return image;
}

// The venue's mark: a rounded tile with a level meter.
QImage drawLogo()
{
    QImage image(QSize(128, 128), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawRoundedRect(QRectF(4, 4, 120, 120), 28, 28);
    p.setBrush(Qt::white);
    const int heights[] = {36, 64, 88, 52, 72};
    for (int i = 0; i < 5; ++i)
        p.drawRoundedRect(QRectF(22 + i * 18, 100 - heights[i], 12, heights[i]), 6, 6);
    return image;
}

// The canvas of the program, offscreen, as zrbtool render has it.
class Builder
{
public:
    Builder()
    {
        canvas.setDpiOverride(96.0f);
        model.setCanvas(&canvas);
        frame.initialize(false);
        model.initialize();
        model.setQmlFrame(&frame);
        frame.setModel(&model);
        canvas.attachView(&frame);
        frame.setResizeMode(QQuickView::SizeRootObjectToView);
        frame.setSource(QUrl(QStringLiteral("qrc:/qml/QmlDesktop.qml")));
        frame.show();
    }

    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        model.canvasResize();
        QCoreApplication::processEvents();
    }

    // The device, as the canvas set-up dialog chooses it.
    void chooseDevice()
    {
        canvas.setDevice(QStringLiteral("Apple iPad mini"));
        canvas.setSize(7.755f);
        canvas.setAspect(1.307f);
        canvas.setOrientation(1);
        canvas.setSkin(QStringLiteral("Light"));
        canvas.setAccent(QStringLiteral("Blue"));
        canvas.computePixelSize();
        const QSize size(canvas.width(), canvas.height());
        frame.resize(size);
        if (QQuickItem *root = frame.rootObject())
            root->setSize(size);
        settle();
    }

    // The current panel's area as the canvas shows it; the layout below is
    // given on the grid and mapped into it.
    QRectF area() const
    {
        CComposite *panel = model.currentPanel();
        return panel ? panel->bounds() : QRectF();
    }

    QPointF at(double x, double y) const
    {
        const QRectF a = area();
        return QPointF(a.x() + x * a.width() / GridWidth, a.y() + y * a.height() / GridHeight);
    }

    double unit() const { return area().height() / GridHeight; }

    // A page from a panel template, added to a collection as the layout
    // dialog's Add Panel does (named after the template), then titled.
    CComposite *addPage(CComposite *collection, const QString &templatePath, const QString &name)
    {
        model.selectCollection(collection->name());
        auto *panel = new CComposite();
        collection->addChild(panel);
        panel->setModel(&model);
        CLoadContext context;
        context.hardware = model.hardwareRoot();
        if (!panel->loadFile(templatePath, context))
            fail(QStringLiteral("cannot read %1").arg(templatePath));
        panel->assignKind(QStringLiteral("Panel"));
        panel->setPanelKind(QString());
        panel->setName(QFileInfo(templatePath).completeBaseName());
        model.selectPanel(panel);
        model.refreshViewState();
        retitle(panel, name);
        fitBounds();
        return panel;
    }

    // Edit Title of the layout dialog: the panel's name and its title label.
    void retitle(CComposite *panel, const QString &name)
    {
        panel->setName(name);
        for (CControl *child : panel->children()) {
            if (child->name() == QLatin1String("Title") && child->type() == QLatin1String("Label"))
                child->items().value(0)->setTitle(name);
        }
    }

    // The templates' pages are narrower than the tablet's content area; the
    // example's pages fill it.
    void fitBounds()
    {
        CComposite *panel = model.currentPanel();
        CControl *bounds = nullptr;
        for (CControl *child : panel->children()) {
            if (child->findItem(QStringLiteral("bounds")))
                bounds = child;
        }
        if (!bounds)
            fail(QStringLiteral("the page has no bounds"));
        widget(bounds, QStringLiteral("bounds"))
            ->setAttribute(0x4003, bounds->bounds().height() * GridWidth / GridHeight);
        model.refreshViewState();
        settle();
        // The title goes to the page's head.
        for (CControl *child : panel->children()) {
            if (child->name() == QLatin1String("Title"))
                place(child, QRectF(64, 10, 300, 36));
        }
    }

    static WWidget *widget(CControl *control, const QString &type = QString())
    {
        CItem *item = type.isEmpty() ? control->mainItem() : control->findItem(type);
        auto *w = item ? qobject_cast<WWidget *>(item->itemObject()) : nullptr;
        if (!w)
            fail(QStringLiteral("control %1 has no live %2 item").arg(control->name(), type));
        return w;
    }

    // Moves and sizes a control to a rectangle of the grid, as dragging and
    // the properties panel's size fields do.
    void place(CControl *control, const QRectF &grid)
    {
        const QPointF topLeft = at(grid.x(), grid.y());
        const QRectF now = control->bounds();
        control->moveBy(topLeft.x() - now.x(), topLeft.y() - now.y());
        WWidget *item = widget(control);
        item->setAttribute(0x4003, grid.width() * unit());
        item->setAttribute(0x4004, grid.height() * unit());
    }

    HNode *node(const QString &label) const
    {
        HNode *found = model.hardwareRoot()->findByProperty(QStringLiteral("label"), label);
        if (!found)
            fail(QStringLiteral("the design has no %1").arg(label));
        return found;
    }

    // A parameter dragged from the project tree onto the page.
    CControl *drop(const QString &label, const QString &parameter, const QRectF &grid)
    {
        CControl *control = model.createNodeControl(node(label), parameter, at(grid.x(), grid.y()));
        if (!control)
            fail(QStringLiteral("%1 offers no %2").arg(label, parameter));
        place(control, grid);
        return control;
    }

    CControl *graphic(const QString &kind, const QRectF &grid)
    {
        CControl *control = model.createGraphicControl(kind, at(grid.x(), grid.y()));
        if (!control)
            fail(QStringLiteral("no %1 graphic").arg(kind));
        place(control, grid);
        return control;
    }

    CControl *label(const QString &text, const QRectF &grid, double scale = 1.0,
                    const QString &align = QStringLiteral("Left"), const QColor &color = Ink)
    {
        CControl *control = graphic(QStringLiteral("Label"), grid);
        WWidget *item = widget(control);
        item->setAttribute(0x4005, text);
        item->setAttribute(0x4100, align);
        item->setAttribute(0x4101, QString::number(scale));
        item->setAttribute(0x4102, color);
        control->setName(text);
        return control;
    }

    CControl *frameAt(const QRectF &grid, const QColor &fill, const QColor &edge)
    {
        CControl *control = graphic(QStringLiteral("Frame"), grid);
        WWidget *item = widget(control);
        item->setAttribute(0x4600, fill);
        item->setAttribute(0x4603, edge);
        item->setAttribute(0x4602, 1.0);
        return control;
    }

    CControl *picture(const QString &path, const QRectF &grid, const QString &name)
    {
        CControl *control = graphic(QStringLiteral("Image"), grid);
        widget(control)->setAttribute(0x4400, path);
        control->setName(name);
        return control;
    }

    CControl *link(CComposite *target, const QRectF &grid, const QString &caption = QString())
    {
        CControl *control = model.createPanelLink(target, at(grid.x(), grid.y()));
        if (!control)
            fail(QStringLiteral("no link to %1").arg(target->name()));
        place(control, grid);
        if (!caption.isEmpty())
            widget(control)->setAttribute(0x4005, caption);
        return control;
    }

    // A region over the floor plan: drawn vertex by vertex as the region
    // tool does, from the plan's own coordinates, linked to a page.
    CControl *region(const QRectF &planOnGrid, const QPolygonF &outline, CComposite *target,
                     const QString &name)
    {
        const double scale = planOnGrid.width() / PlanSize.width();
        const QRectF box = outline.boundingRect();
        CControl *control =
            graphic(QStringLiteral("Region"),
                    QRectF(planOnGrid.x() + box.x() * scale, planOnGrid.y() + box.y() * scale,
                           box.width() * scale, box.height() * scale));
        auto *item = qobject_cast<WRegion *>(widget(control));
        if (!item)
            fail(QStringLiteral("the region graphic is no region"));
        // The template's rectangle gets as many vertices as the outline,
        // the new ones on its corner so nothing moves yet; then each vertex
        // is dragged to its place and the gesture ends.
        while (item->vertices().size() > outline.size())
            item->removeVertex(item->vertices().size() - 1);
        while (item->vertices().size() < outline.size())
            item->insertVertex(0, 0, item->vertices().size());
        for (int i = 0; i < outline.size(); ++i) {
            const QPointF p = (outline.at(i) - box.topLeft()) * scale * unit();
            item->reshape(p.x(), p.y(), i, 1, 0, 0);
        }
        item->reshape(0, 0, -1, 1, 0, 0);
        item->setAttribute(0x4600, QColor(0x1d, 0x98, 0xd5, 0x40));
        item->setAttribute(0x4603, Accent);
        item->setAttribute(0x4602, 2.0);
        item->setAttribute(0x4501, model.documentRoot()->path(target));
        control->setName(name);
        return control;
    }

    // What a drop of a parameter onto a drop site does: the new control
    // takes the site's place and size, and the site holds it.
    CControl *fillSite(CControl *site, const QString &label, const QString &parameter)
    {
        WWidget *item = widget(site, QStringLiteral("dropsite"));
        if (!item->acceptDrop(node(label), parameter))
            fail(QStringLiteral("the site refuses %1").arg(parameter));
        const QRectF rect = item->rootGeometry();
        CControl *control = model.createNodeControl(node(label), parameter, rect.topLeft());
        if (!control)
            fail(QStringLiteral("%1 offers no %2").arg(label, parameter));
        item->setChild(nullptr);
        item->setChild(control);
        control->resizeTo(rect);
        return control;
    }

    CCanvas canvas;
    MModel model;
    VQmlFrame frame;
};

bool savePicture(const QImage &image, const QString &path)
{
    return image.save(path, "PNG");
}

// A page template of the venue, on the example's grid: a site for the
// recorder's fader, with its caption above it.
bool writeRecordingTemplate(const QString &path)
{
    const auto box = [](double x, double y, double w, double h) {
        return QStringLiteral("<x>%1</x><y>%2</y><width>%3</width><height>%4</height>")
            .arg(x)
            .arg(y)
            .arg(w)
            .arg(h);
    };
    const QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZDX>\n<Controls>\n"
                       "<Control name=\"Bounds\" type=\"Frame\"><Property name=\"widget\">"
                       "<bounds>%1</bounds></Property><Property name=\"attributes\"/></Control>\n"
                       "<Control name=\"Title\" type=\"Label\"><Property name=\"widget\">"
                       "<label>%2<text>Recording</text><align>center</align></label>"
                       "</Property><Property name=\"attributes\"/></Control>\n"
                       "<Control name=\"Fader Site\" type=\"DropSite\"><Property name=\"widget\">"
                       "<dropsite>%3<type>Slider</type><title>Fader</title></dropsite>"
                       "<label>%4<text>Title</text><align>center</align></label>"
                       "</Property><Property name=\"attributes\"/></Control>\n"
                       "</Controls>\n</ZDX>\n")
            .arg(box(0, 0, GridWidth, GridHeight), box(64, 10, 300, 36), box(32, 92, 72, 280),
                 box(16, 54, 180, 26));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // Offscreen, with the software renderer, and nothing read from or
    // written to the user's settings (the size tools remember sizes there).
    QTemporaryDir scratchDir;
    if (!scratchDir.isValid())
        fail(QStringLiteral("cannot make a scratch folder"));
    scratch = &scratchDir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratchDir.filePath(QStringLiteral("config"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(scratchDir.filePath(QStringLiteral("cache"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    AppResources::registerAll();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(USettings::organization());
    QApplication::setApplicationName(USettings::application());
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : SourceDir + QStringLiteral("/examples/conference-room.cpz");

    const QString planPath = scratchDir.filePath(QStringLiteral("floor-plan.png"));
    const QString logoPath = scratchDir.filePath(QStringLiteral("logo.png"));
    const QString recordingTemplate = scratchDir.filePath(QStringLiteral("Recording.tpl"));
    if (!savePicture(drawFloorPlan(), planPath) || !savePicture(drawLogo(), logoPath) ||
        !writeRecordingTemplate(recordingTemplate))
        fail(QStringLiteral("cannot write the pictures and the template"));

    Builder b;
    MModel &model = b.model;
    if (!model.newDocument(SourceDir + QStringLiteral("/templates/Blank Panel.tpl")))
        fail(model.lastError());
    b.chooseDevice();
    if (!model.loadDesign(SourceDir + QStringLiteral("/examples/conference-room.zdp")))
        fail(model.lastError());
    // The project tree gives the design its parameter rows.
    QStandardItemModel tree;
    model.hardwareRoot()->populate(&tree);
    model.setEditMode(false);

    // Room A: the home page first, its other pages after it.
    CComposite *roomA = model.currentCollection();
    roomA->setName(QStringLiteral("Room A"));
    CComposite *home = model.currentPanel();
    b.retitle(home, QStringLiteral("Home"));
    b.fitBounds();

    const QString blank = SourceDir + QStringLiteral("/templates/Blank Panel.tpl");
    CComposite *mixer = b.addPage(roomA, blank, QStringLiteral("Mixer"));
    model.selectCollection(roomA->name());
    CComposite *tone = model.addPanel(b.node(QStringLiteral("Room Tone")));
    CComposite *phone = model.addPanel(b.node(QStringLiteral("Conference Phone")));
    if (!tone || !phone)
        fail(QStringLiteral("the whole-node pages were refused"));
    // The tone page's bypass buttons get room for their word.
    for (CControl *control : tone->children()) {
        if (control->name().startsWith(QLatin1String("Bypass"))) {
            const QRectF r = control->bounds();
            control->resizeTo(r.adjusted(-r.width() * 0.08, 0, r.width() * 0.08, 0));
        }
    }

    CComposite *annex = model.addCollection();
    annex->setName(QStringLiteral("Annex"));
    CComposite *annexHome = b.addPage(annex, blank, QStringLiteral("Annex"));
    CComposite *recording = b.addPage(annex, recordingTemplate, QStringLiteral("Recording"));

    // Home: the plan of the rooms, the scenes, the source and the program.
    model.selectCollection(roomA->name());
    model.selectPanel(home);
    b.picture(logoPath, QRectF(16, 10, 36, 36), QStringLiteral("Logo"));
    const QRectF plan(16, 56, 276, 184);
    b.picture(planPath, plan, QStringLiteral("Floor Plan"));
    b.region(plan, AnnexOutline, annexHome, QStringLiteral("Annex Area"));
    b.region(plan, QPolygonF(TableArea.adjusted(-34, -34, 34, 34)), mixer,
             QStringLiteral("Table Area"));
    b.label(QStringLiteral("Tap a room for its controls"), QRectF(16, 242, 276, 22), 0.9,
            QStringLiteral("Center"), Muted);
    b.label(QStringLiteral("Scene"), QRectF(306, 54, 130, 22));
    b.drop(QStringLiteral("Presentation"), QStringLiteral("Presentation"),
           QRectF(306, 78, 130, 30));
    b.drop(QStringLiteral("Video Call"), QStringLiteral("Video Call"), QRectF(306, 116, 130, 30));
    b.label(QStringLiteral("Source"), QRectF(306, 164, 130, 22));
    b.drop(QStringLiteral("Source Select"), QStringLiteral("List"), QRectF(306, 188, 130, 32));
    b.frameAt(QRectF(16, 270, 420, 212), Card, CardEdge);
    CControl *program =
        b.drop(QStringLiteral("Program Level"), QStringLiteral("Level"), QRectF(28, 276, 72, 200));
    // A short fader's caption needs a larger letter than the template's.
    Builder::widget(program, QStringLiteral("label"))->setAttribute(0x4101, QStringLiteral("1.6"));
    b.label(QStringLiteral("Mute"), QRectF(112, 282, 72, 22), 1.0, QStringLiteral("Center"));
    b.drop(QStringLiteral("Program Level"), QStringLiteral("Mute"), QRectF(116, 306, 64, 44));
    b.label(QStringLiteral("Privacy"), QRectF(112, 370, 72, 22), 1.0, QStringLiteral("Center"));
    b.drop(QStringLiteral("Privacy Mute"), QStringLiteral("Mute"), QRectF(116, 394, 64, 44));
    b.link(mixer, QRectF(300, 284, 124, 34));
    b.link(tone, QRectF(300, 330, 124, 34));
    b.link(phone, QRectF(300, 376, 124, 34), QStringLiteral("Phone"));
    b.link(annexHome, QRectF(300, 422, 124, 34));

    // Mixer: one strip per channel, the microphone group among them.
    model.selectPanel(mixer);
    b.frameAt(QRectF(16, 52, 420, 384), Card, CardEdge);
    const QStringList strips = {QStringLiteral("Table Mics"),    QStringLiteral("Laptop Inputs"),
                                QStringLiteral("Dante In"),      QStringLiteral("Microphones"),
                                QStringLiteral("Room Speakers"), QStringLiteral("All Speakers")};
    // Captions short enough for a narrow strip.
    const QStringList captions = {QStringLiteral("Table Mics"), QStringLiteral("Laptop"),
                                  QStringLiteral("Dante In"),   QStringLiteral("All Mics"),
                                  QStringLiteral("Speakers"),   QStringLiteral("All Speakers")};
    for (int i = 0; i < strips.size(); ++i) {
        const double x = 24 + i * 69;
        CControl *strip = b.drop(strips.at(i), QStringLiteral("Level"), QRectF(x, 60, 65, 310));
        Builder::widget(strip, QStringLiteral("label"))->setAttribute(0x4005, captions.at(i));
        // The microphone group has no mute of its own: Privacy Mute is it.
        if (strips.at(i) != QLatin1String("Microphones"))
            b.drop(strips.at(i), QStringLiteral("Mute"), QRectF(x + 4, 382, 57, 44));
    }
    b.link(home, QRectF(16, 448, 124, 34));

    // The annex: its faders, its source, and the way back over the plan.
    model.selectCollection(annex->name());
    model.selectPanel(annexHome);
    b.picture(logoPath, QRectF(16, 10, 36, 36), QStringLiteral("Logo"));
    b.frameAt(QRectF(16, 52, 260, 384), Card, CardEdge);
    b.drop(QStringLiteral("Annex Level"), QStringLiteral("Level"), QRectF(28, 60, 72, 310));
    b.drop(QStringLiteral("Annex Level"), QStringLiteral("Mute"), QRectF(32, 382, 64, 44));
    b.drop(QStringLiteral("Annex Speakers"), QStringLiteral("Level"), QRectF(110, 60, 72, 310));
    b.drop(QStringLiteral("Annex Speakers"), QStringLiteral("Mute"), QRectF(114, 382, 64, 44));
    b.drop(QStringLiteral("Ceiling Zones"), QStringLiteral("Level"), QRectF(192, 60, 72, 310));
    b.drop(QStringLiteral("Ceiling Zones"), QStringLiteral("Mute"), QRectF(196, 382, 64, 44));
    b.label(QStringLiteral("Source"), QRectF(290, 52, 146, 22));
    b.drop(QStringLiteral("Annex Source"), QStringLiteral("Selector"), QRectF(290, 76, 146, 32));
    const QRectF smallPlan(290, 128, 146, 97.3);
    b.picture(planPath, smallPlan, QStringLiteral("Floor Plan"));
    b.region(smallPlan, QPolygonF(QRectF(20, 20, 380, 360)), home, QStringLiteral("Room A Area"));
    b.label(QStringLiteral("Tap Room A to go back"), QRectF(290, 228, 146, 22), 0.9,
            QStringLiteral("Center"), Muted);
    b.link(recording, QRectF(290, 354, 146, 34));
    b.link(home, QRectF(290, 400, 146, 34), QStringLiteral("Room A"));

    // Recording: the recorder's fader sits in a site of the page, with the
    // feed to the other rooms beside it, and the scene list.
    model.selectPanel(recording);
    b.frameAt(QRectF(16, 84, 180, 352), Card, CardEdge);
    CControl *site = nullptr;
    for (CControl *control : recording->children()) {
        if (control->findItem(QStringLiteral("dropsite")))
            site = control;
    }
    if (!site)
        fail(QStringLiteral("the recording page has no site"));
    b.fillSite(site, QStringLiteral("Recorder Feed"), QStringLiteral("Level"));
    b.drop(QStringLiteral("Recorder Feed"), QStringLiteral("Mute"), QRectF(36, 382, 64, 44));
    b.drop(QStringLiteral("Link Out"), QStringLiteral("Level"), QRectF(116, 92, 64, 280));
    b.drop(QStringLiteral("Link Out"), QStringLiteral("Mute"), QRectF(120, 382, 56, 44));
    b.frameAt(QRectF(210, 84, 226, 96), Card, CardEdge);
    b.label(QStringLiteral("Scene"), QRectF(222, 92, 202, 22));
    b.drop(QStringLiteral("Presentation"), QStringLiteral("ParameterList"),
           QRectF(222, 120, 202, 32));
    b.link(annexHome, QRectF(290, 448, 146, 34));

    model.selectCollection(roomA->name());
    model.selectPanel(home);
    b.settle();
    if (!model.save(output))
        fail(model.lastError());
    QTextStream(stdout) << QDir::toNativeSeparators(output) << '\n';
    // Taking the canvas down makes the controls' bindings complain about
    // their vanishing parents, which says nothing about the example.
    qInstallMessageHandler(quietMessages);
    return 0;
}
