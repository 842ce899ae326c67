#include "common/RecordingMessageHandler.h"
#include "common/TestDir.h"
#include "common/TestSupport.h"

#include "app/KComposite.h"
#include "app/KMainController.h"
#include "app/MModel.h"
#include "app/MainWindow.h"
#include "views/KQmlController.h"
#include "app/UFileDialog.h"
#include "document/USettings.h"
#include "commands/BCommand.h"
#include "commands/BCommandProcessor.h"
#include "dialogs/DTemplateDialog.h"
#include "dialogs/DUndoListDialog.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Answers file dialogs from a queue ("" = cancelled) and records what was asked.
class FileDialogAnswers : public UFileDialogHandler
{
public:
    struct Request
    {
        QString caption;
        QString dir;
        QString filter;
    };

    FileDialogAnswers() { UFileDialog::setHandler(this); }
    ~FileDialogAnswers() override { UFileDialog::setHandler(nullptr); }

    QString getOpenFileName(QWidget *, const QString &caption, const QString &dir,
                            const QString &filter, QString *, QFileDialog::Options) override
    {
        return answer(caption, dir, filter);
    }
    QString getSaveFileName(QWidget *, const QString &caption, const QString &dir,
                            const QString &filter, QString *, QFileDialog::Options) override
    {
        return answer(caption, dir, filter);
    }

