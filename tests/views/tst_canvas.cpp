#include "common/EditorTestSupport.h"

#include "app/MModel.h"
#include "document/MProject.h"
#include "app/MCanvasState.h"
#include "app/MOnlineSession.h"
#include "commands/BCommand.h"
#include "commands/BCommandFactory.h"
#include "commands/BCommandProcessor.h"
#include "controls/MQmlInterface.h"
#include "controls/WWidget.h"
#include "design/CParameter.h"
#include "design/HComposite.h"
#include "design/HParameterSet.h"
#include "design/HRoot.h"
#include "dialogs/DQmlMessageDialog.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "views/KQmlController.h"
#include "views/VModeManager.h"
#include "views/VQmlFrame.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSignalSpy>
#include <QSplitter>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <memory>

namespace {

const int Timeout = 20000;

// Warnings of the QML engine and of QML scripts, collected while the tests
// run, so a document with a broken binding fails its test.
QStringList s_qmlWarnings;
QtMessageHandler s_previousHandler = nullptr;

void recordQmlWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    const QByteArray category(context.category ? context.category : "");
    const bool fromQml = category == "qml" || category == "js" ||
                         text.contains(QLatin1String("qrc:/")) ||
                         QByteArray(context.file ? context.file : "").startsWith("qrc:/");
    if (fromQml && (type == QtWarningMsg || type == QtCriticalMsg))
        s_qmlWarnings << text;
    if (s_previousHandler)
        s_previousHandler(type, context, text);
}

// Items by object name in the visual tree (delegates and reparented popups
// are not QObject children of what shows them).
void collectItems(QQuickItem *item, const QString &name, QList<QQuickItem *> &found)
{
    if (!item)
        return;
    if (item->objectName() == name)
        found << item;
    for (QQuickItem *child : item->childItems())
        collectItems(child, name, found);
}

QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    QList<QQuickItem *> found;
    collectItems(root, name, found);
    return found.isEmpty() ? nullptr : found.first();
}

// A real model with a canvas record and the canvas controller on a widget
// tree (window -> central widget), the way the main window holds them.
struct CanvasRig {
    CCanvas canvas;
    MModel model;
    QWidget window;
    QWidget *central = nullptr;
    KQmlController *controller = nullptr;

    CanvasRig()
    {
        model.setCanvas(&canvas);
        model.initialize();
        central = new QWidget(&window);
        window.resize(400, 700);
        central->resize(400, 700);
        controller = new KQmlController(&model, central);
        model.addController(controller);
    }

    VQmlFrame *frame() const { return controller->frame(); }
    MQmlInterface *bridge() const { return frame() ? frame()->interface() : nullptr; }
    QQuickItem *scene() const { return frame() ? frame()->rootObject() : nullptr; }
    QQmlContext *context() const { return frame() ? frame()->engine()->rootContext() : nullptr; }

    QQuickItem *find(const QString &name) const { return findItem(scene(), name); }

    // Shows the canvas at the given size and waits until it is on screen.
    bool show(int width = 300, int height = 600)
    {
        window.show();
        controller->setGeometry(QRect(0, 0, width, height));
        return QTest::qWaitForWindowExposed(frame(), Timeout);
    }
};

void click(QQuickWindow *window, QQuickItem *item)
{
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

// The text of each entry of a popup menu, in the order shown.
QStringList menuEntries(QQuickItem *menu)
{
    QList<QQuickItem *> rows;
    collectItems(menu, QStringLiteral("menuEntry"), rows);
    std::sort(rows.begin(), rows.end(),
              [](QQuickItem *a, QQuickItem *b) { return a->y() < b->y(); });
    QStringList texts;
    for (QQuickItem *row : rows)
        texts << row->property("entryText").toString();
    return texts;
}

// The set-up menu as the bridge published it, "id:text" per entry.
QStringList publishedSetupMenu(const CanvasRig &rig)
{
    QStringList entries;
    const QVariantList published =
        rig.context()->contextProperty(QStringLiteral("setupMenuData")).toList();
    for (const QVariant &entry : published) {
        const QVariantMap fields = entry.toMap();
        entries << QStringLiteral("%1:%2")
                       .arg(fields.value(QStringLiteral("id")).toInt())
                       .arg(fields.value(QStringLiteral("text")).toString());
    }
    return entries;
}

// The row of a popup menu that shows text; null when none does.
QQuickItem *menuRow(QQuickItem *menu, const QString &text)
{
    QList<QQuickItem *> rows;
    collectItems(menu, QStringLiteral("menuEntry"), rows);
    for (QQuickItem *row : rows) {
        if (row->property("entryText").toString() == text)
            return row;
    }
    return nullptr;
}

// A panel with no controls, enough for page stepping.
CComposite *addEmptyPanel(MModel &model, CComposite *collection, const QString &name)
{
    auto *panel = new CComposite();
    panel->assignKind(QStringLiteral("Panel"));
    panel->setName(name);
    collection->addChild(panel);
    panel->setModel(&model);
    return panel;
}

// Records what the bridge hands to the gesture tool.
class RecordingTool : public BCommand
{
public:
    RecordingTool() : BCommand(Transient) {}
    void pointerEvent(double x, double y, int edge, int code, int state) override
    {
        calls << QStringLiteral("pointer %1 %2 %3 %4 %5").arg(x).arg(y).arg(edge).arg(code, 0, 16).arg(state);
    }
    void keyEvent(int key, int modifiers, int code, bool repeat, int state) override
    {
        calls << QStringLiteral("key %1 %2 %3 %4 %5")
                     .arg(key, 0, 16)
                     .arg(modifiers, 0, 16)
                     .arg(code, 0, 16)
                     .arg(repeat)
                     .arg(state);
    }
    QStringList calls;
};

// Keeps the hints the model broadcasts.
class HintLog : public KController
{
public:
    void update(int hint) override { hints << hint; }
    QList<int> hints;
};

class RecordingInterface : public MQmlInterface
{
public:
    RecordingTool tool;

protected:
    BCommand *gestureTool() const override { return const_cast<RecordingTool *>(&tool); }
};

} // namespace

