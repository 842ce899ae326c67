#include "app/KMainController.h"

#include "app/KComposite.h"
#include "app/KMainActions.h"
#include "app/KPanelFiles.h"
#include "app/MModel.h"
#include "app/MainWindow.h"
#include "app/UBusyCursor.h"
#include "views/KQmlController.h"
#include "views/KTabController.h"
#include "app/UMessage.h"
#include "commands/BCommand.h"
#include "commands/BCommandFactory.h"
#include "commands/BCommandProcessor.h"
#include "controls/WDelegate.h"
#include "dialogs/DUndoListDialog.h"
#include "document/CCanvas.h"
#include "document/CDocument.h"
#include "document/CComposite.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

KMainController::KMainController()
    : m_pCanvas(std::make_unique<CCanvas>()), m_pMainWindow(new MainWindow)
{
}

KMainController::~KMainController()
{
    m_pActions.reset();
    m_pFiles.reset();
    // The window shows the canvas record, so the window goes first.
    delete m_pMainWindow;
    m_pCanvas.reset();
}

MainWindow *KMainController::mainWindow() const
{
    return m_pMainWindow;
}

QString KMainController::currentPath() const
{
    return m_pFiles ? m_pFiles->currentPath() : QString();
}

QSettings *KMainController::settings() const
{
    return m_pFiles ? m_pFiles->settings() : nullptr;
}

QList<QMenu *> KMainController::menus() const
{
    return m_pActions ? m_pActions->menus() : QList<QMenu *>();
}

int KMainController::type() const
{
    return MainType;
}

QAction *KMainController::action(int id) const
{
    return m_pActions ? m_pActions->action(id) : nullptr;
}

QString KMainController::templateFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/templates/");
}

void KMainController::initialize()
{
    MainWindow *window = m_pMainWindow;
    window->setController(this);
    m_pFiles = std::make_unique<KPanelFiles>(this);

    m_pActions = std::make_unique<KMainActions>(this);
    BCommandProcessor::instance()->setController(this);
    m_pActions->buildMenus(window->menuBar());
    m_pActions->buildToolBar(window->mainToolBar());

    MModel *model = this->model();
    if (QStatusBar *bar = window->existingStatusBar()) {
        if (model)
            connect(model, &MModel::displayMessage, bar,
                    [bar](const QString &message) { bar->showMessage(message); });
    }
    if (model) {
        model->setMainWindow(window);
        model->setCanvas(m_pCanvas.get());
    }

    // The canvas, and beside it the project tree and properties tabs.
    if (model) {
        model->addController(new KQmlController(model, window->centralWidget()));
        model->addController(new KTabController(model, window->centralWidget()));
    }

    if (model) {
        connect(model, &MModel::resetQMLFocus, this, &KMainController::resetQMLFocus);
        m_pActions->connectModel(model);
        model->setQmlProperty("rightClickEnable", false);
    }
    WDelegate::instance()->setMainWindow(window);
    // The model builds its document once its signals reach the actions.
    if (model)
        model->initialize();

    loadStartPanel();

    window->show();
    if (model)
        model->setEditMode(true);
    setActionChecked(EditModeAction, true);

    setWindowTitle(QString());
    if (model)
        model->broadcast(DocumentReloaded);
}

void KMainController::openFiles(const QStringList &paths)
{
    QStringList designs;
    for (const QString &path : paths) {
        const bool design = CDocument::rootElementOf(path) == QLatin1String("Project") ||
                            (path.endsWith(QLatin1String(".zdp"), Qt::CaseInsensitive) &&
                             CDocument::rootElementOf(path).isEmpty());
        if (design)
            designs << path;
        else
            m_pFiles->openPath(path);
    }
    for (const QString &path : qAsConst(designs))
        m_pFiles->importDesign(path);
    if (!designs.isEmpty() && model()) {
        UBusyCursor busy;
        model()->broadcast(DocumentReloaded);
    }
}

bool KMainController::openPanel(const QString &path)
{
    return m_pFiles->openPath(path);
}

void KMainController::loadStartPanel()
{
    m_pCanvas->reset();
    MModel *model = this->model();
    if (model) {
        const QString startTemplate = templateFolder() + QStringLiteral("Blank Panel.tpl");
        if (!model->newDocument(startTemplate)) {
            QString reason = model->lastError();
            if (reason.isEmpty())
                reason = tr("Cannot open the start template %1.")
                             .arg(QDir::toNativeSeparators(startTemplate));
            UMessage::warning(m_pMainWindow, tr("Warning"), reason);
        }
        if (CComposite *panel = model->currentPanel())
            panel->setName(tr("Home"));
    }
    fitWindow();
    m_pFiles->clearCurrentPath();
}

