#include "common/RecordingMessageHandler.h"
#include "common/TestDir.h"
#include "common/EditorTestSupport.h"

#include "app/KComposite.h"
#include "app/KMainController.h"
#include "app/MModel.h"
#include "app/MainWindow.h"
#include "app/UBusyCursor.h"
#include "app/UFileDialog.h"
#include "commands/BCommand.h"
#include "commands/BCommandProcessor.h"
#include "dialogs/DTemplateDialog.h"
#include "dialogs/DUndoListDialog.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/USettings.h"
#include "document/io/XmlWriter.h"
#include "views/KQmlController.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
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
        requests.append({caption, dir, filter});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString getSaveFileName(QWidget *, const QString &caption, const QString &dir,
                            const QString &filter, QString *, QFileDialog::Options) override
    {
        return getOpenFileName(nullptr, caption, dir, filter, nullptr, {});
    }

    QList<Request> requests;
    QStringList answers;
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

// Stands in for the canvas, tab or properties controller: records the
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
    void fitWindowWidths();
    void layoutPlacesControllers();
    void modelSignalsDriveActions();
    void undoRedoThroughActions();
    void layoutMenuArranges();
    void editModeToggles();
    void promptAnswers_data();
    void promptAnswers();
    void saveAsThenSave();
    void failedSaveKeepsModified();
    void exitFollowsPrompt();
    void newFromTemplate();
    void templateDialogLists();
    void openRoundTrip();
    void failedOpenChangesNothing_data();
    void failedOpenChangesNothing();
    void openDesign();
    void openFilesFromTheCommandLine();
    void aboutAndHelp();
    void busyCursorWhileWorking();

private:
    QAction *act(int code) const { return m_pController->action(code); }
    // A stand-in controller of that type, added to the model's controllers.
    PlacedController *addWatcher(int type = KController::PropertiesType);
    QString windowTitleNow() const { return m_pController->mainWindow()->windowTitle(); }
    // Save As, with the file dialog answering path ("" cancels).
    bool saveAs(const QString &path);

    MModel *m_pModel = nullptr;
    KMainController *m_pController = nullptr;
    RecordingMessageHandler *m_pMessages = nullptr;
    FileDialogAnswers *m_pFiles = nullptr;
};

void TestMainWindow::init()
{
    USettings().clear();
    m_pMessages = new RecordingMessageHandler;
    m_pFiles = new FileDialogAnswers;
    m_pModel = new MModel;
    m_pController = new KMainController;
    m_pController->setModel(m_pModel);
    m_pController->setApplication(qApp);
    m_pModel->addController(m_pController);
}

void TestMainWindow::cleanup()
{
    // Whatever a test did, the wait cursor is gone and no message was shown
    // under it.
    QVERIFY2(!QGuiApplication::overrideCursor(), "the wait cursor stayed up");
    for (const RecordingMessageHandler::Message &message : m_pMessages->messages())
        QVERIFY2(!message.busy, qPrintable("shown under the wait cursor: " + message.text));
    delete m_pModel; // deletes the controller and its window
    m_pModel = nullptr;
    m_pController = nullptr;
    delete m_pFiles;
    delete m_pMessages;
}

PlacedController *TestMainWindow::addWatcher(int type)
{
    auto *watcher = new PlacedController(type);
    watcher->setModel(m_pModel);
    m_pModel->addController(watcher);
    return watcher;
}

bool TestMainWindow::saveAs(const QString &path)
{
    m_pFiles->answers.append(path);
    return m_pController->saveAsVC();
}