// A drop site that accepts one kind of control.
class KindSite : public WWidget
{
    Q_OBJECT
public:
    explicit KindSite(const QString &kind) : m_kind(kind) {}
    Q_INVOKABLE QString getControlType() const { return m_kind; }

private:
    QString m_kind;
};

class TestCanvas : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void defaultImagesExist();
    void desktopLoadsCleanly();
    void qmlFilesLoadCleanly_data();
    void qmlFilesLoadCleanly();
    void rowPath_data();
    void rowPath();
    void documentValuesReloadChangedRows_data();
    void documentValuesReloadChangedRows();
    void resizeWritesSizeAndRescales();
    void statusBarArrowsStepPages();
    void setupMenuListsItsEntries();
    void collectionsMenuNeedsTwoCollections();
    void postCommand_data();
    void postCommand();
    void bridgeRoutesGesturesOnceAttached();
    void setObjectRoutes();
    void selectionOverlayReports();
    void dropsAndDragsCarryTheirData();
    void messageDialogClosesByButtonOrCancel();
    void messageDialogNeedsCanvas();
    void setupMenuChoices_data();
    void setupMenuChoices();
    void controllerWithoutGrandparent();
};

void TestCanvas::initTestCase()
{
    s_previousHandler = qInstallMessageHandler(recordQmlWarnings);
}

void TestCanvas::init()
{
    s_qmlWarnings.clear();
}

// Also catches what the QML documents report while the canvas is taken down.
void TestCanvas::cleanup()
{
    QVERIFY2(s_qmlWarnings.isEmpty(), qPrintable(s_qmlWarnings.join(QLatin1Char('\n'))));
}

void TestCanvas::cleanupTestCase()
{
    qInstallMessageHandler(s_previousHandler);
}

void TestCanvas::defaultImagesExist()
{
    // The bridge's image paths are relative to the documents in qml/objects/.
    VQmlFrame frame;
    frame.initialize(true);
    QVERIFY(frame.interface());
    const QUrl base(QStringLiteral("qrc:/qml/objects/QmlToolBarObject.qml"));
    for (const char *name : {"rightArrow", "leftArrow", "setupButton", "connectInd", "muteOff",
                             "downArrow", "muteOn", "orvaneLogo", "zrLogo"}) {
        const QUrl url = base.resolved(QUrl(frame.interface()->property(name).toString()));
        const QString path = QLatin1Char(':') + url.path();
        QVERIFY2(QFile::exists(path), qPrintable(QStringLiteral("%1 names %2, which is not among "
                                                                 "the resources")
                                                      .arg(QLatin1String(name), path)));
    }
}

void TestCanvas::desktopLoadsCleanly()
{
    CanvasRig rig;
    rig.model.addCollection();
    rig.model.addCollection();
    QVERIFY(rig.show());
    QCOMPARE(rig.frame()->source(), QUrl(QStringLiteral("qrc:/qml/QmlDesktop.qml")));
    // Both default rows were loaded.
    QVERIFY(rig.find(QStringLiteral("setupButton")));
    QVERIFY(rig.find(QStringLiteral("sceneTitle")));

    // The scene and control area announce themselves, again after a rebuild.
    for (int build = 0; build < 2; ++build) {
        QVERIFY2(rig.scene(), "the desktop scene did not load");
        auto *controlArea = rig.find(QStringLiteral("controlObject"));
        QVERIFY(controlArea);
        QCOMPARE(rig.bridge()->viewItem(), controlArea);
        QCOMPARE(rig.bridge()->scene(), static_cast<QObject *>(rig.scene()));
        QCOMPARE(VModeManager::instance()->canvas(), static_cast<QObject *>(rig.scene()));
        QCOMPARE(rig.model.canvasItem(), controlArea);
        QCOMPARE(rig.canvas.scene(), static_cast<QObject *>(rig.scene()));
        QCOMPARE(rig.model.qmlRoot(), static_cast<QObject *>(rig.bridge()));
        QCOMPARE(rig.model.qmlFrame(), rig.frame());
        QCOMPARE(rig.canvas.view(), static_cast<QQuickView *>(rig.frame()));
        if (build == 1)
            break;
        QPointer<VQmlFrame> oldFrame = rig.frame();
        QPointer<MQmlInterface> oldBridge = rig.bridge();
        rig.controller->rebuild();
        QVERIFY(oldFrame.isNull() && oldBridge.isNull());
    }
    // The rebuilt canvas lists the menus again.
    QCOMPARE(publishedSetupMenu(rig).count(), 5);
    QCOMPARE(rig.context()->contextProperty(QStringLiteral("sceneMenuData")).toStringList(),
             (QStringList{QStringLiteral("COLLECTION1"), QStringLiteral("COLLECTION2")}));

    // The new canvas still reaches the model: a press on the empty canvas
    // cancels an edit, in edit mode only.
    rig.controller->setGeometry(QRect(0, 0, 300, 500));
    QVERIFY(QTest::qWaitForWindowExposed(rig.frame(), Timeout));
    QTRY_COMPARE_WITH_TIMEOUT(rig.scene()->height(), 500.0, Timeout);
    QSignalSpy cancelled(rig.bridge(), &MQmlInterface::editCancelled);
    click(rig.frame(), rig.find(QStringLiteral("controlObject")));
    QCOMPARE(cancelled.count(), 0);
    rig.model.setEditMode(true);
    QCOMPARE(rig.bridge()->property("editModeEnable").toBool(), true);
    click(rig.frame(), rig.find(QStringLiteral("controlObject")));
    QTRY_COMPARE_WITH_TIMEOUT(cancelled.count(), 1, Timeout);
}