    QList<Request> requests;
    QStringList answers;

private:
    QString answer(const QString &caption, const QString &dir, const QString &filter)
    {
        requests.append({caption, dir, filter});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

// Runs a callback on every dialog of type T that opens, once the dialog's own
// event loop runs; the callback must close the dialog.
template <typename T> class DialogWatcher : public QObject
{
public:
    explicit DialogWatcher(std::function<void(T *)> handle) : m_handle(std::move(handle))
    {
        qApp->installEventFilter(this);
    }
    ~DialogWatcher() override { qApp->removeEventFilter(this); }

    int shown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        T *dialog = qobject_cast<T *>(watched);
        if (dialog && event->type() == QEvent::Show) {
            ++shown;
            QMetaObject::invokeMethod(
                dialog, [this, dialog]() { m_handle(dialog); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void(T *)> m_handle;
};

// Picks a template in every template dialog that opens, or rejects the dialog
// when the name is not listed.
class TemplatePicker : public DialogWatcher<DTemplateDialog>
{
public:
    explicit TemplatePicker(const QString &name)
        : DialogWatcher<DTemplateDialog>([this, name](DTemplateDialog *dialog) {
              names = dialog->names();
              if (dialog->selectTemplate(name))
                  dialog->accept();
              else
                  dialog->reject();
          })
    {
    }

    QStringList names;
};

// Stands in for the canvas (0x1003) and tab (0x1006) controllers: records the
// rectangles and hints it is given.
class PlacedController : public KController
{
public:
    explicit PlacedController(int type) : m_type(type) {}
    int type() const override { return m_type; }
    void setGeometry(const QRect &rect) override { rects.append(rect); }
    void update(int hint) override { hints.append(hint); }
    void reset() override { ++resets; }

    QList<QRect> rects;
    QList<int> hints;
    int resets = 0;

private:
    int m_type;
};

// A recorded edit that changes nothing but the model's modified flag.
class MarkCommand : public BCommand
{
public:
    QString text() const override { return QStringLiteral("Mark"); }
    int id() const override { return 0x7f01; }
};

// Receives the URLs the program hands to the desktop.
class UrlRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void openUrl(const QUrl &url) { urls.append(url); }
};

QString menuLayout(QMenu *menu)
{
    QStringList texts;
    for (QAction *entry : menu->actions())
        texts.append(entry->isSeparator() ? QStringLiteral("-") : entry->text());
    return texts.join(QLatin1Char('|'));
}

QString title(const QString &rest)
{
    return QStringLiteral("Zindral Remote builder - ") + rest;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startupState();
    void missingStartTemplateWarns();
    void actionTable_data();
    void actionTable();
    void menusAndToolBar();
    void windowTitle_data();
    void windowTitle();
    void fitWindowWidths();
    void layoutPlacesControllers();
    void modelSignalsDriveActions();
    void undoRedoThroughActions();
    void editModeToggles();
    void promptAnswers_data();
    void promptAnswers();
    void saveAsThenSave();
    void failedSaveKeepsModified();
    void failedPromptSaveStopsExit();
    void exitQuitsLoop();
    void windowCloseFollowsPrompt();
    void newFromTemplate();
    void templateDialogLists();
    void openRoundTrip();
    void openUnreadableFile();
    void openDesign();
    void aboutAndHelp();

private:
    KMainController *start();
    QAction *act(int code) const { return m_pController->action(code); }

    MModel *m_pModel = nullptr;
    KMainController *m_pController = nullptr;
    RecordingMessageHandler *m_pMessages = nullptr;
    FileDialogAnswers *m_pFiles = nullptr;
};

KMainController *TestMainWindow::start()
{
    m_pModel = new MModel;
    auto *controller = new KMainController;
    controller->setModel(m_pModel);
    controller->setApplication(qApp);
    m_pModel->addController(controller);
    return controller;
}

void TestMainWindow::init()
{
    USettings().clear();
    m_pMessages = new RecordingMessageHandler;
    m_pFiles = new FileDialogAnswers;
    m_pController = start();
}

void TestMainWindow::cleanup()
{
    delete m_pModel; // deletes the controller and its window
    m_pModel = nullptr;
    m_pController = nullptr;
    delete m_pFiles;
    delete m_pMessages;
}

void TestMainWindow::startupState()
{
    MainWindow *window = m_pController->mainWindow();
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), title(QString()));
    QVERIFY(m_pModel->currentPanel());
    QCOMPARE(m_pModel->currentPanel()->name(), QStringLiteral("Home"));
    QCOMPARE(m_pModel->currentCollection()->name(), QStringLiteral("COLLECTION1"));
    QVERIFY(m_pModel->editMode());
    QVERIFY(act(KMainController::EditModeAction)->isChecked());
    QVERIFY(!act(KMainController::GoOnlineAction)->isChecked());
    QCOMPARE(m_pController->currentPath(), QString());
    QVERIFY(!m_pModel->isModified());

    const QMap<int, bool> expected{
        {KMainController::UndoAction, false},     {KMainController::RedoAction, false},
        {KMainController::UndoListAction, false}, {KMainController::CutAction, false},
        {KMainController::CopyAction, false},     {KMainController::DeleteAction, false},
        {KMainController::GoOnlineAction, false}, {KMainController::SendAction, false},
        {KMainController::NewAction, true},       {KMainController::SaveAction, true},
        {KMainController::EditModeAction, true}};
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it)
        QVERIFY2(
            act(it.key())->isEnabled() == it.value(),
            qPrintable(QStringLiteral("%1 should be %2")
                           .arg(act(it.key())->text(), it.value() ? QStringLiteral("enabled")
                                                                  : QStringLiteral("disabled"))));

    QCOMPARE(m_pController->type(), 0x1004);
    QCOMPARE(m_pModel->controllers()->findController(0x1004), m_pController);
    QCOMPARE(m_pController->settings()->organizationName(), QStringLiteral("Orvane"));
    QCOMPARE(m_pController->settings()->applicationName(),
             QStringLiteral("Zindral Remote builder 2.0"));
    QCOMPARE(m_pMessages->count(), 0);

    QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    QCOMPARE(window->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(window->font().family(), QStringLiteral("Calibri"));
    QVERIFY(!window->existingStatusBar());
    QCOMPARE(window->centralWidget()->objectName(), QStringLiteral("centralWidget"));
    QCOMPARE(window->centralWidget()->minimumSize(), QSize(30, 30));
}

void TestMainWindow::missingStartTemplateWarns()
{
    cleanup();
    const QString templates = QCoreApplication::applicationDirPath() + QStringLiteral("/templates");
    const QString hidden = templates + QStringLiteral(".hidden");
    QVERIFY(QDir().rename(templates, hidden));
    init();
    QVERIFY(QDir().rename(hidden, templates));

    QCOMPARE(m_pMessages->count(), 1);
    QCOMPARE(m_pMessages->last().title, QStringLiteral("Warning"));
    QVERIFY2(m_pMessages->last().text.contains(QStringLiteral("Blank Panel.tpl")),
             qPrintable(m_pMessages->last().text));
    // The program still starts, titled and in edit mode.
    QVERIFY(m_pController->mainWindow()->isVisible());
    QCOMPARE(m_pController->mainWindow()->windowTitle(), title(QString()));
    QVERIFY(act(KMainController::EditModeAction)->isChecked());
}

void TestMainWindow::actionTable_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("checkable");

    QTest::newRow("0x3001") << 0x3001 << "&Open ZDP File..."
                            << "" << false;
    QTest::newRow("0x3005") << 0x3005 << "&New Remote app File..."
                            << "Ctrl+N" << false;
    QTest::newRow("0x3002") << 0x3002 << "&Open Remote app File..."
                            << "Ctrl+O" << false;
    QTest::newRow("0x3003") << 0x3003 << "&Save Remote app File..."
                            << "Ctrl+S" << false;
    QTest::newRow("0x3004") << 0x3004 << "S&ave Remote app File As..."
                            << "" << false;
    QTest::newRow("0x3006") << 0x3006 << "E&xit"
                            << "Ctrl+Q" << false;
    QTest::newRow("0x3007") << 0x3007 << "&Undo"
                            << "Ctrl+Z" << false;
    QTest::newRow("0x3008") << 0x3008 << "&Redo"
                            << "Ctrl+Y" << false;
    QTest::newRow("0x3016") << 0x3016 << "Undo &List..."
                            << "" << false;
    QTest::newRow("0x3012") << 0x3012 << "Cu&t"
                            << "Ctrl+X" << false;
    QTest::newRow("0x3013") << 0x3013 << "&Copy"
                            << "Ctrl+C" << false;
    QTest::newRow("0x3014") << 0x3014 << "&Paste"
                            << "Ctrl+V" << false;
    QTest::newRow("0x3015") << 0x3015 << "&Delete"
                            << "Del" << false;
    QTest::newRow("0x3011") << 0x3011 << "&Edit Mode"
                            << "" << true;
    QTest::newRow("0x3009") << 0x3009 << "&Go Online..."
                            << "" << true;
    QTest::newRow("0x300A") << 0x300A << "&Send to Mobile Device..."
                            << "" << false;
    QTest::newRow("0x300C") << 0x300C << "&Canvas..."
                            << "" << false;
    QTest::newRow("0x300B") << 0x300B << "&Layout..."
                            << "" << false;
    QTest::newRow("0x300F") << 0x300F << "&About Zindral Remote builder..."
                            << "" << false;
    QTest::newRow("0x3010") << 0x3010 << "&Help Topics..."
                            << "" << false;
    QTest::newRow("unused 0x300D") << 0x300D << ""
                                   << "" << false;
    QTest::newRow("unused 0x300E") << 0x300E << ""
                                   << "" << false;
}

void TestMainWindow::actionTable()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QFETCH(QString, shortcut);
    QFETCH(bool, checkable);