void TestMainWindow::startupState()
{
    QVERIFY(m_pController->mainWindow()->isVisible());
    QCOMPARE(windowTitleNow(), title(QString()));
    QCOMPARE(m_pModel->controllers()->findController(KController::MainType), m_pController);
    QCOMPARE(m_pModel->currentPanel()->name(), QStringLiteral("Home"));
    QCOMPARE(m_pModel->currentCollection()->name(), QStringLiteral("COLLECTION1"));
    QVERIFY(m_pModel->editMode());
    QVERIFY(act(KMainController::EditModeAction)->isChecked());
    QVERIFY(!act(KMainController::GoOnlineAction)->isChecked());
    QCOMPARE(m_pController->currentPath(), QString());
    QVERIFY(!m_pModel->isModified());
    QCOMPARE(m_pMessages->count(), 0);

    // Nothing to undo, select or send yet.
    for (int code : {KMainController::UndoAction, KMainController::UndoListAction,
                     KMainController::DeleteAction, KMainController::SendAction})
        QVERIFY2(!act(code)->isEnabled(), qPrintable(act(code)->text()));
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
    QCOMPARE(windowTitleNow(), title(QString()));
    QVERIFY(act(KMainController::EditModeAction)->isChecked());
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
    QCOMPARE(QSize(canvas->width(), canvas->height()), QSize(200, 150));

    const int bars = window->menuBar()->height() + window->mainToolBar()->height();
    // The same size again comes one pixel wider, so that a layout still happens.
    for (int width : {555, 556, 555}) {
        m_pController->fitWindow();
        QTRY_COMPARE_WITH_TIMEOUT(window->size(), QSize(width, 150 + 4 + bars), 10000);
    }

    // A wide canvas is not held to the minimum.
    canvas->setSize(5.0f);
    canvas->computePixelSize();
    QCOMPARE(QSize(canvas->width(), canvas->height()), QSize(400, 300));
    m_pController->fitWindow();
    QTRY_COMPARE_WITH_TIMEOUT(window->size(), QSize(662, 300 + 4 + bars), 10000);
}

void TestMainWindow::layoutPlacesControllers()
{
    MainWindow *window = m_pController->mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const CCanvas *canvas = m_pController->canvas();
    const QRect canvasRect(258, 2, canvas->width(), canvas->height());
    // The real canvas sits right of the 250-pixel column at the canvas size.
    auto *canvasController = qobject_cast<KQmlController *>(
        m_pModel->controllers()->findController(KController::QmlType));
    QVERIFY(canvasController);
    window->resize(700, 500);
    QTRY_COMPARE_WITH_TIMEOUT(canvasController->splitter()->geometry(), canvasRect, 10000);

    // Stand-ins record what the window hands the canvas and tab controllers.
    QVERIFY(m_pModel->controllers()->removeController(KController::QmlType));
    QVERIFY(m_pModel->controllers()->removeController(KController::TabType));
    PlacedController *tabs = addWatcher(KController::TabType);
    PlacedController *canvasView = addWatcher(KController::QmlType);
    window->resize(800, 600);
    QTRY_VERIFY_WITH_TIMEOUT(!tabs->rects.isEmpty(), 10000);
    const int bars = window->menuBar()->height() + window->mainToolBar()->height();
    QCOMPARE(tabs->rects.last(), QRect(2, 2, 248, 600 - bars - 8));
    QCOMPARE(canvasView->rects.last(), canvasRect);

    // The canvas controller is refreshed through the window, and reset by New.
    window->refreshCanvasController();
    QVERIFY(canvasView->hints.contains(KController::RefreshCanvas));
    m_pController->closePanelFile();
    QCOMPARE(canvasView->resets, 1);
    QCOMPARE(tabs->resets, 0);
}

void TestMainWindow::modelSignalsDriveActions()
{
    QList<QAction *> selection{act(KMainController::DeleteAction)};
    for (QAction *entry : m_pController->menus().at(2)->actions()) {
        if (!entry->isSeparator())
            selection.append(entry);
    }
    QCOMPARE(selection.count(), 13);
    using Signal = void (MModel::*)(bool);
    const QList<QPair<Signal, QList<QAction *>>> ties{
        {&MModel::selectState, selection},
        {&MModel::ccpState, {act(KMainController::CutAction), act(KMainController::CopyAction)}},
        {&MModel::enableConnection,
         {act(KMainController::GoOnlineAction), act(KMainController::SendAction)}}};

    // Each signal switches its own actions and no others.
    for (const auto &tie : ties) {
        for (bool on : {true, false}) {
            emit(m_pModel->*tie.first)(on);
            for (const auto &other : ties) {
                for (QAction *entry : other.second)
                    QVERIFY2(entry->isEnabled() == (on && &other == &tie),
                             qPrintable(entry->text()));
            }
        }
    }
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
    auto enabled = [this]() {
        return QStringLiteral("%1%2%3")
            .arg(int(act(KMainController::UndoAction)->isEnabled()))
            .arg(int(act(KMainController::RedoAction)->isEnabled()))
            .arg(int(act(KMainController::UndoListAction)->isEnabled()));
    };
    QCOMPARE(enabled(), QStringLiteral("101"));

    act(KMainController::UndoAction)->trigger();
    QCOMPARE(processor->redoAt(0), command);
    QCOMPARE(command->state(), int(BCommand::Undone));
    QCOMPARE(enabled(), QStringLiteral("011"));
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
    QCOMPARE(enabled(), QStringLiteral("000"));
}