void KMainController::setGeometry(const QRect &rect)
{
    MModel *model = this->model();
    if (!model || !model->controllers() || !m_pMainWindow)
        return;
    int bars = 0;
    if (QWidget *bar = m_pMainWindow->menuWidget())
        bars += bar->height();
    if (QToolBar *bar = m_pMainWindow->mainToolBar())
        bars += bar->height();
    if (QStatusBar *bar = m_pMainWindow->existingStatusBar())
        bars += bar->height();

    KComposite *root = model->controllers();
    if (KController *tabs = root->findController(TabType))
        tabs->setGeometry(QRect(QPoint(2, 2), QPoint(249, rect.height() - bars - 7)));
    if (KController *canvas = root->findController(QmlType))
        canvas->setGeometry(QRect(258, 2, m_pCanvas->width(), m_pCanvas->height()));
}

void KMainController::fitWindow()
{
    MainWindow *window = m_pMainWindow;
    QWidget *menu = window ? window->menuWidget() : nullptr;
    QToolBar *tools = window ? window->mainToolBar() : nullptr;
    if (!menu || !tools)
        return;
    // Before the window is first laid out the bars only know their hints.
    const int menuHeight = menu->isVisible() ? menu->height() : menu->sizeHint().height();
    const int toolHeight = tools->isVisible() ? tools->height() : tools->sizeHint().height();
    int width = qMax(m_pCanvas->width() + 262, 555);
    const int height = m_pCanvas->height() + 4 + menuHeight + toolHeight;
    // A resize must always happen, so that the views are placed again.
    if (QSize(width, height) == window->size())
        ++width;
    window->resize(width, height);
}

void KMainController::setWindowTitle(const QString &path)
{
    m_titlePath = path;
    if (!m_pMainWindow)
        return;
    QString title = tr("Zindral Remote builder");
    MModel *model = this->model();
    if (model)
        title += QStringLiteral(" - ") + path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    // Which design the panel works with is worth seeing at all times.
    if (model && !model->designPath().isEmpty())
        title += tr(" (design %1)").arg(QFileInfo(model->designPath()).fileName());
    m_pMainWindow->setWindowTitle(title);
}

void KMainController::refreshWindowTitle()
{
    setWindowTitle(m_titlePath);
}

bool KMainController::promptSave(const QString &title)
{
    return m_pFiles->promptSave(title);
}

void KMainController::closePanelFile()
{
    if (MModel *model = this->model())
        model->closeDocument();
    documentReplaced();
    m_pCanvas->reset();
}

void KMainController::documentReplaced()
{
    goOffline();
    MModel *model = this->model();
    if (model)
        model->setEditMode(false);
    setActionChecked(EditModeAction, false);
    setActionChecked(GoOnlineAction, false);
    if (model && model->controllers()) {
        if (KController *canvas = model->controllers()->findController(QmlType))
            canvas->reset();
    }
}

void KMainController::goOffline()
{
    MModel *model = this->model();
    if (model && model->isOnline())
        model->goOnline(false);
    setActionChecked(GoOnlineAction, false);
}

void KMainController::resetQMLFocus() {}

void KMainController::openZDP()
{
    m_pFiles->openDesign();
}

void KMainController::closeZDP()
{
    if (MModel *model = this->model())
        model->forgetDesign();
}

void KMainController::newVC()
{
    m_pFiles->newPanel();
}

void KMainController::openVC()
{
    m_pFiles->open();
}

bool KMainController::saveVC()
{
    return m_pFiles->save();
}

bool KMainController::saveAsVC()
{
    return m_pFiles->saveAs();
}

void KMainController::sendVC()
{
    goOffline();
    if (MModel *model = this->model())
        model->sendToMobile();
}

void KMainController::exit()
{
    if (!promptSave(tr("Exit")))
        return;
    goOffline();
    if (m_pApplication)
        m_pApplication->exit(0);
    else
        QCoreApplication::exit(0);
}

void KMainController::runHistoryCommand(int code)
{
    std::unique_ptr<BCommand> command = BCommandFactory::instance()->create(code);
    if (!command)
        return;
    command->setModel(model());
    // A gesture still under way (Ctrl+Z with the mouse held) is ended and
    // filed first: stepping through the history while it runs would file it
    // in the middle of the step.
    model()->resetPointerTool();
    BCommandProcessor::instance()->process(std::move(command));
}