    QAction *found = act(code);
    QCOMPARE(found != nullptr, !text.isEmpty());
    if (!found)
        return;
    QCOMPARE(found->text(), text);
    QCOMPARE(found->shortcut().toString(), shortcut);
    QCOMPARE(found->isCheckable(), checkable);
    QCOMPARE(found->parent(), m_pController);
}

void TestMainWindow::menusAndToolBar()
{
    const QList<QAction *> bar = m_pController->mainWindow()->menuBar()->actions();
    QStringList titles;
    for (QAction *entry : bar)
        titles.append(entry->text());
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&Layout", "&Tools", "&Help"}));

    const QList<QMenu *> menus = m_pController->menus();
    QCOMPARE(menus.count(), 5);
    QCOMPARE(menuLayout(menus.at(0)),
             QStringLiteral("&Open ZDP File...|-|&New Remote app File...|&Open Remote app File..."
                            "|&Save Remote app File...|S&ave Remote app File As...|-|E&xit"));
    QCOMPARE(menuLayout(menus.at(1)),
             QStringLiteral("&Undo|&Redo|Undo &List...|-|Cu&t|&Copy|&Paste|&Delete"));
    QCOMPARE(menuLayout(menus.at(2)),
             QStringLiteral("Bring To &Front|Bring For&ward|Send To &Back|Send Bac&kward|-"
                            "|Align &Left|Align &Right|Align &Top|Align &Bottom"
                            "|Align &Horizontal Center|Align &Vertical Center|-"
                            "|Distribute H&orizontally|Distribute V&ertically"));
    QCOMPARE(menuLayout(menus.at(3)),
             QStringLiteral("&Layout...|&Canvas...|-|&Go Online...|-|&Send to Mobile Device..."));
    QCOMPARE(menuLayout(menus.at(4)),
             QStringLiteral("&Help Topics...|-|&About Zindral Remote builder..."));

    // The Layout-menu shortcuts.
    QStringList shortcuts;
    for (QAction *entry : menus.at(2)->actions()) {
        if (!entry->isSeparator())
            shortcuts.append(entry->shortcut().toString());
    }
    QCOMPARE(shortcuts.join(QLatin1Char(' ')),
             QStringLiteral("Ctrl+F Ctrl+Shift+F Ctrl+B Ctrl+Shift+B Ctrl+Left Ctrl+Right "
                            "Ctrl+Up Ctrl+Down Ctrl+Home Ctrl+End Alt+Right Alt+Down"));

    QToolBar *tools = m_pController->mainWindow()->mainToolBar();
    QCOMPARE(tools->objectName(), QStringLiteral("mainToolBar"));
    QStringList tooled;
    for (QAction *entry : tools->actions())
        tooled.append(entry->isSeparator() ? QStringLiteral("-") : entry->text());
    QCOMPARE(tooled.join(QLatin1Char('|')),
             QStringLiteral("&Open ZDP File...|-|&New Remote app File...|&Open Remote app File..."
                            "|&Save Remote app File...|-|Cu&t|&Copy|&Paste|&Delete|-|&Undo|&Redo"
                            "|Undo &List...|-|&Edit Mode|-|&Layout...|&Canvas...|-|&Go Online...|-"
                            "|&Send to Mobile Device..."));
}

void TestMainWindow::windowTitle_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");

    QTest::newRow("full path") << "/home/user/panels/show.cpz" << title("show.cpz");
    QTest::newRow("no folder") << "show.cpf" << title("show.cpf");
    QTest::newRow("empty") << "" << title("");
    QTest::newRow("dot in folder") << "/a.b/panel" << title("panel");
}

void TestMainWindow::windowTitle()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    m_pController->setWindowTitle(path);
    QCOMPARE(m_pController->mainWindow()->windowTitle(), expected);
}