void TestCanvas::qmlFilesLoadCleanly_data()
{
    QTest::addColumn<QString>("url");
    for (const char *file :
         {"qrc:/qml/QmlInterface.qml", "qrc:/qml/objects/QmlToolBarObject.qml",
          "qrc:/qml/objects/QmlMinToolBarObject.qml", "qrc:/qml/objects/QmlStatusBarObject.qml",
          "qrc:/qml/objects/QmlPopupMenu.qml", "qrc:/qml/objects/QmlMessageDialog.qml",
          "qrc:/qml/objects/QmlAboutDialog.qml", "qrc:/qmlcontrol/QmlSelect.qml"}) {
        QTest::newRow(file) << QString::fromLatin1(file);
    }
}

void TestCanvas::qmlFilesLoadCleanly()
{
    QFETCH(QString, url);

    CanvasRig rig;
    QVERIFY(rig.show());
    // The scene's own load is checked in desktopLoadsCleanly; the engine's
    // warnings reach the message handler and so cleanup().
    s_qmlWarnings.clear();

    QQmlComponent component(rig.frame()->engine(), QUrl(url));
    QVERIFY2(component.isReady(), qPrintable(component.errorString()));
    std::unique_ptr<QObject> object(component.create(rig.context()));
    QVERIFY2(object, qPrintable(component.errorString()));
    // Placed on the canvas so bindings to the parent are evaluated.
    if (auto *item = qobject_cast<QQuickItem *>(object.get())) {
        item->setParentItem(rig.scene());
        item->setVisible(true);
    }
    QCoreApplication::processEvents();
}

void TestCanvas::rowPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<double>("ratio");

    QTest::newRow("nothing") << QStringLiteral("?") << 0.0;
    QTest::newRow("none chosen") << QString() << 0.0;
    QTest::newRow("tool bar") << QStringLiteral("qrc:/qml/objects/QmlToolBarObject.qml") << 0.085;
    QTest::newRow("minimal tool bar") << QStringLiteral("qrc:/qml/objects/QmlMinToolBarObject.qml")
                                      << 0.085 * 0.625;
    QTest::newRow("status bar") << QStringLiteral("qrc:/qml/objects/QmlStatusBarObject.qml") << 0.08;
}

void TestCanvas::rowPath()
{
    QFETCH(QString, path);
    QFETCH(double, ratio);

    CanvasRig rig;
    QVERIFY(rig.show(300, 600));
    QTRY_COMPARE_WITH_TIMEOUT(rig.scene()->height(), 600.0, Timeout);

    // The record writes the rows into the scene, the model's signal reloads.
    rig.canvas.setValue(QStringLiteral("topRow"), path);
    rig.canvas.setValue(QStringLiteral("bottomRow"), path);
    QCOMPARE(rig.canvas.topRow(), path);
    emit rig.model.reloadCanvas();

    const double height = 600 * ratio;
    auto *top = rig.find(QStringLiteral("topArea"));
    auto *bottom = rig.find(QStringLiteral("bottomArea"));
    auto *controlArea = rig.find(QStringLiteral("controlObject"));
    QVERIFY(top && bottom && controlArea);
    QTRY_COMPARE_WITH_TIMEOUT(top->height(), height, Timeout);
    QCOMPARE(bottom->height(), height);
    QCOMPARE(top->childItems().isEmpty(), ratio == 0.0);
    // The control area takes what the rows leave.
    QCOMPARE(controlArea->height(), 600 - 2 * height);

    // A reset brings the default rows back.
    emit rig.model.resetCanvas();
    QCOMPARE(rig.scene()->property("topRow").toString(),
             QStringLiteral("qrc:/qml/objects/QmlToolBarObject.qml"));
    QCOMPARE(rig.scene()->property("bottomRow").toString(),
             QStringLiteral("qrc:/qml/objects/QmlStatusBarObject.qml"));
}

void TestCanvas::documentValuesReloadChangedRows_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value"); // empty: the document names what is shown
    QTest::addColumn<bool>("reloads");

    QTest::newRow("same rows and skin") << QString() << QString() << false;
    QTest::newRow("other top row") << QStringLiteral("topRow")
                                   << QStringLiteral("qrc:/qml/objects/QmlMinToolBarObject.qml")
                                   << true;
    QTest::newRow("other bottom row") << QStringLiteral("bottomRow") << QStringLiteral("?") << true;
    QTest::newRow("other accent") << QStringLiteral("accent") << QStringLiteral("Red") << true;
}

void TestCanvas::documentValuesReloadChangedRows()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, reloads);

    CanvasRig rig;
    QVERIFY(rig.show(300, 600));
    const QVariant top = rig.scene()->property("topObject");
    const QVariant bottom = rig.scene()->property("bottomObject");
    QVERIFY(top.value<QObject *>() && bottom.value<QObject *>());

    // A document read aside, as an open reads it, then taken over.
    CCanvas read;
    read.copyDocumentValues(rig.canvas);
    if (!key.isEmpty())
        read.setValue(key, value);
    rig.canvas.takeDocumentValues(read);
    const bool reloaded = rig.scene()->property("topObject") != top ||
                          rig.scene()->property("bottomObject") != bottom;
    QCOMPARE(reloaded, reloads);
    if (key == QLatin1String("topRow"))
        QCOMPARE(rig.scene()->property("topRow").toString(), value);
}