void KMainController::undo()
{
    runHistoryCommand(BCommandFactory::EditUndo);
}

void KMainController::redo()
{
    runHistoryCommand(BCommandFactory::EditRedo);
}

void KMainController::undoList()
{
    DUndoListDialog dialog(BCommandProcessor::instance(), m_pMainWindow);
    dialog.execModal();
}

void KMainController::issueCommand(int code)
{
    std::unique_ptr<BCommand> command = BCommandFactory::instance()->create(code);
    if (!command)
        return;
    command->setModel(model());
    command->prepare();
    // The command collects what it acts on; finding nothing it turns itself
    // transient, so the processor runs it once (changing nothing) and
    // deletes it. One handed back is not wanted here and goes with this scope.
    command->execute(0);
    BCommandProcessor::instance()->process(std::move(command));
}

void KMainController::cut()
{
    issueCommand(BCommandFactory::EditCut);
}

void KMainController::copy()
{
    issueCommand(BCommandFactory::EditCopy);
}

void KMainController::paste()
{
    issueCommand(BCommandFactory::EditPaste);
}

void KMainController::del()
{
    issueCommand(BCommandFactory::EditDelete);
}

void KMainController::editMode()
{
    goOffline();
    if (MModel *model = this->model())
        model->toggleEditMode();
}

void KMainController::bringToFront()
{
    issueCommand(BCommandFactory::LayoutFront);
}

void KMainController::bringForward()
{
    issueCommand(BCommandFactory::LayoutForward);
}

void KMainController::sendToBack()
{
    issueCommand(BCommandFactory::LayoutBack);
}

void KMainController::sendBackward()
{
    issueCommand(BCommandFactory::LayoutBackward);
}

void KMainController::alignLeft()
{
    issueCommand(BCommandFactory::AlignLeft);
}

void KMainController::alignRight()
{
    issueCommand(BCommandFactory::AlignRight);
}

void KMainController::alignTop()
{
    issueCommand(BCommandFactory::AlignTop);
}

void KMainController::alignBottom()
{
    issueCommand(BCommandFactory::AlignBottom);
}

void KMainController::alignHCenter()
{
    issueCommand(BCommandFactory::AlignHCenter);
}

void KMainController::alignVCenter()
{
    issueCommand(BCommandFactory::AlignVCenter);
}

void KMainController::spaceAcross()
{
    issueCommand(BCommandFactory::LayoutSpaceAcross);
}

void KMainController::spaceDown()
{
    issueCommand(BCommandFactory::LayoutSpaceDown);
}

void KMainController::toggleConnection()
{
    MModel *model = this->model();
    if (!model)
        return;
    const bool wasOnline = model->isOnline();
    model->goOnline(!wasOnline);
    if (!wasOnline) {
        model->startOnlineExchange();
        model->setEditMode(false);
        setActionChecked(EditModeAction, false);
    }
    // The check mark follows the model, never runs ahead of it.
    setActionChecked(GoOnlineAction, model->isOnline());
}

void KMainController::connectionToggled(bool)
{
    // The check mark only ever mirrors the model.
    MModel *model = this->model();
    setActionChecked(GoOnlineAction, model && model->isOnline());
}

void KMainController::panelSetup() {}

void KMainController::canvasSetup() {}

void KMainController::aboutVC()
{
    if (MModel *model = this->model())
        UMessage::about(m_pMainWindow, tr("About"), model->aboutText());
}

void KMainController::helpTopics()
{
    const QString base =
        QCoreApplication::applicationDirPath() + QStringLiteral("/Help/ZRBuilder_Help");
    QStringList candidates;
#ifdef Q_OS_WIN
    // The compiled help opens only where a viewer for it exists.
    candidates << base + QStringLiteral(".chm");
#endif
    candidates << base + QStringLiteral(".html");
    for (const QString &candidate : qAsConst(candidates)) {
        if (!QFileInfo::exists(candidate))
            continue;
        if (QDesktopServices::openUrl(QUrl::fromLocalFile(candidate)))
            return;
        UMessage::warning(
            m_pMainWindow, tr("Warning"),
            tr("The help file %1 could not be opened.").arg(QDir::toNativeSeparators(candidate)));
        return;
    }
    UMessage::warning(m_pMainWindow, tr("Warning"),
                      tr("The help file %1 could not be found.")
                          .arg(QDir::toNativeSeparators(candidates.last())));
}