// Every Layout entry issues its command on the selection, one undo step each;
// a single control aligns and spaces with itself and stays where it was.
void TestMainWindow::layoutMenuArranges()
{
    CControl *title = m_pModel->currentPanel()->childAt(1);
    title->setSelected(1);
    const QRectF before = title->bounds();
    BCommandProcessor *processor = BCommandProcessor::instance();
    QStringList issued;
    for (QAction *entry : m_pController->menus().at(2)->actions()) {
        if (!entry->isSeparator() && entry->isEnabled()) {
            entry->trigger();
            issued << processor->undoAt(processor->undoCount() - 1)->text();
        }
    }
    QCOMPARE(issued, QStringList({"Send To Front", "Send Forward", "Send To Back",
                                  "Send Backward", "Align Left", "Align Right", "Align Top",
                                  "Align Bottom", "Align Horizontal Center",
                                  "Align Vertical Center", "Distribute Horizontally",
                                  "Distribute Vertically"}));
    QCOMPARE(title->bounds(), before);
}

void TestMainWindow::editModeToggles()
{
    QAction *editMode = act(KMainController::EditModeAction);
    for (bool on : {false, true}) {
        editMode->trigger();
        QCOMPARE(m_pModel->editMode(), on);
        QCOMPARE(editMode->isChecked(), on);
    }

    // Go Online never runs ahead of the model.
    QAction *online = act(KMainController::GoOnlineAction);
    online->setEnabled(true);
    online->trigger();
    QCOMPARE(online->isChecked(), m_pModel->isOnline());
    // Going online leaves edit mode; going offline again stops the polling.
    QVERIFY(m_pModel->isOnline() && !m_pModel->editMode() && !editMode->isChecked());
    online->trigger();
    QVERIFY(!m_pModel->isOnline() && !online->isChecked());
    QVERIFY(!m_pModel->findChild<QTimer *>(QStringLiteral("polling"))->isActive());
}

void TestMainWindow::promptAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAsChoice"); // "-" when Save As must not be asked
    QTest::addColumn<bool>("goesOn");

    QTest::newRow("no") << int(QMessageBox::No) << "-" << true;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << "-" << false;
    QTest::newRow("yes, save as cancelled") << int(QMessageBox::Yes) << "" << false;
    QTest::newRow("yes, saved") << int(QMessageBox::Yes) << "prompted.cpz" << true;
}

void TestMainWindow::promptAnswers()
{
    QFETCH(int, answer);
    QFETCH(QString, saveAsChoice);
    QFETCH(bool, goesOn);

    TestDir tmpDir;
    QVERIFY(tmpDir.isValid());
    m_pModel->setModified(true);
    m_pMessages->queueAnswer(QMessageBox::StandardButton(answer));
    const bool saveAsAsked = saveAsChoice != QLatin1String("-");
    const QString target = saveAsChoice.isEmpty() ? QString() : tmpDir.filePath(saveAsChoice);
    if (saveAsAsked)
        m_pFiles->answers.append(target);

    // New runs the prompt first; the template dialog shows only when it goes on.
    TemplatePicker picker(QStringLiteral("Blank Panel"));
    m_pController->newVC();

    QCOMPARE(m_pMessages->count(), 1);
    const RecordingMessageHandler::Message asked = m_pMessages->last();
    QCOMPARE(asked.title, QStringLiteral("New Control Panel"));
    QCOMPARE(asked.text, QStringLiteral("There are unsaved changes. Would you like to save?"));
    QCOMPARE(asked.icon, QMessageBox::Warning);
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    QCOMPARE(m_pFiles->requests.count(), saveAsAsked ? 1 : 0);
    QCOMPARE(picker.shown, goesOn ? 1 : 0);
    // Going on replaces the document with a fresh, unmodified one.
    QCOMPARE(m_pModel->isModified(), !goesOn);
    if (saveAsAsked && !target.isEmpty())
        QVERIFY2(QFile::exists(target), "Save As wrote no file");
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
    QCOMPARE(windowTitleNow(), title(QStringLiteral("show.cpz")));
    QCOMPARE(USettings().value(QStringLiteral("Path/Panels")).toString(), tmpDir.path() + "/");

    // Save after Save As writes to the same file without asking.
    QFile::remove(target);
    m_pModel->setModified(true);
    act(KMainController::SaveAction)->trigger();
    QCOMPARE(m_pFiles->requests.count(), 1);
    QVERIFY(QFile::exists(target));
    QVERIFY(!m_pModel->isModified());

    // Save As proposes the current file in the stored folder; cancelled, it
    // changes nothing.
    QVERIFY(!saveAs(QString()));
    QCOMPARE(m_pFiles->requests.last().dir, tmpDir.path() + QStringLiteral("/show.cpz"));
    QCOMPARE(m_pController->currentPath(), target);
    QCOMPARE(m_pMessages->count(), 0);
}