void TestCanvas::resizeWritesSizeAndRescales()
{
    CanvasRig rig;
    QVERIFY(rig.show(300, 600));
    QSplitter *splitter = rig.controller->splitter();
    QVERIFY(splitter);

    // The rectangle's right and bottom are inclusive.
    rig.controller->setGeometry(QRect(QPoint(10, 4), QPoint(329, 683)));
    QCOMPARE(splitter->pos(), QPoint(10, 4));
    QCOMPARE(splitter->size(), QSize(320, 680));

    QTRY_COMPARE_WITH_TIMEOUT(rig.scene()->width(), 320.0, Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(rig.scene()->height(), 680.0, Timeout);

    // The scene asked the model to rescale for the new control area.
    auto *controlArea = rig.find(QStringLiteral("controlObject"));
    QVERIFY(controlArea);
    const double expected = controlArea->height() / 340.0;
    QTRY_VERIFY2_WITH_TIMEOUT(
        qAbs(rig.bridge()->property("viewScale").toDouble() - expected) < 1e-4,
        qPrintable(QStringLiteral("viewScale %1, expected %2")
                       .arg(rig.bridge()->property("viewScale").toDouble())
                       .arg(expected)),
        Timeout);
    QCOMPARE(rig.bridge()->property("textSize").toInt(), int(float(expected) * 12));
    QVERIFY(qAbs(rig.bridge()->property("menuTextSize").toDouble() -
                 controlArea->height() * 0.0375) < 1e-4);

    rig.controller->setGeometry(QRect(10, 4, 250, 400));
    QTRY_COMPARE_WITH_TIMEOUT(rig.scene()->height(), 400.0, Timeout);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(rig.bridge()->property("viewScale").toDouble() -
                                  controlArea->height() / 340.0) < 1e-4,
                             Timeout);
}

void TestCanvas::statusBarArrowsStepPages()
{
    CanvasRig rig;
    CComposite *collection = rig.model.addCollection();
    for (const char *name : {"Home", "Second", "Third"})
        addEmptyPanel(rig.model, collection, QString::fromLatin1(name));
    QVERIFY(rig.model.selectCollection(0));
    rig.model.refreshViewState();
    QVERIFY(rig.show());
    QCOMPARE(rig.bridge()->property("pageCount").toInt(), 3);
    QCOMPARE(rig.bridge()->property("pageIndex").toInt(), 0);

    auto *right = rig.find(QStringLiteral("rightArrowArea"));
    auto *left = rig.find(QStringLiteral("leftArrowArea"));
    QVERIFY(right && left);
    QTRY_VERIFY_WITH_TIMEOUT(right->width() > 0, Timeout);

    click(rig.frame(), right);
    QTRY_COMPARE_WITH_TIMEOUT(rig.bridge()->property("pageIndex").toInt(), 1, Timeout);
    QCOMPARE(rig.model.currentPanel()->name(), QStringLiteral("Second"));
    click(rig.frame(), left);
    QTRY_COMPARE_WITH_TIMEOUT(rig.bridge()->property("pageIndex").toInt(), 0, Timeout);
    // Stepping left from the first page wraps to the last.
    click(rig.frame(), left);
    QTRY_COMPARE_WITH_TIMEOUT(rig.bridge()->property("pageIndex").toInt(), 2, Timeout);
    QCOMPARE(rig.model.currentPanel()->name(), QStringLiteral("Third"));
}

void TestCanvas::setupMenuListsItsEntries()
{
    CanvasRig rig;
    QVERIFY(rig.show());
    const QStringList expected = {
        QStringLiteral("About Zindral Remote..."), QStringLiteral("IP Address..."),
        QStringLiteral("Network Status..."), QStringLiteral("Project Information..."),
        QStringLiteral("Receive...")};
    const int ids[] = {MCanvasState::About, MCanvasState::IpAddress, MCanvasState::NetworkStatus,
                       MCanvasState::ProjectInformation, MCanvasState::Receive};
    QStringList published;
    for (int i = 0; i < expected.count(); ++i)
        published << QStringLiteral("%1:%2").arg(ids[i]).arg(expected.at(i));
    QCOMPARE(publishedSetupMenu(rig), published);

    auto *button = rig.find(QStringLiteral("setupButtonArea"));
    auto *menu = rig.find(QStringLiteral("setupMenu"));
    QVERIFY(button && menu);
    QTRY_VERIFY_WITH_TIMEOUT(button->width() > 0, Timeout);
    QSignalSpy closeSpy(rig.bridge(), &MQmlInterface::closeSignal);

    click(rig.frame(), button);
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), Timeout);
    QCOMPARE(closeSpy.count(), 1);
    QCOMPARE(VModeManager::instance()->modalObject(), static_cast<QObject *>(menu));
    QCOMPARE(menuEntries(menu), expected);
    // The menu covers the whole canvas, whichever row holds it.
    QCOMPARE(menu->parentItem(), rig.scene());
    QCOMPARE(menu->height(), rig.scene()->height());

    // The mode manager closes it when a widget-side action needs the canvas.
    VModeManager::instance()->cancel();
    QTRY_VERIFY_WITH_TIMEOUT(!menu->isVisible(), Timeout);
    QCOMPARE(VModeManager::instance()->modalObject(), static_cast<QObject *>(nullptr));
}

