#include "controls/MQmlInterface.h"

#include "app/KComposite.h"
#include "app/KController.h"
#include "app/MModel.h"
#include "commands/BCommand.h"
#include "commands/BCommandFactory.h"
#include "commands/BCommandProcessor.h"
#include "controls/WWidget.h"
#include "design/CParameter.h"
#include "design/HNode.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "views/VModeManager.h"

#include <QMetaMethod>
#include <QQmlContext>
#include <QQuickItem>

namespace {
const QString SceneMenuProperty = QStringLiteral("sceneMenuData");
const QString SetupMenuProperty = QStringLiteral("setupMenuData");

// The panel of the document whose address is identity.
CComposite *findPanel(CComposite *node, quint64 identity)
{
    if (!node)
        return nullptr;
    if (quint64(quintptr(node)) == identity)
        return node->tag() == QLatin1String("Panel") ? node : nullptr;
    for (CControl *child : node->children()) {
        if (CComposite *found = findPanel(dynamic_cast<CComposite *>(child), identity))
            return found;
    }
    return nullptr;
}

// The kind of control a drop site accepts, asked by name since only the drop
// site item offers it.
QString acceptedType(WWidget *site)
{
    if (!site || site->metaObject()->indexOfMethod("getControlType()") < 0)
        return QString();
    QString type;
    QMetaObject::invokeMethod(site, "getControlType", Qt::DirectConnection,
                              Q_RETURN_ARG(QString, type));
    return type;
}

void connectByName(MModel *model, void (MModel::*signal)(), QObject *scene, const char *function)
{
    const int index = scene->metaObject()->indexOfMethod(function);
    if (index < 0)
        return;
    QObject::connect(model, QMetaMethod::fromSignal(signal), scene,
                     scene->metaObject()->method(index), Qt::UniqueConnection);
}
} // namespace

MQmlInterface::MQmlInterface(QObject *parent) : QObject(parent) {}

MQmlInterface::~MQmlInterface()
{
    // The model must not keep writing into a bridge that is gone.
    if (m_pModel && m_pModel->qmlRoot() == this)
        m_pModel->setQmlRoot(nullptr);
}

quint64 MQmlInterface::identity(const QString &data)
{
    bool ok = false;
    const quint64 value = data.trimmed().toULongLong(&ok);
    return ok ? value : 0;
}

HNode *MQmlInterface::findNode(HNode *node, quint64 identity)
{
    if (!node || identity == 0)
        return nullptr;
    if (quint64(quintptr(node)) == identity)
        return node;
    for (int i = 0;; ++i) {
        HNode *child = node->childAt(i);
        if (!child)
            return nullptr;
        if (HNode *found = findNode(child, identity))
            return found;
    }
}

HNode *MQmlInterface::droppedNode() const
{
    if (!m_pModel || m_dropNode == 0)
        return nullptr;
    return findNode(m_pModel->hardwareRoot(), m_dropNode);
}

CComposite *MQmlInterface::droppedPanel() const
{
    if (!m_pModel || m_dropLink == 0)
        return nullptr;
    return findPanel(m_pModel->documentRoot(), m_dropLink);
}

void MQmlInterface::setContext(QQmlContext *context)
{
    m_pContext = context;
    publishSceneMenu();
    publishSetupMenu();
}

void MQmlInterface::setModel(MModel *model)
{
    m_pModel = model;
    if (!model)
        return;
    model->setQmlRoot(this);
    if (m_pViewItem)
        model->setCanvasItem(m_pViewItem);
    connectScene();
    model->rebindFactory(m_pContext);
    publishSceneMenu();
}

void MQmlInterface::connectScene()
{
    if (!m_pModel || !m_pScene)
        return;
    if (CCanvas *canvas = m_pModel->canvas())
        canvas->setScene(m_pScene);
    connectByName(m_pModel, &MModel::reloadCanvas, m_pScene, "reloadCanvas()");
    connectByName(m_pModel, &MModel::resetCanvas, m_pScene, "resetCanvas()");
}

void MQmlInterface::publishSceneMenu()
{
    if (!m_pContext)
        return;
    const QStringList names = m_pModel ? m_pModel->collectionNames() : QStringList();
    m_pContext->setContextProperty(SceneMenuProperty, names);
}

void MQmlInterface::setSetupMenu(const QVector<SetupMenuEntry> &entries)
{
    m_setupMenu = entries;
    publishSetupMenu();
}

void MQmlInterface::publishSetupMenu()
{
    if (!m_pContext)
        return;
    QVariantList published;
    for (const SetupMenuEntry &entry : qAsConst(m_setupMenu))
        published.append(
            QVariantMap{{QStringLiteral("id"), entry.id}, {QStringLiteral("text"), entry.text}});
    m_pContext->setContextProperty(SetupMenuProperty, published);
}

void MQmlInterface::setObject(QString name, QObject *object)
{
    if (name == QLatin1String("QmlView")) {
        m_pViewItem = qobject_cast<QQuickItem *>(object);
        if (m_pModel)
            m_pModel->setCanvasItem(m_pViewItem);
    } else if (name == QLatin1String("QmlCanvas")) {
        m_pScene = object;
        VModeManager::instance()->setCanvas(object);
        connectScene();
    } else if (name == QLatin1String("ModalObject")) {
        VModeManager::instance()->setModalObject(object);
    }
}