void TestMainWindow::failedSaveKeepsModified()
{
    TestDir tmpDir;
    QVERIFY(tmpDir.isValid());
    m_pModel->setModified(true);

    QVERIFY2(!saveAs(tmpDir.filePath(QStringLiteral("missing/folder/show.cpz"))),
             "a save that wrote nothing reported success");
    QVERIFY(m_pModel->isModified());
    QCOMPARE(m_pController->currentPath(), QString());
    QCOMPARE(windowTitleNow(), title(QString()));
    QCOMPARE(m_pMessages->count(), 1);
    QCOMPARE(m_pMessages->last().title, QStringLiteral("Save Control Panel File"));
    QCOMPARE(m_pMessages->last().icon, QMessageBox::Warning);
    QVERIFY2(m_pMessages->last().text.contains(QStringLiteral("missing/folder/show.cpz")),
             qPrintable(m_pMessages->last().text));
    QVERIFY(USettings().value(QStringLiteral("Path/Panels")).toString().isEmpty());

    // After a good Save As the folder goes away: Save reports it and stays
    // modified, and Yes in the prompt must not go on.
    QVERIFY(QDir(tmpDir.path()).mkdir(QStringLiteral("sub")));
    QVERIFY(saveAs(tmpDir.filePath(QStringLiteral("sub/show.cpz"))));
    QVERIFY(QDir(tmpDir.filePath(QStringLiteral("sub"))).removeRecursively());
    m_pModel->setModified(true);
    QVERIFY(!m_pController->saveVC());
    QCOMPARE(m_pMessages->count(), 2);
    m_pMessages->queueAnswer(QMessageBox::Yes);
    QVERIFY(!m_pController->promptSave(QStringLiteral("Exit")));
    QCOMPARE(m_pMessages->count(), 4);
    QCOMPARE(m_pMessages->last().title, QStringLiteral("Save Control Panel File"));
    QVERIFY(m_pModel->isModified());
}

void TestMainWindow::exitFollowsPrompt()
{
    // Exit through the application's own loop, which resets its quit state
    // when it returns; 42 comes only when Exit left the loop running.
    auto exitCode = [this]() {
        QTimer::singleShot(0, m_pController, [this]() {
            act(KMainController::ExitAction)->trigger();
            QTimer::singleShot(0, qApp, []() { QCoreApplication::exit(42); });
        });
        return QCoreApplication::exec();
    };
    QCOMPARE(exitCode(), 0);
    QCOMPARE(m_pMessages->count(), 0);

    m_pModel->setModified(true);
    m_pMessages->queueAnswer(QMessageBox::Cancel);
    QCOMPARE(exitCode(), 42);
    QCOMPARE(m_pMessages->last().title, QStringLiteral("Exit"));
    QVERIFY(m_pModel->isModified());

    // Closing the window asks the same.
    MainWindow *window = m_pController->mainWindow();
    m_pMessages->queueAnswer(QMessageBox::Cancel);
    QVERIFY2(!window->close(), "Cancel in the prompt still closed the window");
    QVERIFY(window->isVisible());
    QCOMPARE(m_pMessages->count(), 2);
    m_pMessages->queueAnswer(QMessageBox::No);
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
}

