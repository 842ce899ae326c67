#include "app/MModel.h"

#include "app/MCanvasState.h"
#include "app/MDocumentEditing.h"
#include "app/MDocumentFiles.h"
#include "app/MMobileTransfer.h"
#include "app/MOnlineSession.h"
#include "app/KComposite.h"
#include "app/KController.h"
#include "app/KMainController.h"
#include "document/MProject.h"
#include "app/UMessage.h"
#include "commands/BCommand.h"
#include "commands/BCommandFactory.h"
#include "commands/BCommandProcessor.h"
#include "controls/WDelegate.h"
#include "dialogs/DQmlMessageDialog.h"
#include "views/VModeManager.h"
#include "controls/WWidget.h"
#include "controls/WWidgetFactory.h"
#include "design/HRoot.h"
#include "design/XZDPHandler.h"
#include "device/IComposite.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CDocument.h"
#include "document/io/UArchive.h"
#include "document/io/XmlWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>

namespace {
const QString GroupScenes = QStringLiteral("Scenes");
const QString GroupPanels = QStringLiteral("Panels");
const QString GroupControls = QStringLiteral("Controls");
constexpr int MaxPanelsPerCollection = 6;
} // namespace

MModel::MModel(QObject *parent)
    : QObject(parent), m_mobileAddress(QStringLiteral("192.168.0.1"))
{
    m_pDocument = std::make_unique<CDocument>();
    m_pFiles = std::make_unique<MDocumentFiles>(*this);
    m_pCanvasState = std::make_unique<MCanvasState>(*this);
    m_pEditing = std::make_unique<MDocumentEditing>(*this);
    m_pControllers = new KComposite(this);
    m_pSession = std::make_unique<MOnlineSession>(*this);
    m_pTransfer = std::make_unique<MMobileTransfer>(*this);
}

MModel::~MModel()
{
    // The connections go down while everything they report to still exists.
    if (m_pSession->isOnline())
        m_pSession->goOnline(false);
    BCommandProcessor::release();
    KComposite *controllers = m_pControllers;
    m_pControllers = nullptr;
    delete controllers;
    m_pPointerTool.reset();
    VModeManager::release();
    m_pCurrentPanel = nullptr;
    m_pDocument.reset();
    WDelegate::release();
}

void MModel::initialize()
{
    m_pDocument->setHost(this);

    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::applicationStateChanged, this,
                &MModel::applicationStateChanged, Qt::UniqueConnection);

    WDelegate *delegate = WDelegate::instance();
    if (!delegate->factory())
        delegate->setFactory(new WWidgetFactory());
    delegate->factory()->setModel(this);
    delegate->setLoadScale(m_viewScale);

    BCommandProcessor::instance();
    if (!m_pPointerTool) {
        m_pPointerTool = BCommandFactory::instance()->create(BCommandFactory::ToolSelect);
        if (m_pPointerTool) {
            m_pPointerTool->setModel(this);
            m_pPointerTool->prepare();
        }
    }
    emit selectState(false);
    emit ccpState(false);
}

void MModel::setCanvas(CCanvas *canvas)
{
    m_pCanvas = canvas;
    m_pDocument->setCanvas(canvas);
    if (canvas)
        canvas->setObserver(this);
}

QString MModel::fileName(const QString &path, bool dropExtension)
{
    return CDocument::fileName(path, dropExtension);
}

CComposite *MModel::documentRoot() const
{
    return m_pDocument->root();
}

HRoot *MModel::hardwareRoot() const
{
    return m_pDocument->hardware();
}

MProject *MModel::project() const
{
    return m_pDocument->project();
}

QString MModel::documentPath() const
{
    return m_pDocument->path();
}

QString MModel::designPath() const
{
    return m_pDocument->designPath();
}

QString MModel::lastError() const
{
    return m_lastError;
}

CItemFactory *MModel::itemFactory() const
{
    // Items need the canvas to live on; without it the document keeps its
    // values alone.
    WWidgetFactory *factory = WDelegate::instance()->factory();
    return factory && factory->parentItem() && factory->context() ? factory : nullptr;
}

void MModel::selectionChanged(bool selected, bool ccp)
{
    emit selectState(selected);
    emit ccpState(ccp);
}

QString MModel::resolveImagePath(const QString &path) const
{
    QString resolved = path;
    m_pDocument->archive().redirectImagePath(resolved);
    return resolved;
}

void MModel::designNodesReleasing()
{
    // Undone drops own controls bound to nodes the design is about to drop.
    BCommandProcessor::instance()->clear();
}

void MModel::canvasReset()
{
    emit resetCanvas();
    emit reloadCanvas();
}

void MModel::canvasSkinChanged(const QString &skin, const QString &accent)
{
    applySkin(skin, accent);
    emit reloadCanvas();
}

CComposite *MModel::currentCollection() const
{
    return dynamic_cast<CComposite *>(documentRoot()->current(GroupScenes));
}

// ---------------------------------------------------------------------------
// Document

bool MModel::newDocument(const QString &templatePath)
{
    return m_pFiles->newDocument(templatePath);
}