void TestCanvas::collectionsMenuNeedsTwoCollections()
{
    CanvasRig rig;
    rig.model.addCollection();
    QVERIFY(rig.model.selectCollection(0));
    rig.controller->update(KController::PanelsChanged);
    QVERIFY(rig.show());

    auto *title = rig.find(QStringLiteral("sceneTitleArea"));
    auto *menu = rig.find(QStringLiteral("collectionsMenu"));
    QVERIFY(title && menu);
    QTRY_VERIFY_WITH_TIMEOUT(title->width() > 0, Timeout);
    QCOMPARE(rig.context()->contextProperty(QStringLiteral("sceneMenuData")).toStringList(),
             QStringList{QStringLiteral("COLLECTION1")});

    click(rig.frame(), title);
    QVERIFY2(!menu->isVisible(), "the collections menu opened with a single collection");
    QCOMPARE(VModeManager::instance()->modalObject(), static_cast<QObject *>(nullptr));

    rig.model.addCollection();
    rig.controller->update(KController::PanelsChanged);
    QCOMPARE(rig.context()->contextProperty(QStringLiteral("sceneMenuData")).toStringList(),
             (QStringList{QStringLiteral("COLLECTION1"), QStringLiteral("COLLECTION2")}));
    click(rig.frame(), title);
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), Timeout);
    QCOMPARE(menuEntries(menu),
             (QStringList{QStringLiteral("COLLECTION1"), QStringLiteral("COLLECTION2")}));

    // Choosing an entry switches the collection and closes the menu.
    QQuickItem *second = menuRow(menu, QStringLiteral("COLLECTION2"));
    QVERIFY(second);
    click(rig.frame(), second);
    QTRY_VERIFY_WITH_TIMEOUT(!menu->isVisible(), Timeout);
    QCOMPARE(rig.bridge()->property("sceneTitle").toString(), QStringLiteral("COLLECTION2"));
    QCOMPARE(VModeManager::instance()->modalObject(), static_cast<QObject *>(nullptr));

    // A click beside the menu only closes it.
    click(rig.frame(), title);
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), Timeout);
    QTest::mouseClick(rig.frame(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    QTRY_VERIFY_WITH_TIMEOUT(!menu->isVisible(), Timeout);
    QCOMPARE(rig.bridge()->property("sceneTitle").toString(), QStringLiteral("COLLECTION2"));
}

void TestCanvas::postCommand_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("sceneTitle");
    QTest::addColumn<int>("pageIndex");

    QTest::newRow("unknown word") << "bogus" << "rightarrow" << false << "COLLECTION1" << 0;
    QTest::newRow("empty word") << "" << "" << false << "COLLECTION1" << 0;
    QTest::newRow("words are case-sensitive") << "Event" << "rightarrow" << false << "COLLECTION1" << 0;
    QTest::newRow("status bar text") << "statusbar" << "Ready" << true << "COLLECTION1" << 0;
    QTest::newRow("page step") << "event" << "rightarrow" << true << "COLLECTION1" << 1;
    QTest::newRow("unknown event") << "event" << "uparrow" << false << "COLLECTION1" << 0;
    QTest::newRow("collection") << "scene" << "COLLECTION2" << true << "COLLECTION2" << 0;
    QTest::newRow("missing collection") << "scene" << "NOWHERE" << false << "COLLECTION1" << 0;
}

void TestCanvas::postCommand()
{
    QFETCH(QString, command);
    QFETCH(QString, message);
    QFETCH(bool, answer);
    QFETCH(QString, sceneTitle);
    QFETCH(int, pageIndex);

    CanvasRig rig;
    CComposite *first = rig.model.addCollection();
    addEmptyPanel(rig.model, first, QStringLiteral("Home"));
    addEmptyPanel(rig.model, first, QStringLiteral("Next"));
    rig.model.addCollection();
    QVERIFY(rig.model.selectCollection(0));
    rig.model.refreshViewState();
    QSignalSpy messages(&rig.model, &MModel::displayMessage);

    QCOMPARE(rig.bridge()->postCommand(command, message), answer);
    QCOMPARE(rig.bridge()->property("sceneTitle").toString(), sceneTitle);
    QCOMPARE(rig.bridge()->property("pageIndex").toInt(), pageIndex);
    if (command == QLatin1String("statusbar")) {
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.first().first().toString(), message);
    } else {
        QCOMPARE(messages.count(), 0);
    }
}