void TestMainWindow::newFromTemplate()
{
    PlacedController *watcher = addWatcher();
    m_pController->setWindowTitle(QStringLiteral("/x/old.cpz"));

    TemplatePicker picker(QStringLiteral("Blank Panel"));
    act(KMainController::NewAction)->trigger();
    QCOMPARE(picker.shown, 1);
    QVERIFY2(picker.names.contains(QStringLiteral("Blank Panel")),
             qPrintable(picker.names.join(QLatin1Char(','))));
    QCOMPARE(windowTitleNow(), title(QStringLiteral("Blank Panel.tpl")));
    QCOMPARE(m_pController->currentPath(), QString());
    QCOMPARE(m_pModel->documentRoot()->childCount(), 1);
    QVERIFY(m_pModel->currentPanel());
    QVERIFY(watcher->hints.contains(KController::DocumentReloaded));
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
    m_pModel->currentCollection()->setName(QStringLiteral("Lobby"));
    QVERIFY(saveAs(target));

    // Start afresh; Open starts in the stored folder, and cancelled it changes
    // nothing.
    cleanup();
    init();
    USettings().setValue(QStringLiteral("Path/Panels"), tmpDir.path() + QStringLiteral("/"));
    PlacedController *watcher = addWatcher();
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
    QCOMPARE(m_pModel->currentCollection()->name(), QStringLiteral("Lobby"));
    QCOMPARE(m_pController->currentPath(), target);
    QCOMPARE(windowTitleNow(), title(QStringLiteral("round.cpz")));
    QCOMPARE(USettings().value(QStringLiteral("Path/Panels")).toString(), tmpDir.path() + "/");
    QVERIFY(!m_pModel->isModified());
    QVERIFY(watcher->hints.contains(KController::DocumentReloaded));
}

void TestMainWindow::failedOpenChangesNothing_data()
{
    // Which command, and what the file holds ("-": no file; "/": a folder).
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const int open = KMainController::OpenAction;
    const int design = KMainController::OpenZdpAction;
    const QByteArray designText = "<?xml version=\"1.0\"?>\n<Project version=\"4.3\"><Nodes>";
    QTest::newRow("panel cut short") << open << "cut.cpf" << QByteArray("<ZDX><Scenes") << "line";
    QTest::newRow("design named as a panel") << open << "design.cpf"
                                             << designText + "</Nodes></Project>" << "design file";
    QTest::newRow("text named cpz") << open << "text.cpz" << QByteArray("just some words\n")
                                    << "not a control panel archive";
    QTest::newRow("random bytes") << open << "noise.cpz" << QByteArray("\x10\0\0\0\xff\xff\xff\xff\1", 9)
                                  << "not a control panel archive";
    QTest::newRow("missing panel") << open << "gone.cpz" << QByteArray("-") << "no such file";
    QTest::newRow("panel is a folder") << open << "box.cpz" << QByteArray("/") << "folder";
    QTest::newRow("design cut short") << design << "cut.zdp" << designText << "line";
    QTest::newRow("empty design") << design << "empty.zdp" << QByteArray() << "not a Zindral";
    QTest::newRow("panel as design") << design << "panel.zdp" << QByteArray("<ZDX/>")
                                     << "not a Zindral";
    QTest::newRow("old design") << design << "old.zdp" << QByteArray("old") << "4.2";
    QTest::newRow("missing design") << design << "gone.zdp" << QByteArray("-") << "no such file";
}