void TestMainWindow::fitWindowWidths()
{
    MainWindow *window = m_pController->mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    CCanvas *canvas = m_pController->canvas();
    // 2.5 inch diagonal, 3:4, portrait at 100 dpi: 200 x 150 pixels.
    canvas->setDpiOverride(100);
    canvas->setSize(2.5f);
    canvas->setAspect(0.75f);
    canvas->setOrientation(1);
    canvas->computePixelSize();
    QCOMPARE(canvas->width(), 200);
    QCOMPARE(canvas->height(), 150);

    const int bars = window->menuBar()->height() + window->mainToolBar()->height();
    m_pController->fitWindow();
    QTRY_COMPARE_WITH_TIMEOUT(window->size(), QSize(555, 150 + 4 + bars), 10000);
    // The same size again: one pixel wider so that a layout still happens.
    m_pController->fitWindow();
    QTRY_COMPARE_WITH_TIMEOUT(window->size(), QSize(556, 150 + 4 + bars), 10000);
    m_pController->fitWindow();
    QTRY_COMPARE_WITH_TIMEOUT(window->size(), QSize(555, 150 + 4 + bars), 10000);

    // A wide canvas is not held to the minimum.
    canvas->setSize(5.0f);
    canvas->computePixelSize();
    QCOMPARE(canvas->width(), 400);
    QCOMPARE(canvas->height(), 300);
    m_pController->fitWindow();
    QTRY_COMPARE_WITH_TIMEOUT(window->size(), QSize(662, 300 + 4 + bars), 10000);
}

void TestMainWindow::layoutPlacesControllers()
{
    MainWindow *window = m_pController->mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // The real canvas sits right of the 250-pixel column at the canvas size.
    auto *canvasController = qobject_cast<KQmlController *>(
        m_pModel->controllers()->findController(0x1003));
    QVERIFY(canvasController);
    window->resize(700, 500);
    QTRY_COMPARE_WITH_TIMEOUT(window->size(), QSize(700, 500), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(canvasController->splitter()->geometry(),
                              QRect(258, 2, m_pController->canvas()->width(),
                                    m_pController->canvas()->height()),
                              10000);
    // Stand-ins record what the window hands the canvas and tab controllers.
    QVERIFY(m_pModel->controllers()->removeController(0x1003));

    auto *tabs = new PlacedController(0x1006);
    auto *canvasView = new PlacedController(0x1003);
    tabs->setModel(m_pModel);
    canvasView->setModel(m_pModel);
    m_pModel->addController(tabs);
    m_pModel->addController(canvasView);

    window->resize(800, 600);
    QTRY_VERIFY_WITH_TIMEOUT(!tabs->rects.isEmpty(), 10000);
    const int bars = window->menuBar()->height() + window->mainToolBar()->height();
    QCOMPARE(tabs->rects.last(), QRect(2, 2, 248, 600 - bars - 8));
    CCanvas *canvas = m_pController->canvas();
    QCOMPARE(canvasView->rects.last(), QRect(258, 2, canvas->width(), canvas->height()));

    // The canvas controller is refreshed through the window, and reset by New.
    m_pController->mainWindow()->refreshCanvasController();
    QVERIFY(canvasView->hints.contains(0));
    m_pController->closePanelFile();
    QCOMPARE(canvasView->resets, 1);
    QVERIFY(!tabs->resets);
}

void TestMainWindow::modelSignalsDriveActions()
{
    const QList<QMenu *> menus = m_pController->menus();
    QList<QAction *> layoutActions;
    for (QAction *entry : menus.at(2)->actions()) {
        if (!entry->isSeparator())
            layoutActions.append(entry);
    }
    QCOMPARE(layoutActions.count(), 12);

    emit m_pModel->selectState(true);
    QVERIFY(act(KMainController::DeleteAction)->isEnabled());
    for (QAction *entry : qAsConst(layoutActions))
        QVERIFY2(entry->isEnabled(), qPrintable(entry->text()));
    QVERIFY(!act(KMainController::CutAction)->isEnabled());

    emit m_pModel->ccpState(true);
    QVERIFY(act(KMainController::CutAction)->isEnabled());
    QVERIFY(act(KMainController::CopyAction)->isEnabled());
    QVERIFY(!act(KMainController::GoOnlineAction)->isEnabled());

    emit m_pModel->enableConnection(true);
    QVERIFY(act(KMainController::GoOnlineAction)->isEnabled());
    QVERIFY(act(KMainController::SendAction)->isEnabled());

    emit m_pModel->selectState(false);
    emit m_pModel->ccpState(false);
    emit m_pModel->enableConnection(false);
    QVERIFY(!act(KMainController::DeleteAction)->isEnabled());
    QVERIFY(!layoutActions.last()->isEnabled());
    QVERIFY(!act(KMainController::CopyAction)->isEnabled());
    QVERIFY(!act(KMainController::SendAction)->isEnabled());
}

void TestMainWindow::undoRedoThroughActions()
{
    BCommandProcessor *processor = BCommandProcessor::instance();
    auto mark = std::make_unique<MarkCommand>();
    BCommand *command = mark.get();
    command->setModel(m_pModel);
    command->prepare();
    QVERIFY(m_pModel->isModified());
    QVERIFY(!processor->process(std::move(mark)));
    QVERIFY(act(KMainController::UndoAction)->isEnabled());
    QVERIFY(act(KMainController::UndoListAction)->isEnabled());
    QVERIFY(!act(KMainController::RedoAction)->isEnabled());

    act(KMainController::UndoAction)->trigger();
    QCOMPARE(processor->undoCount(), 0);
    QCOMPARE(processor->redoAt(0), command);
    QCOMPARE(command->state(), int(BCommand::Undone));
    QVERIFY(!act(KMainController::UndoAction)->isEnabled());
    QVERIFY(act(KMainController::RedoAction)->isEnabled());

    act(KMainController::RedoAction)->trigger();
    QCOMPARE(processor->undoAt(0), command);
    QCOMPARE(command->state(), int(BCommand::Done));

    // Undo List shows the history in its dialog.
    QStringList listed;
    DialogWatcher<DUndoListDialog> watcher([&listed](DUndoListDialog *dialog) {
        listed << dialog->windowTitle() << dialog->undoList()->item(0)->text()
               << QString::number(dialog->redoList()->count());
        dialog->reject();
    });
    act(KMainController::UndoListAction)->trigger();
    QCOMPARE(watcher.shown, 1);
    QCOMPARE(listed, QStringList({"Undo/Redo", "Mark", "0"}));

    // Menu commands without a command class yet leave the history alone.
    for (int code : {KMainController::CutAction, KMainController::CopyAction,
                     KMainController::PasteAction, KMainController::DeleteAction}) {
        act(code)->setEnabled(true);
        act(code)->trigger();
    }
    QCOMPARE(processor->undoCount(), 1);

    // Closing the panel file clears the history and the actions follow.
    m_pController->closePanelFile();
    QCOMPARE(processor->undoCount(), 0);
    QVERIFY(!act(KMainController::UndoAction)->isEnabled());
    QVERIFY(!act(KMainController::UndoListAction)->isEnabled());
}

void TestMainWindow::editModeToggles()
{
    QAction *editMode = act(KMainController::EditModeAction);
    editMode->trigger();
    QVERIFY(!m_pModel->editMode());
    QVERIFY(!editMode->isChecked());
    editMode->trigger();
    QVERIFY(m_pModel->editMode());
    QVERIFY(editMode->isChecked());

    // Go Online never runs ahead of the model, which stays offline here.
    QAction *online = act(KMainController::GoOnlineAction);
    online->setEnabled(true);
    online->trigger();
    QCOMPARE(online->isChecked(), m_pModel->isOnline());
}

void TestMainWindow::promptAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAsChoice"); // "-" when Save As must not be asked
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("written");

    QTest::newRow("no") << int(QMessageBox::No) << "-" << true << false;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << "-" << false << false;
    QTest::newRow("yes, save as cancelled") << int(QMessageBox::Yes) << "" << false << false;
    QTest::newRow("yes, saved") << int(QMessageBox::Yes) << "prompted.cpz" << true << true;
}