void TestCanvas::bridgeRoutesGesturesOnceAttached()
{
    MModel model;
    model.initialize();
    RecordingInterface bridge;
    QSignalSpy cancelled(&bridge, &MQmlInterface::editCancelled);

    QCOMPARE(bridge.getAppFunction(), 1u);
    QCOMPARE(bridge.postCommand(QStringLiteral("statusbar"), QStringLiteral("text")), false);
    bridge.cancelEdit();
    bridge.moveControl(5, 5, Qt::GestureStarted);
    bridge.keyEvent(Qt::Key_Left, 0, false, Qt::GestureStarted);
    QCOMPARE(cancelled.count(), 0);
    QVERIFY2(bridge.tool.calls.isEmpty(), qPrintable(bridge.tool.calls.join(QLatin1Char('\n'))));

    // Once attached, the model learns the bridge and answers through it.
    bridge.setModel(&model);
    QCOMPARE(model.qmlRoot(), static_cast<QObject *>(&bridge));
    QCOMPARE(bridge.postCommand(QStringLiteral("statusbar"), QStringLiteral("text")), true);
    bridge.cancelEdit();
    QCOMPARE(cancelled.count(), 1);

    bridge.moveControl(7, -3, Qt::GestureUpdated);
    bridge.resizeControl(4, 0, Qt::RightEdge, Qt::GestureFinished);
    bridge.resizeControl(0, 9, Qt::BottomEdge, Qt::GestureStarted);
    const QString drag = QString::number(BCommandFactory::ToolDrag, 16);
    const QString resize = QString::number(BCommandFactory::ToolResize, 16);
    QStringList expected = {QStringLiteral("pointer 7 -3 -1 %1 2").arg(drag),
                            QStringLiteral("pointer 4 0 4 %1 3").arg(resize),
                            QStringLiteral("pointer 0 9 8 %1 1").arg(resize)};
    // Only the arrows move the selection; other keys stay with the canvas.
    for (int key : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Home,
                    Qt::Key_PageUp, Qt::Key_A, Qt::Key_Escape, Qt::Key_Delete}) {
        bridge.keyEvent(key, Qt::ShiftModifier, true, Qt::GestureStarted);
        bridge.keyEvent(key, Qt::ShiftModifier, false, Qt::GestureFinished);
        if (key >= Qt::Key_Left && key <= Qt::Key_Down) {
            const QString prefix = QStringLiteral("key %1 %2 %3 ")
                                       .arg(key, 0, 16)
                                       .arg(int(Qt::ShiftModifier), 0, 16)
                                       .arg(int(BCommandFactory::ToolNudge), 0, 16);
            expected << prefix + QStringLiteral("1 1") << prefix + QStringLiteral("0 3");
        }
    }
    QCOMPARE(bridge.tool.calls, expected);
}
void TestCanvas::setObjectRoutes()
{
    MQmlInterface bridge;
    VModeManager *modes = VModeManager::instance();
    QObject popup;
    QQuickItem canvas;
    QQuickItem view;

    bridge.setObject(QStringLiteral("ModalObject"), &popup);
    QCOMPARE(modes->modalObject(), &popup);
    bridge.setObject(QStringLiteral("ModalObject"), nullptr);
    QCOMPARE(modes->modalObject(), static_cast<QObject *>(nullptr));

    bridge.setObject(QStringLiteral("QmlCanvas"), &canvas);
    QCOMPARE(modes->canvas(), static_cast<QObject *>(&canvas));
    bridge.setObject(QStringLiteral("QmlView"), &view);
    QCOMPARE(bridge.viewItem(), &view);

    // Names the native side does not act on change nothing.
    bridge.setObject(QStringLiteral("Connected"), &popup);
    bridge.setObject(QStringLiteral("qmlview"), nullptr);
    QCOMPARE(modes->modalObject(), static_cast<QObject *>(nullptr));
    QCOMPARE(modes->canvas(), static_cast<QObject *>(&canvas));
    QCOMPARE(bridge.viewItem(), &view);

    // Only an item can be the control area.
    bridge.setObject(QStringLiteral("QmlView"), &popup);
    QCOMPARE(bridge.viewItem(), static_cast<QQuickItem *>(nullptr));

    // A modal object that goes away is forgotten, and cancel then does nothing.
    {
        QObject shortLived;
        bridge.setObject(QStringLiteral("ModalObject"), &shortLived);
    }
    QCOMPARE(modes->modalObject(), static_cast<QObject *>(nullptr));
    modes->cancel();
    modes->setCanvas(nullptr);
}

void TestCanvas::selectionOverlayReports()
{
    CanvasRig rig;
    auto *log = new HintLog;
    rig.model.addController(log);
    QVERIFY(rig.show());
    auto *controlArea = rig.find(QStringLiteral("controlObject"));
    QTRY_VERIFY_WITH_TIMEOUT(controlArea->height() > 100, Timeout);

    // A stand-in for a control's root, holding the overlay as the items do.
    auto *root = new QQuickItem(controlArea);
    root->setPosition(QPointF(20, 20));
    root->setSize(QSizeF(100, 60));
    QQmlComponent component(rig.frame()->engine(), QUrl(QStringLiteral("qrc:/qmlcontrol/QmlSelect.qml")));
    auto *selector = qobject_cast<QQuickItem *>(component.create(rig.context()));
    QVERIFY2(selector, qPrintable(component.errorString()));
    selector->setParent(root);
    selector->setParentItem(root);
    QCOMPARE(selector->z(), 20.0);
    QCOMPARE(selector->size(), root->size());
    QSignalSpy selects(selector, SIGNAL(select(int)));
    QSignalSpy cancelled(rig.bridge(), &MQmlInterface::editCancelled);

    const QPoint centre = root->mapToScene(QPointF(50, 30)).toPoint();
    QTest::mouseClick(rig.frame(), Qt::LeftButton, Qt::ShiftModifier, centre);
    QCOMPARE(selects.count(), 1);
    QCOMPARE(selects.first().first().toInt(), int(Qt::ShiftModifier));
    // The press belongs to the control, not to the empty canvas below.
    QCOMPARE(cancelled.count(), 0);

    QTest::mouseDClick(rig.frame(), Qt::LeftButton, Qt::NoModifier, centre);
    QTRY_VERIFY_WITH_TIMEOUT(log->hints.contains(KController::ShowProperties), Timeout);

    auto *frame = findItem(selector, QStringLiteral("selectionFrame"));
    auto *handle = findItem(selector, QStringLiteral("rightHandle"));
    QVERIFY(frame && handle);
    QVERIFY(!frame->isVisible());
    selector->setProperty("vis", true);
    QVERIFY(frame->isVisible());
    QVERIFY(handle->isVisible());
    selector->setProperty("enableedit", false);
    QVERIFY(!handle->isVisible());

    // Hiding the control hides the frame and ends the gesture.
    root->setVisible(false);
    QCOMPARE(selector->property("vis").toBool(), false);
    QCOMPARE(cancelled.count(), 1);
}