// A file that cannot be read, opened or imported over modified work, leaves
// the document, its design, its title and its unsaved changes as they were,
// and says which file and why.
void TestMainWindow::failedOpenChangesNothing()
{
    QFETCH(int, action);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    TestDir tmpDir;
    QVERIFY(m_pModel->loadDesign(QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp")));
    QVERIFY(saveAs(tmpDir.filePath(QStringLiteral("work.cpz"))));
    m_pModel->currentCollection()->setName(QStringLiteral("Changed"));
    m_pModel->setModified(true);
    const auto state = [this]() {
        return TestSupport::writtenXml([this](XmlWriter &w) { m_pModel->writeDocument(&w); }) +
               m_pModel->designPath() + windowTitleNow() + m_pController->currentPath();
    };
    const QString before = state();

    const QString path = tmpDir.filePath(name);
    if (bytes == "/") {
        QVERIFY(QDir(tmpDir.path()).mkdir(name));
    } else if (name == QLatin1String("old.zdp")) {
        QVERIFY(QFile::copy(QStringLiteral(ZRB_SOURCE_DIR "/examples/old-version.zdp"), path));
    } else if (bytes != "-") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    // The unsaved-changes prompt comes first; going on without saving.
    m_pMessages->queueAnswer(QMessageBox::No);
    m_pFiles->answers.append(path);
    act(action)->trigger();

    QCOMPARE(state(), before);
    QVERIFY(m_pModel->isModified());
    QCOMPARE(m_pModel->currentCollection()->name(), QStringLiteral("Changed"));
    const RecordingMessageHandler::Message message = m_pMessages->last();
    QVERIFY2(message.text.contains(name), qPrintable(message.text));
    QVERIFY2(message.text.contains(reason, Qt::CaseInsensitive), qPrintable(message.text));
}

void TestMainWindow::openDesign()
{
    PlacedController *watcher = addWatcher();
    const QString examples = QStringLiteral(ZRB_SOURCE_DIR "/examples/");

    // Cancelled: still announced, nothing stored.
    act(KMainController::OpenZdpAction)->trigger();
    QCOMPARE(m_pFiles->requests.last().caption, QStringLiteral("Open Zindral Designer File"));
    QCOMPARE(m_pFiles->requests.last().filter, QStringLiteral("ZDX Files (*.zdp)"));
    QCOMPARE(watcher->hints, QList<int>{KController::DocumentReloaded});

    // A file that does not load leaves the folder unstored.
    m_pFiles->answers.append(examples + QStringLiteral("old-version.zdp"));
    act(KMainController::OpenZdpAction)->trigger();
    QCOMPARE(watcher->hints.count(), 2);
    QVERIFY(USettings().value(QStringLiteral("Path/Designs")).toString().isEmpty());

    m_pFiles->answers.append(examples + QStringLiteral("conference-room.zdp"));
    act(KMainController::OpenZdpAction)->trigger();
    QCOMPARE(watcher->hints.count(), 3);
    QCOMPARE(USettings().value(QStringLiteral("Path/Designs")).toString(), examples);
    QCOMPARE(m_pModel->designPath(), examples + QStringLiteral("conference-room.zdp"));
    QCOMPARE(m_pFiles->requests.last().dir, QString());
    // The canvas and the status bar show the imported design at once.
    QCOMPARE(m_pModel->qmlProperty("headerTitle").toString(),
             QStringLiteral("Harbourside Conference Centre"));
    QVERIFY2(windowTitleNow().endsWith(QStringLiteral(" (design conference-room.zdp)")),
             qPrintable(windowTitleNow()));
}

void TestMainWindow::openFilesFromTheCommandLine()
{
    TestDir tmpDir;
    const QString panel = tmpDir.filePath(QStringLiteral("cmd.cpz"));
    m_pModel->currentCollection()->setName(QStringLiteral("Lobby"));
    QVERIFY(saveAs(panel));
    cleanup();
    init();
    // A design named in any way is taken for what it holds.
    const QString design = tmpDir.filePath(QStringLiteral("room.xml"));
    QVERIFY(QFile::copy(QStringLiteral(ZRB_SOURCE_DIR "/examples/conference-room.zdp"), design));
    m_pController->openFiles({design, panel});
    QCOMPARE(m_pMessages->count(), 0);
    QCOMPARE(m_pController->currentPath(), panel);
    QCOMPARE(m_pModel->currentCollection()->name(), QStringLiteral("Lobby"));
    QCOMPARE(m_pModel->designPath(), design);
    QCOMPARE(windowTitleNow(), title(QStringLiteral("cmd.cpz (design room.xml)")));

    // Files that cannot be read are reported as Open would, and change nothing.
    m_pController->openFiles({tmpDir.filePath(QStringLiteral("missing.cpz"))});
    QCOMPARE(m_pMessages->count(), 1);
    QCOMPARE(m_pMessages->last().title, QStringLiteral("Open Control Panel File"));
    QCOMPARE(m_pController->currentPath(), panel);
}

void TestMainWindow::aboutAndHelp()
{
    act(KMainController::AboutAction)->trigger();
    QCOMPARE(m_pMessages->count(), 1);
    QCOMPARE(m_pMessages->last().title, QStringLiteral("About"));
    QCOMPARE(m_pMessages->last().text, m_pModel->aboutText());
    QVERIFY2(m_pModel->aboutText().contains(QStringLiteral("Version " ZRB_VERSION)),
             qPrintable(m_pModel->aboutText()));

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

void TestMainWindow::busyCursorWhileWorking()
{
    {
        UBusyCursor busy;
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        // A window closed under the work would take its document along.
        QVERIFY2(!m_pController->mainWindow()->close(), "closed while busy");
        // Long work hands the event loop a moment now and then.
        bool ran = false;
        QTimer::singleShot(0, qApp, [&ran] { ran = true; });
        QElapsedTimer clock;
        clock.start();
        while (!ran && clock.elapsed() < 30000)
            UProgress::step();
        QVERIFY2(ran, "the event loop never came round");
    }
    QVERIFY(!QGuiApplication::overrideCursor());
}

ZRB_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