void TestMainWindow::promptAnswers()
{
    QFETCH(int, answer);
    QFETCH(QString, saveAsChoice);
    QFETCH(bool, goesOn);
    QFETCH(bool, written);

    TestDir tmpDir;
    QVERIFY(tmpDir.isValid());
    m_pModel->setModified(true);
    m_pMessages->queueAnswer(QMessageBox::StandardButton(answer));
    if (saveAsChoice != QLatin1String("-"))
        m_pFiles->answers.append(saveAsChoice.isEmpty() ? QString()
                                                        : tmpDir.filePath(saveAsChoice));

    // New runs the prompt first; the template dialog shows only when it goes on.
    TemplatePicker picker(QStringLiteral("Blank Panel"));
    m_pController->newVC();

    QCOMPARE(m_pMessages->count(), 1);
    const RecordingMessageHandler::Message asked = m_pMessages->last();
    QCOMPARE(asked.title, QStringLiteral("New Control Panel"));
    QCOMPARE(asked.text, QStringLiteral("There are unsaved changes. Would you like to save?"));
    QCOMPARE(asked.icon, QMessageBox::Warning);
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    const bool saveAsAsked = saveAsChoice != QLatin1String("-");
    QCOMPARE(m_pFiles->requests.count(), saveAsAsked ? 1 : 0);
    if (saveAsAsked)
        QCOMPARE(m_pFiles->requests.first().caption, QStringLiteral("Save Control Panel File"));
    QCOMPARE(picker.shown, goesOn ? 1 : 0);
    // Going on replaces the document with a fresh, unmodified one.
    QCOMPARE(m_pModel->isModified(), !goesOn);
    if (written)
        QVERIFY2(QFile::exists(tmpDir.filePath(saveAsChoice)), "Save As wrote no file");
}