void TestCanvas::dropsAndDragsCarryTheirData()
{
    MModel model;
    model.initialize();
    MQmlInterface bridge;
    bridge.setModel(&model);
    const int undoBefore = BCommandProcessor::instance()->undoCount();

    bridge.dropControl(QStringLiteral("Label"), QStringLiteral("0"), 12, 34);
    QCOMPARE(bridge.dropText(), QStringLiteral("Label"));
    QCOMPARE(bridge.dropNode(), quint64(0));
    QCOMPARE(bridge.dropX(), 12.0);
    QCOMPARE(bridge.dropY(), 34.0);

    // Identities are object addresses: all 64 bits must survive.
    bridge.dropLink(QStringLiteral("Home"), QStringLiteral("140737488355333"), 5, 6);
    QCOMPARE(bridge.dropLink(), Q_UINT64_C(140737488355333));
    QCOMPARE(bridge.dropText(), QStringLiteral("Home"));
    QCOMPARE(bridge.dropX(), 5.0);

    bridge.dropPanel(QStringLiteral("Mixer"), QStringLiteral("4294967297"));
    QCOMPARE(bridge.dropNode(), Q_UINT64_C(4294967297));

    KindSite site(QStringLiteral("Button"));
    bridge.dropSite(QStringLiteral("Mute"), QStringLiteral("not a number"), &site);
    QCOMPARE(bridge.dropText(), QStringLiteral("Mute"));
    QCOMPARE(bridge.dropNode(), quint64(0));
    QCOMPARE(bridge.dropSiteItem(), static_cast<WWidget *>(&site));

    // Without a panel or design objects to drop onto, nothing reaches the history.
    QCOMPARE(BCommandProcessor::instance()->undoCount(), undoBefore);

    // Dragging a parameter finds its entry in the design and asks the site.
    auto *chassis = new HComposite();
    model.hardwareRoot()->addChild(chassis);
    auto *set = new HParameterSet();
    chassis->addChild(set);
    set->parameters().append(new CParameter(QStringLiteral("Preset 1"), QStringLiteral("ParameterSet")));
    set->parameters().append(new CParameter(QStringLiteral("ParameterList"), QStringLiteral("DropList")));
    const QString identity = QString::number(quint64(quintptr(set)));
    KindSite presetSite(QStringLiteral("ParameterSet"));
    KindSite listSite(QStringLiteral("DropList"));
    QVERIFY(bridge.dragEvent(QStringLiteral("Preset 1"), identity, &presetSite));
    QVERIFY(bridge.dragEvent(QStringLiteral("ParameterList"), identity, &listSite));
    QVERIFY(!bridge.dragEvent(QStringLiteral("Preset 1"), identity, &listSite));
    QVERIFY(!bridge.dragEvent(QStringLiteral("Preset 2"), identity, &presetSite));
    QVERIFY(!bridge.dragEvent(QStringLiteral("Preset 1"), identity, nullptr));
    // A payload naming no object of the design is refused, never dereferenced.
    for (const char *payload : {"12345", "0", "x"})
        QVERIFY(!bridge.dragEvent(QStringLiteral("Preset 1"), QLatin1String(payload), &presetSite));
}

void TestCanvas::messageDialogClosesByButtonOrCancel()
{
    CanvasRig rig;
    QVERIFY(rig.show());
    DQmlMessageDialog dialog(rig.context());
    dialog.setTitle(QStringLiteral("Network Status..."));
    dialog.setText(QStringLiteral("All devices online"));
    QCOMPARE(dialog.button(), QStringLiteral("OK"));
    QSignalSpy closed(&dialog, &DQmlMessageDialog::closed);

    QVERIFY(dialog.show());
    auto *item = qobject_cast<QQuickItem *>(dialog.object());
    QVERIFY(item);
    QCOMPARE(item->parentItem(), rig.scene());
    QVERIFY(item->isVisible());
    QCOMPARE(item->property("title").toString(), QStringLiteral("Network Status..."));
    QCOMPARE(item->property("text").toString(), QStringLiteral("All devices online"));
    QCOMPARE(item->property("button").toString(), QStringLiteral("OK"));
    QCOMPARE(VModeManager::instance()->modalObject(), static_cast<QObject *>(item));
    // Showing again does not stack a second message.
    QVERIFY(dialog.show());
    QCOMPARE(dialog.object(), static_cast<QObject *>(item));

    auto *button = findItem(item, QStringLiteral("dialogButtonArea"));
    QVERIFY(button);
    QTRY_VERIFY_WITH_TIMEOUT(button->width() > 0, Timeout);
    QPointer<QQuickItem> watched(item);
    click(rig.frame(), button);
    QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, Timeout);
    QVERIFY(!dialog.isOpen());
    QCOMPARE(VModeManager::instance()->modalObject(), static_cast<QObject *>(nullptr));
    QTRY_VERIFY_WITH_TIMEOUT(watched.isNull(), Timeout);

    // Timers keep running inside exec; the one below ends it the way a
    // widget-side action would, through the mode manager. It dies with the
    // test, so it never fires into a later one.
    dialog.setButton(QStringLiteral("Cancel"));
    bool openWhileWaiting = false;
    QString buttonWhileWaiting;
    QTimer closer;
    closer.setSingleShot(true);
    connect(&closer, &QTimer::timeout, this, [&]() {
        openWhileWaiting = dialog.isOpen();
        if (dialog.object())
            buttonWhileWaiting = dialog.object()->property("button").toString();
        VModeManager::instance()->cancel();
    });
    closer.start(0);
    QVERIFY(dialog.exec());
    QVERIFY(openWhileWaiting);
    QCOMPARE(buttonWhileWaiting, QStringLiteral("Cancel"));
    QCOMPARE(closed.count(), 2);
    QVERIFY(!dialog.isOpen());
}