bool MModel::open(const QString &path)
{
    const bool opened = m_pFiles->open(path);
    if (opened)
        rebuildInterfaces();
    return opened;
}

bool MModel::save(const QString &path)
{
    return m_pFiles->save(path);
}

bool MModel::writeDocument(XmlWriter *writer)
{
    return m_pFiles->writeDocument(writer);
}

void MModel::closeDocument()
{
    m_pFiles->closeDocument();
}

bool MModel::loadDesign(const QString &path)
{
    const bool loaded = m_pFiles->loadDesign(path);
    if (loaded)
        rebuildInterfaces();
    return loaded;
}

void MModel::forgetDesign()
{
    m_pFiles->forgetDesign();
}

// ---------------------------------------------------------------------------
// Collections and pages

CComposite *MModel::addCollection()
{
    return m_pEditing->addCollection();
}

CComposite *MModel::addPanel(HNode *node)
{
    return m_pEditing->addPanel(node);
}

void MModel::selectPanel(CComposite *panel)
{
    m_pEditing->selectPanel(panel);
}

bool MModel::followPath(const QString &path)
{
    if (path.isEmpty()) {
        auto *message = new DQmlMessageDialog(
            m_pQmlContext, QUrl(QStringLiteral("qrc:/qml/objects/QmlMessageDialog.qml")), this);
        message->setText(tr("Error - No link has been defined for this region.\n\nPlease set a "
                            "link using the properties panel."));
        message->setButton(tr("OK"));
        connect(message, &DQmlMessageDialog::closed, message, &QObject::deleteLater);
        if (!message->show())
            delete message;
        return false;
    }
    CComposite *root = documentRoot();
    if (!root)
        return false;
    QString rest = path;
    auto *panel =
        root->selectPath(rest) ? dynamic_cast<CComposite *>(root->current(GroupPanels)) : nullptr;
    // Selecting shows what the path names, which may be a whole collection;
    // the canvas shows one panel, the new one or else the old.
    root->show(false);
    if (CComposite *shown = panel ? panel : m_pCurrentPanel)
        shown->show(true);
    if (!panel)
        return false;
    // The path may lead into another collection: the page strip and the
    // title follow.
    m_pCurrentPanel = panel;
    pushPageState();
    CComposite *collection = currentCollection();
    setQmlProperty("sceneTitle", collection ? collection->name() : QString());
    panel->poll();
    emit resetQMLFocus();
    return true;
}

bool MModel::setPage(int index)
{
    return m_pEditing->setPage(index);
}

bool MModel::stepPage(int offset)
{
    return m_pEditing->stepPage(offset);
}

bool MModel::selectCollection(const QString &name)
{
    return m_pEditing->selectCollection(name);
}

bool MModel::selectCollection(int index)
{
    return m_pEditing->selectCollection(index);
}


void MModel::addControl(CControl *control)
{
    m_pEditing->addControl(control);
}

void MModel::addControls(const QList<CControl *> &controls)
{
    m_pEditing->addControls(controls);
}

std::unique_ptr<CControl> MModel::removeControl(CControl *control, bool destroy)
{
    return m_pEditing->removeControl(control, destroy);
}

std::vector<std::unique_ptr<CControl>> MModel::removeControls(const QList<CControl *> &controls)
{
    return m_pEditing->removeControls(controls);
}

void MModel::clearSelection()
{
    m_pEditing->clearSelection();
}

CControl *MModel::createNodeControl(HNode *node, const QString &parameter, const QPointF &point)
{
    return m_pEditing->createNodeControl(node, parameter, point);
}

CControl *MModel::createGraphicControl(const QString &label, const QPointF &point)
{
    return m_pEditing->createGraphicControl(label, point);
}

CControl *MModel::createPanelLink(CComposite *target, const QPointF &point)
{
    return m_pEditing->createPanelLink(target, point);
}

// ---------------------------------------------------------------------------
// Canvas and view

bool MModel::updateScale()
{
    return m_pCanvasState->updateScale();
}

void MModel::fitToViewWidth()
{
    m_pCanvasState->fitToViewWidth();
}

void MModel::pushPageState()
{
    m_pCanvasState->pushPageState();
}

void MModel::pushHeaderTitle()
{
    m_pCanvasState->pushHeaderTitle();
}

void MModel::refreshViewState()
{
    m_pCanvasState->refreshViewState();
}

bool MModel::mobileMenuChoice(int entry, const QString &title)
{
    return m_pCanvasState->mobileMenuChoice(entry, title);
}

CControl *MModel::pasteText(CComposite *composite, const QString &text, bool *parsed)
{
    return m_pCanvasState->pasteText(composite, text, parsed);
}

void MModel::restack(CControl *control)
{
    m_pCanvasState->restack(control);
}


bool MModel::setQmlProperty(const char *name, const QVariant &value)
{
    if (!m_pQmlRoot)
        return false;
    m_pQmlRoot->setProperty(name, value);
    return true;
}

QVariant MModel::qmlProperty(const char *name) const
{
    return m_pQmlRoot ? m_pQmlRoot->property(name) : QVariant();
}