void TestMainWindow::saveAsThenSave()
{
    TestDir tmpDir;
    QVERIFY(tmpDir.isValid());
    const QString target = tmpDir.filePath(QStringLiteral("show.cpz"));
    m_pModel->setModified(true);

    // A never-saved panel asks for a name.
    m_pFiles->answers.append(target);
    QVERIFY(m_pController->saveVC());
    QCOMPARE(m_pFiles->requests.count(), 1);
    QCOMPARE(m_pFiles->requests.first().caption, QStringLiteral("Save Control Panel File"));
    QCOMPARE(m_pFiles->requests.first().filter,
             QStringLiteral("Control Panel Files (*.cpz *.cpf)"));
    QVERIFY2(QFile::exists(target), qPrintable(target));
    QVERIFY2(!QFile::exists(tmpDir.filePath(QStringLiteral("show.cpf"))),
             "the panel XML was left beside the archive");
    QVERIFY(!m_pModel->isModified());
    QCOMPARE(m_pController->currentPath(), target);
    QCOMPARE(m_pController->mainWindow()->windowTitle(), title(QStringLiteral("show.cpz")));
    QCOMPARE(USettings().value(QStringLiteral("Path/Panels")).toString(), tmpDir.path() + "/");

    // Save after Save As writes to the same file without asking.
    QFile::remove(target);
    m_pModel->setModified(true);
    act(KMainController::SaveAction)->trigger();
    QCOMPARE(m_pFiles->requests.count(), 1);
    QVERIFY(QFile::exists(target));
    QVERIFY(!m_pModel->isModified());

    // Save As proposes the current file in the stored folder.
    m_pFiles->answers.append(QString());
    QVERIFY(!m_pController->saveAsVC());
    QCOMPARE(m_pFiles->requests.last().dir, tmpDir.path() + QStringLiteral("/show.cpz"));
    QCOMPARE(m_pController->currentPath(), target);
    QCOMPARE(m_pMessages->count(), 0);
}

void TestMainWindow::failedSaveKeepsModified()
{
    TestDir tmpDir;
    QVERIFY(tmpDir.isValid());
    const QString unwritable = tmpDir.filePath(QStringLiteral("missing/folder/show.cpz"));
    m_pModel->setModified(true);

    m_pFiles->answers.append(unwritable);
    QVERIFY2(!m_pController->saveVC(), "a save that wrote nothing reported success");
    QVERIFY(m_pModel->isModified());
    QCOMPARE(m_pController->currentPath(), QString());
    QCOMPARE(m_pController->mainWindow()->windowTitle(), title(QString()));
    QCOMPARE(m_pMessages->count(), 1);
    QCOMPARE(m_pMessages->last().title, QStringLiteral("Save Control Panel File"));
    QCOMPARE(m_pMessages->last().icon, QMessageBox::Warning);
    QVERIFY2(m_pMessages->last().text.contains(QStringLiteral("missing/folder/show.cpf")),
             qPrintable(m_pMessages->last().text));
    QVERIFY(USettings().value(QStringLiteral("Path/Panels")).toString().isEmpty());

    // After a good Save As the file goes away: Save reports it and stays modified.
    const QString target = tmpDir.filePath(QStringLiteral("sub/show.cpz"));
    QVERIFY(QDir(tmpDir.path()).mkdir(QStringLiteral("sub")));
    m_pFiles->answers.append(target);
    QVERIFY(m_pController->saveAsVC());
    QVERIFY(QDir(tmpDir.filePath(QStringLiteral("sub"))).removeRecursively());
    m_pModel->setModified(true);
    QVERIFY(!m_pController->saveVC());
    QVERIFY(m_pModel->isModified());
    QCOMPARE(m_pMessages->count(), 2);
}

void TestMainWindow::failedPromptSaveStopsExit()
{
    TestDir tmpDir;
    QVERIFY(tmpDir.isValid());
    const QString target = tmpDir.filePath(QStringLiteral("sub/show.cpz"));
    QVERIFY(QDir(tmpDir.path()).mkdir(QStringLiteral("sub")));
    m_pFiles->answers.append(target);
    QVERIFY(m_pController->saveAsVC());
    QVERIFY(QDir(tmpDir.filePath(QStringLiteral("sub"))).removeRecursively());
    m_pModel->setModified(true);

    // Yes with a known file that cannot be written: the prompt must not go on.
    m_pMessages->queueAnswer(QMessageBox::Yes);
    QVERIFY(!m_pController->promptSave(QStringLiteral("Exit")));
    QCOMPARE(m_pMessages->count(), 2);
    QCOMPARE(m_pMessages->last().title, QStringLiteral("Save Control Panel File"));
    QVERIFY(m_pModel->isModified());
}

void TestMainWindow::exitQuitsLoop()
{
    // The application's own loop: it resets the quit state when it returns, so
    // later event loops of this test run normally.
    QTimer::singleShot(0, m_pController, [this]() {
        act(KMainController::ExitAction)->trigger();
        QTimer::singleShot(0, qApp, []() { QCoreApplication::exit(42); });
    });
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(m_pMessages->count(), 0);

    // Modified and cancelled: the loop goes on until something else ends it.
    m_pModel->setModified(true);
    m_pMessages->queueAnswer(QMessageBox::Cancel);
    QTimer::singleShot(0, m_pController, [this]() {
        act(KMainController::ExitAction)->trigger();
        QTimer::singleShot(0, qApp, []() { QCoreApplication::exit(42); });
    });
    QCOMPARE(QCoreApplication::exec(), 42);
    QCOMPARE(m_pMessages->count(), 1);
    QCOMPARE(m_pMessages->last().title, QStringLiteral("Exit"));
    QVERIFY(m_pModel->isModified());
}