void TestCanvas::setupMenuChoices_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("menuText"); // empty: not in the menu
    QTest::addColumn<QString>("dialog");   // empty: nothing is shown

    QTest::newRow("project information")
        << int(MCanvasState::ProjectInformation) << "Project Information..."
        << "QmlMessageDialog.qml";
    QTest::newRow("about") << int(MCanvasState::About) << "About Zindral Remote..."
                           << "QmlAboutDialog.qml";
    QTest::newRow("network status") << int(MCanvasState::NetworkStatus) << "Network Status..."
                                    << "QmlMessageDialog.qml";
    QTest::newRow("ip address") << int(MCanvasState::IpAddress) << "IP Address..."
                                << "QmlMessageDialog.qml";
    QTest::newRow("unknown id") << 99 << QString() << QString();
    QTest::newRow("no id") << 0 << QString() << QString();
}

void TestCanvas::setupMenuChoices()
{
    QFETCH(int, entry);
    QFETCH(QString, menuText);
    QFETCH(QString, dialog);
    CanvasRig rig;
    QVERIFY(rig.show());
    rig.model.project()->setValue(QStringLiteral("Facility"), QStringLiteral("name"),
                                  QStringLiteral("Arena"));
    const QString text =
        dialog == QLatin1String("QmlAboutDialog.qml") ? rig.model.aboutText()
        : entry == MCanvasState::NetworkStatus        ? rig.model.session()->networkStatusText()
        : entry == MCanvasState::IpAddress            ? MOnlineSession::localAddressText()
                                                      : rig.model.project()->informationText();
    const QStringList expected =
        dialog.isEmpty()
            ? QStringList()
            : QStringList{menuText + QLatin1Char('|') + text + QLatin1Char('|') + dialog};

    // A message parented to the scene is read and closed from inside the
    // running exec; the menu itself, which has no text, is passed over.
    QStringList seen;
    QObject watcher;
    connect(
        rig.scene(), &QQuickItem::childrenChanged, &watcher,
        [&seen]() {
            QObject *message = VModeManager::instance()->modalObject();
            if (!message || !message->property("text").isValid())
                return;
            const QUrl source = qmlContext(message) ? qmlContext(message)->baseUrl() : QUrl();
            seen << message->property("title").toString() + QLatin1Char('|') +
                        message->property("text").toString() + QLatin1Char('|') + source.fileName();
            VModeManager::instance()->cancel();
        },
        Qt::QueuedConnection);

    QCOMPARE(rig.bridge()->setupMenuChoice(entry), !dialog.isEmpty());
    QCOMPARE(seen, expected);
    if (menuText.isEmpty())
        return;

    // The same entry chosen in the real menu hands its id back.
    seen.clear();
    auto *button = rig.find(QStringLiteral("setupButtonArea"));
    auto *menu = rig.find(QStringLiteral("setupMenu"));
    QVERIFY(button && menu);
    QTRY_VERIFY_WITH_TIMEOUT(button->width() > 0, Timeout);
    click(rig.frame(), button);
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), Timeout);
    QQuickItem *row = menuRow(menu, menuText);
    QVERIFY2(row, qPrintable(menuEntries(menu).join(QLatin1Char(','))));
    click(rig.frame(), row);
    QTRY_VERIFY_WITH_TIMEOUT(!menu->isVisible(), Timeout);
    QTRY_COMPARE_WITH_TIMEOUT(seen, expected, Timeout);
    QCOMPARE(VModeManager::instance()->modalObject(), static_cast<QObject *>(nullptr));
}

void TestCanvas::messageDialogNeedsCanvas()
{
    // Without a canvas nobody could close the message, so it is not shown
    // and exec does not wait.
    VModeManager::instance()->setCanvas(nullptr);
    QQmlEngine engine;
    DQmlMessageDialog dialog(engine.rootContext());
    QVERIFY(!dialog.show());
    QVERIFY(!dialog.exec());
    QVERIFY(!dialog.isOpen());

    DQmlMessageDialog noContext(nullptr);
    QVERIFY(!noContext.show());
}

void TestCanvas::controllerWithoutGrandparent()
{
    MModel model;
    CCanvas canvas;
    model.setCanvas(&canvas);
    model.initialize();
    QWidget orphan;
    auto *controller = new KQmlController(&model, &orphan);
    model.addController(controller);

    // No window to put the view in: an empty canvas, and nothing breaks.
    QVERIFY(controller->frame());
    QVERIFY(!controller->container());
    QVERIFY(!controller->frame()->interface());
    QVERIFY(!canvas.view());
    controller->setGeometry(QRect(0, 0, 100, 100));
    controller->update(KController::RefreshCanvas);
    QCOMPARE(model.qmlFrame(), controller->frame());
    delete controller;
    QVERIFY(!model.qmlFrame());
}

ZRB_TEST_MAIN(TestCanvas)
#include "tst_canvas.moc"