void MModel::setEditMode(bool on)
{
    m_editMode = on;
    setQmlProperty("editModeEnable", on);
    if (m_pPointerTool)
        m_pPointerTool->setEditMode(on);
    if (m_pControllers) {
        if (KController *main = m_pControllers->findController(KController::MainType))
            main->setActionChecked(KMainController::EditModeAction, on);
        if (KController *tree = m_pControllers->findController(KController::TreeType))
            tree->setEditMode(on);
    }
    documentRoot()->setEditMode(on);
}

void MModel::setCanvasItem(QQuickItem *item)
{
    m_pCanvasItem = item;
    if (WWidgetFactory *factory = WDelegate::instance()->factory())
        factory->setParentItem(item);
}

void MModel::rebindFactory(QQmlContext *context)
{
    WDelegate *delegate = WDelegate::instance();
    if (!delegate->factory())
        delegate->setFactory(new WWidgetFactory());
    WWidgetFactory *factory = delegate->factory();
    m_pQmlContext = context;
    factory->setParentItem(m_pCanvasItem);
    factory->setContext(context);
    factory->setModel(this);
    delegate->setLoadScale(m_viewScale);
}

void MModel::canvasResize()
{
    if (!updateScale())
        return;
    fitToViewWidth();
}


void MModel::resetPointerTool()
{
    if (m_pPointerTool)
        m_pPointerTool->execute(1);
}

QStringList MModel::collectionNames() const
{
    QStringList names;
    for (CControl *collection : documentRoot()->children())
        names << collection->name();
    return names;
}

void MModel::toggleEditMode()
{
    const bool current = m_pQmlRoot ? qmlProperty("editModeEnable").toBool() : m_editMode;
    setEditMode(!current);
}


void MModel::replacePathPrefix(const QString &oldPrefix, const QString &newPrefix)
{
    // The paths live in the items: every panel needs its own, shown or not.
    documentRoot()->ensureItems();
    documentRoot()->replacePathPrefix(oldPrefix, newPrefix);
}

void MModel::itemsBuilt(CComposite *composite)
{
    // Items built when their panel is first shown are placed as the canvas
    // placed the others: fitted to its height, centred, in the current mode.
    if (m_viewHeight > 0.0f)
        composite->rescale(1.0, m_viewHeight);
    if (m_viewWidth > 0.0f)
        composite->fitWidth(GroupControls, m_viewWidth);
    composite->setEditMode(m_editMode);
}

QString MModel::aboutText() const
{
    return tr("Zindral Remote builder\nVersion %1\n\n"
              "Designs the touch control panels of Zindral DSP systems.\n\n"
              "Copyright \u00A9 Orvane. All rights reserved.")
        .arg(QStringLiteral(ZRB_VERSION));
}

void MModel::applySkin(const QString &, const QString &)
{
    // The skins join the canvas bridge with the skin loader; the items
    // re-derive their skinned images either way.
    documentRoot()->updateSkin();
}

bool MModel::handleEvent(const QString &event)
{
    if (event == QLatin1String("leftarrow"))
        return stepPage(-1);
    if (event == QLatin1String("rightarrow"))
        return stepPage(1);
    return false;
}

void MModel::selectWithPointerTool(CControl *control, int keys)
{
    if (!m_pPointerTool || !control)
        return;
    m_pPointerTool->setModifiers(Qt::KeyboardModifiers(keys));
    m_pPointerTool->selectControl(control);
    m_pPointerTool->execute(0);
}

// ---------------------------------------------------------------------------
// Controllers

void MModel::addController(KController *controller)
{
    if (m_pControllers)
        m_pControllers->addController(controller);
}

void MModel::broadcast(int hint)
{
    if (m_pControllers)
        m_pControllers->update(hint);
}

void MModel::refreshCanvasController()
{
    if (!m_pControllers)
        return;
    if (KController *canvas = m_pControllers->findController(KController::QmlType))
        canvas->update(0);
}

// ---------------------------------------------------------------------------
// Online

void MModel::userChangedValue()
{
    m_pSession->userChangedValue();
}

bool MModel::isOnline() const
{
    return m_pSession->isOnline();
}

void MModel::goOnline(bool on)
{
    m_pSession->goOnline(on);
}

void MModel::startOnlineExchange()
{
    m_pSession->startExchange();
}

void MModel::rebuildInterfaces()
{
    m_pSession->rebuildInterfaces();
}

IComposite *MModel::interfaces() const
{
    return m_pSession->interfaces();
}

void MModel::doPolling()
{
    m_pSession->doPolling();
}

void MModel::interfaceStatusChanged(uint)
{
    m_pSession->interfaceStatusChanged();
}

void MModel::applicationStateChanged(Qt::ApplicationState state)
{
    m_pSession->applicationStateChanged(state);
}

bool MModel::sendToMobile()
{
    return m_pTransfer->send();
}

bool MModel::receivePanel()
{
    return m_pTransfer->receivePanel();
}

void MModel::aboutToQuit() {}

void MModel::showCurrent()
{
    if (m_pCurrentPanel)
        m_pCurrentPanel->show(true);
}