void TestMainWindow::windowCloseFollowsPrompt()
{
    MainWindow *window = m_pController->mainWindow();
    m_pModel->setModified(true);
    m_pMessages->queueAnswer(QMessageBox::Cancel);
    QVERIFY2(!window->close(), "Cancel in the prompt still closed the window");
    QVERIFY(window->isVisible());
    QCOMPARE(m_pMessages->last().title, QStringLiteral("Exit"));

    m_pMessages->queueAnswer(QMessageBox::No);
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
}

void TestMainWindow::newFromTemplate()
{
    auto *watcher = new PlacedController(0x1005);
    watcher->setModel(m_pModel);
    m_pModel->addController(watcher);
    m_pController->setWindowTitle(QStringLiteral("/x/old.cpz"));

    TemplatePicker picker(QStringLiteral("Blank Panel"));
    act(KMainController::NewAction)->trigger();
    QCOMPARE(picker.shown, 1);
    QVERIFY2(picker.names.contains(QStringLiteral("Blank Panel")),
             qPrintable(picker.names.join(QLatin1Char(','))));
    QCOMPARE(m_pController->mainWindow()->windowTitle(), title(QStringLiteral("Blank Panel.tpl")));
    QCOMPARE(m_pController->currentPath(), QString());
    QVERIFY(m_pModel->currentPanel());
    QCOMPARE(m_pModel->documentRoot()->childCount(), 1);
    QVERIFY(watcher->hints.contains(0x2800));
    QVERIFY(!m_pModel->editMode());
    QVERIFY(!act(KMainController::EditModeAction)->isChecked());

    // A template the dialog does not list is refused: nothing changes.
    watcher->hints.clear();
    TemplatePicker missing(QStringLiteral("No Such Template"));
    m_pController->newVC();
    QCOMPARE(missing.shown, 1);
    QVERIFY(watcher->hints.isEmpty());
}