void MQmlInterface::canvasResize()
{
    if (m_pModel)
        m_pModel->canvasResize();
}

bool MQmlInterface::postCommand(QString cmd, QString msg)
{
    if (!m_pModel)
        return false;
    if (cmd == QLatin1String("event"))
        return m_pModel->handleEvent(msg);
    if (cmd == QLatin1String("scene"))
        return m_pModel->selectCollection(msg);
    if (cmd == QLatin1String("statusbar")) {
        emit m_pModel->displayMessage(msg);
        return true;
    }
    return false;
}

bool MQmlInterface::setupMenuChoice(int id)
{
    if (!m_pModel)
        return false;
    QString title;
    for (const SetupMenuEntry &entry : qAsConst(m_setupMenu)) {
        if (entry.id == id)
            title = entry.text;
    }
    return m_pModel->mobileMenuChoice(id, title);
}

bool MQmlInterface::dragEvent(QString text, QString data, WWidget *dropSite)
{
    const quint64 id = identity(data);
    if (!m_pModel || !m_pModel->hardwareRoot() || id == 0)
        return false;
    HNode *node = findNode(m_pModel->hardwareRoot(), id);
    if (!node)
        return false;
    const QString accepted = acceptedType(dropSite);
    for (CParameter *parameter : node->parameters()) {
        if (parameter && parameter->text() == text)
            return !accepted.isEmpty() && parameter->type() == accepted;
    }
    return false;
}

void MQmlInterface::dropSite(QString text, QString data, WWidget *dropSite)
{
    m_dropText = text;
    m_dropNode = identity(data);
    m_pDropSite = dropSite;
    runDropCommand(BCommandFactory::DropSite);
}

void MQmlInterface::dropPanel(QString, QString data)
{
    m_dropNode = identity(data);
    runDropCommand(BCommandFactory::DropPanel);
}

void MQmlInterface::panelSetup()
{
    if (!m_pModel || !m_pModel->documentRoot() || m_pModel->documentRoot()->childCount() == 0)
        return;
    // The main controller owns the dialog's whole routine (going offline,
    // closing popups, refreshing the tree afterwards).
    KComposite *controllers = m_pModel->controllers();
    KController *main = controllers ? controllers->findController(KController::MainType) : nullptr;
    if (main && main->metaObject()->indexOfMethod("panelSetup()") >= 0)
        QMetaObject::invokeMethod(main, "panelSetup", Qt::DirectConnection);
}

void MQmlInterface::headerText() {}

uint MQmlInterface::getAppFunction()
{
    return 1;
}

void MQmlInterface::cancelEdit()
{
    if (!m_pModel)
        return;
    m_pModel->resetPointerTool();
    emit editCancelled();
}

void MQmlInterface::dropControl(QString text, QString data, int x, int y)
{
    m_dropText = text;
    m_dropNode = identity(data);
    m_dropX = x;
    m_dropY = y;
    runDropCommand(BCommandFactory::DropControl);
}

void MQmlInterface::dropLink(QString text, QString data, int x, int y)
{
    m_dropText = text;
    m_dropLink = identity(data);
    m_dropX = x;
    m_dropY = y;
    runDropCommand(BCommandFactory::DropLink);
}

BCommand *MQmlInterface::gestureTool() const
{
    return m_pModel ? m_pModel->pointerTool() : nullptr;
}

void MQmlInterface::moveControl(float x, float y, uint state)
{
    BCommand *tool = m_pModel ? gestureTool() : nullptr;
    if (tool)
        tool->pointerEvent(x, y, -1, BCommandFactory::ToolDrag, int(state));
}

void MQmlInterface::resizeControl(float x, float y, uint edge, uint state)
{
    BCommand *tool = m_pModel ? gestureTool() : nullptr;
    if (tool)
        tool->pointerEvent(x, y, int(edge), BCommandFactory::ToolResize, int(state));
}

void MQmlInterface::keyEvent(int key, int modifiers, bool repeat, uint state)
{
    if (key != Qt::Key_Left && key != Qt::Key_Up && key != Qt::Key_Right && key != Qt::Key_Down)
        return;
    BCommand *tool = m_pModel ? gestureTool() : nullptr;
    if (tool)
        tool->keyEvent(key, modifiers, BCommandFactory::ToolNudge, repeat, int(state));
}

void MQmlInterface::doubleClickControl()
{
    if (m_pModel)
        m_pModel->broadcast(KController::ShowProperties);
}

void MQmlInterface::runDropCommand(int code)
{
    BCommandFactory *factory = BCommandFactory::instance();
    BCommandProcessor *processor = BCommandProcessor::instance();
    if (!factory || !processor)
        return;
    std::unique_ptr<BCommand> command = factory->create(code);
    if (!command)
        return;
    command->setModel(m_pModel);
    command->setDropData(this);
    command->prepare();
    // A drop is done once run: one handed back is not kept.
    processor->process(std::move(command));
}