void TestMainWindow::templateDialogLists()
{
    TestDir tmpDir;
    QVERIFY(tmpDir.isValid());
    const QString folder = tmpDir.path() + QStringLiteral("/");
    for (const char *name : {"Blank Panel.tpl", "Mixer.TPL", "abc", "notes.txt"}) {
        QFile file(folder + QLatin1String(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(folder).mkdir(QStringLiteral("Older Panels")));

    DTemplateDialog dialog(folder, QStringLiteral(".tpl"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Select a Template"));
    dialog.initialize();
    QStringList names = dialog.names();
    // Row 0 is chosen from the start, whatever order the folder gives.
    QCOMPARE(dialog.chosenName(), names.value(0));
    names.sort();
    QCOMPARE(names, QStringList({"Blank Panel", "Mixer", "Older Panels", "notes.txt"}));

    QVERIFY(!dialog.selectTemplate(QStringLiteral("abc")));
    QVERIFY(dialog.selectTemplate(QStringLiteral("Blank Panel")));
    dialog.accept();
    QCOMPARE(dialog.resultCode(), int(DModalDialog::Accepted));
    QCOMPARE(dialog.path(), folder + QStringLiteral("Blank Panel.tpl"));
    QVERIFY(QFile::exists(dialog.path()));

    // An empty folder offers nothing, and accepting it yields no path.
    TestDir emptyDir;
    DTemplateDialog empty(emptyDir.path() + QStringLiteral("/"), QStringLiteral(".tpl"));
    empty.initialize();
    QVERIFY(empty.names().isEmpty());
    empty.accept();
    QCOMPARE(empty.path(), QString());
}

void TestMainWindow::openRoundTrip()
{
    TestDir tmpDir;
    QVERIFY(tmpDir.isValid());
    const QString target = tmpDir.filePath(QStringLiteral("round.cpz"));
    m_pModel->currentPanel()->setName(QStringLiteral("Lobby"));
    m_pFiles->answers.append(target);
    QVERIFY(m_pController->saveAsVC());

    // Start afresh so the settings hold what Open stores.
    cleanup();
    init();
    USettings().setValue(QStringLiteral("Path/Panels"), tmpDir.path() + QStringLiteral("/"));
    auto *watcher = new PlacedController(0x1005);
    watcher->setModel(m_pModel);
    m_pModel->addController(watcher);

    m_pFiles->answers.append(QString());
    act(KMainController::OpenAction)->trigger();
    QCOMPARE(m_pFiles->requests.last().caption, QStringLiteral("Open Control Panel File"));
    QCOMPARE(m_pFiles->requests.last().dir, tmpDir.path() + QStringLiteral("/"));
    QCOMPARE(m_pFiles->requests.last().filter, QStringLiteral("Control Panel Files (*.cpz *.cpf)"));
    QCOMPARE(m_pModel->currentPanel()->name(), QStringLiteral("Home"));
    QVERIFY(watcher->hints.isEmpty());

    USettings().remove(QStringLiteral("Path/Panels"));
    m_pFiles->answers.append(target);
    act(KMainController::OpenAction)->trigger();
    QCOMPARE(m_pMessages->count(), 0);
    QVERIFY(m_pModel->currentPanel());
    QCOMPARE(m_pModel->currentPanel()->name(), QStringLiteral("Lobby"));
    QCOMPARE(m_pController->currentPath(), target);
    QCOMPARE(m_pController->mainWindow()->windowTitle(), title(QStringLiteral("round.cpz")));
    QCOMPARE(USettings().value(QStringLiteral("Path/Panels")).toString(), tmpDir.path() + "/");
    QVERIFY(!m_pModel->isModified());
    QVERIFY(watcher->hints.contains(0x2800));
}

void TestMainWindow::openUnreadableFile()
{
    TestDir tmpDir;
    QVERIFY(tmpDir.isValid());
    const QString broken = tmpDir.filePath(QStringLiteral("broken.cpf"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<ZDX><Scenes");
    file.close();

    m_pFiles->answers.append(broken);
    m_pController->openVC();
    QCOMPARE(m_pMessages->count(), 1);
    QCOMPARE(m_pMessages->last().title, QStringLiteral("Open Control Panel File"));
    QVERIFY2(m_pMessages->last().text.contains(QStringLiteral("broken.cpf")),
             qPrintable(m_pMessages->last().text));
    // The unread file is not taken as the document's file, so Save cannot
    // overwrite it.
    QCOMPARE(m_pController->currentPath(), QString());
    QCOMPARE(m_pController->mainWindow()->windowTitle(), title(QString()));
    m_pFiles->answers.append(QString());
    QVERIFY(!m_pController->saveVC());
    QCOMPARE(m_pFiles->requests.last().caption, QStringLiteral("Save Control Panel File"));
    QFile check(broken);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), QByteArray("<ZDX><Scenes"));
}

void TestMainWindow::openDesign()
{
    auto *watcher = new PlacedController(0x1005);
    watcher->setModel(m_pModel);
    m_pModel->addController(watcher);

    // Cancelled: still announced, nothing stored.
    m_pFiles->answers.append(QString());
    act(KMainController::OpenZdpAction)->trigger();
    QCOMPARE(m_pFiles->requests.last().caption, QStringLiteral("Open Zindral Designer File"));
    QCOMPARE(m_pFiles->requests.last().filter, QStringLiteral("ZDX Files (*.zdp)"));
    QCOMPARE(watcher->hints, QList<int>{0x2800});

    // A file that does not load leaves the folder unstored.
    m_pFiles->answers.append(QStringLiteral(ZRB_SOURCE_DIR "/examples/old-version.zdp"));
    act(KMainController::OpenZdpAction)->trigger();
    QCOMPARE(watcher->hints.count(), 2);
    QVERIFY(USettings().value(QStringLiteral("Path/Designs")).toString().isEmpty());

    m_pFiles->answers.append(QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp"));
    act(KMainController::OpenZdpAction)->trigger();
    QCOMPARE(watcher->hints.count(), 3);
    QCOMPARE(USettings().value(QStringLiteral("Path/Designs")).toString(),
             QStringLiteral(ZRB_SOURCE_DIR "/examples/"));
    QCOMPARE(m_pModel->designPath(),
             QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp"));
    QCOMPARE(m_pFiles->requests.last().dir, QString());
}

void TestMainWindow::aboutAndHelp()
{
    act(KMainController::AboutAction)->trigger();
    QCOMPARE(m_pMessages->count(), 1);
    QCOMPARE(m_pMessages->last().title, QStringLiteral("About"));
    QCOMPARE(m_pMessages->last().text, m_pModel->aboutText());

    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "openUrl");
    const QString helpDir = QCoreApplication::applicationDirPath() + QStringLiteral("/Help");
    const QString html = helpDir + QStringLiteral("/ZRBuilder_Help.html");
    QVERIFY2(QFile::exists(html), qPrintable(html + " was not copied beside the test"));
    act(KMainController::HelpAction)->trigger();
    QCOMPARE(recorder.urls, QList<QUrl>{QUrl::fromLocalFile(html)});

    // Without any help file the user is told, and nothing is opened.
    const QString hidden = helpDir + QStringLiteral(".hidden");
    QVERIFY(QDir().rename(helpDir, hidden));
    act(KMainController::HelpAction)->trigger();
    QVERIFY(QDir().rename(hidden, helpDir));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(recorder.urls.count(), 1);
    QCOMPARE(m_pMessages->count(), 2);
    QCOMPARE(m_pMessages->last().icon, QMessageBox::Warning);
    QVERIFY2(m_pMessages->last().text.contains(QStringLiteral("ZRBuilder_Help")),
             qPrintable(m_pMessages->last().text));
}

ZRB_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
