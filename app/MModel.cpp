#include "app/MModel.h"

#include "app/KComposite.h"
#include "app/KController.h"
#include "app/MProject.h"
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
#include "document/io/UArchive.h"
#include "document/io/XmlWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
const QString GroupScenes = QStringLiteral("Scenes");
const QString GroupPanels = QStringLiteral("Panels");
const QString GroupControls = QStringLiteral("Controls");
constexpr int MaxPanelsPerCollection = 6;
constexpr int PollingInterval = 1000;
constexpr int MainControllerType = 0x1004;
constexpr int TreeControllerType = 0x1002;
constexpr int CanvasControllerType = 0x1003;
constexpr int EditModeAction = 0x3011;

// The path up to the extension of its file name, so a dot in a folder name
// is never taken for the start of an extension.
QString withoutExtension(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot < slash)
        return QString();
    return path.left(dot);
}
} // namespace

MModel::MModel(QObject *parent)
    : QObject(parent), m_mobileAddress(QStringLiteral("192.168.0.1"))
{
    m_pControllers = new KComposite(this);
    m_pInterfaces = new IComposite();
}

MModel::~MModel()
{
    BCommandProcessor::release();
    KComposite *controllers = m_pControllers;
    m_pControllers = nullptr;
    delete controllers;
    delete m_pPointerTool;
    m_pPointerTool = nullptr;
    UArchive::release();
    VModeManager::release();
    delete m_pDocumentRoot;
    m_pDocumentRoot = nullptr;
    m_pCurrentPanel = nullptr;
    delete m_pHardwareRoot;
    m_pHardwareRoot = nullptr;
    WDelegate::release();
    delete m_pInterfaces;
    m_pInterfaces = nullptr;
    delete m_pProject;
    m_pProject = nullptr;
}

void MModel::initialize()
{
    if (!m_pHardwareRoot)
        m_pHardwareRoot = new HRoot();
    if (!m_pDocumentRoot) {
        m_pDocumentRoot = new CComposite();
        m_pDocumentRoot->setType(GroupScenes);
        m_pDocumentRoot->setModel(this);
    }
    if (!m_pProject)
        m_pProject = new MProject();

    m_pollingTimer.setInterval(PollingInterval);
    connect(&m_pollingTimer, &QTimer::timeout, this, &MModel::doPolling, Qt::UniqueConnection);

    WDelegate *delegate = WDelegate::instance();
    if (!delegate->factory())
        delegate->setFactory(new WWidgetFactory());
    delegate->factory()->setModel(this);
    delegate->setLoadScale(m_viewScale);

    BCommandProcessor::instance();
    UArchive::instance();
    if (!m_pPointerTool) {
        m_pPointerTool = BCommandFactory::instance()->create(0x2000);
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
    if (canvas)
        canvas->setModel(this);
}

QString MModel::fileName(const QString &path, bool dropExtension)
{
    QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (dropExtension) {
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            name = name.left(dot);
    }
    return name;
}

CComposite *MModel::currentCollection() const
{
    if (!m_pDocumentRoot)
        return nullptr;
    return dynamic_cast<CComposite *>(m_pDocumentRoot->current(GroupScenes));
}

// ---------------------------------------------------------------------------
// Document

bool MModel::newDocument(const QString &templatePath)
{
    if (!m_pDocumentRoot || !m_pHardwareRoot)
        return false;
    m_lastError.clear();
    m_pHardwareRoot->clearMarks();

    auto *collection = new CComposite();
    collection->assignKind(QStringLiteral("Scene"));
    collection->setName(tr("COLLECTION1"));
    m_pDocumentRoot->addChild(collection);

    auto *panel = new CComposite();
    panel->setModel(this);
    QString error;
    const bool read = panel->loadFile(templatePath, m_pHardwareRoot, nullptr, QString(), nullptr,
                                      nullptr, &error);
    if (!read)
        m_lastError = tr("Cannot read file %1: %2").arg(templatePath, error);
    collection->addChild(panel);
    panel->assignKind(QStringLiteral("Panel"));
    panel->setPanelKind(QString());
    collection->setModel(this);

    m_pDocumentRoot->setName(fileName(templatePath, true));
    m_pDocumentRoot->setCurrentIndex(m_pDocumentRoot->indexOf(collection));
    collection->setCurrentIndex(0);
    m_pCurrentPanel = panel;
    panel->show(true);

    if (m_pProject)
        m_pProject->reset();
    refreshViewState();

    m_documentPath = templatePath;
    m_modified = false;
    refreshCanvasController();
    emit enableConnection(false);
    return read;
}

bool MModel::open(const QString &path)
{
    if (!m_pHardwareRoot || !m_pDocumentRoot)
        return false;
    m_lastError.clear();
    setQmlProperty("textSize", int(m_viewScale * 12));

    m_pHardwareRoot->clearMarks();
    m_pDocumentRoot->clear();
    m_pDocumentRoot->setCurrentIndex(0);
    m_pCurrentPanel = nullptr;
    m_documentPath = path;

    QString readPath = path;
    UArchive *archive = UArchive::instance();
    if (archive->open(path)) {
        const QString member = archive->findMember(QStringLiteral(".cpf"));
        if (member.isEmpty()) {
            m_lastError = tr("The archive %1 holds no panel file.").arg(path);
            m_documentPath.clear();
            return false;
        }
        readPath = member;
        const QString design = archive->findMember(QStringLiteral(".zdp"));
        if (!design.isEmpty())
            loadDesign(design);
        else
            forgetDesign();
    } else if (archive->lastOpenFailed()) {
        m_lastError = tr("Cannot open file %1: %2").arg(path, archive->errorString());
        m_documentPath.clear();
        return false;
    } else {
        forgetDesign();
    }

    QString error;
    if (!m_pDocumentRoot->loadFile(readPath, m_pHardwareRoot, nullptr, QString(), m_pProject,
                                   m_pCanvas, &error)) {
        // Whatever was built before the error is not a document to edit.
        m_lastError = tr("Cannot read file %1: %2").arg(path, error);
        m_pDocumentRoot->clear();
        m_pDocumentRoot->setCurrentIndex(0);
        m_documentPath.clear();
        m_modified = false;
        refreshCanvasController();
        return false;
    }
    m_pDocumentRoot->setName(fileName(readPath, false));
    adoptLooseControls();

    m_pCurrentPanel = dynamic_cast<CComposite *>(m_pDocumentRoot->current(GroupPanels));
    if (m_pCurrentPanel) {
        m_pCurrentPanel->show(true);
    } else if (CControl *control = m_pDocumentRoot->current(GroupControls)) {
        control->show(true);
    }
    refreshViewState();

    m_modified = false;
    refreshCanvasController();
    emit enableConnection(true);
    return true;
}

void MModel::adoptLooseControls()
{
    // A template or clipboard text holds bare controls; they need a collection
    // and a panel to be a document.
    QList<CControl *> loose;
    for (CControl *child : m_pDocumentRoot->children()) {
        if (child->tag() != QLatin1String("Scene"))
            loose << child;
    }
    if (loose.isEmpty())
        return;
    auto *panel = new CComposite();
    for (CControl *control : qAsConst(loose)) {
        m_pDocumentRoot->removeChild(control, false);
        panel->addChild(control);
    }
    auto *collection = new CComposite();
    collection->assignKind(QStringLiteral("Scene"));
    collection->setName(tr("COLLECTION1"));
    m_pDocumentRoot->addChild(collection);
    collection->addChild(panel);
    panel->assignKind(QStringLiteral("Panel"));
    panel->setPanelKind(QString());
    m_pDocumentRoot->setType(GroupScenes);
    m_pDocumentRoot->setCurrentIndex(m_pDocumentRoot->indexOf(collection));
    m_pDocumentRoot->setModel(this);
}

bool MModel::save(const QString &path)
{
    if (!m_pDocumentRoot || !m_pHardwareRoot || !m_pCanvas || !m_pProject)
        return false;
    m_lastError.clear();
    const QString stem = withoutExtension(path);
    const QString xmlPath = stem.isNull() ? path : stem + QStringLiteral(".cpf");

    QFile file(xmlPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_lastError = tr("Cannot write file %1: %2").arg(xmlPath, file.errorString());
        return false;
    }

    UArchive *archive = UArchive::instance();
    archive->clearHeader();
    bool written = false;
    {
        XmlWriter writer;
        writer.setDevice(&file);
        writer.nameArchive(path);
        writer.addArchiveMember(xmlPath, QString());
        writer.addArchiveMember(m_designPath, QStringLiteral("project"));
        writer.setEncodingMode(XmlWriter::Utf16);
        const bool treeWritten = writeDocument(&writer);
        const bool flushed = writer.flush();
        file.close();
        if (!treeWritten || !flushed || file.error() != QFileDevice::NoError) {
            m_lastError = tr("Cannot write file %1: %2").arg(xmlPath, file.errorString());
        } else if (!archive->write()) {
            m_lastError = archive->errorString().isEmpty()
                              ? tr("Cannot write file %1.").arg(archive->archiveName())
                              : archive->errorString();
        } else {
            written = true;
        }
        // The writer clears the member list when it goes.
    }
    if (!written)
        return false;
    if (xmlPath.endsWith(QLatin1String(".cpf")) && xmlPath != archive->archiveName())
        QFile::remove(xmlPath);

    m_documentPath = path;
    m_modified = false;
    m_pDocumentRoot->setName(fileName(path, false));
    refreshCanvasController();
    emit enableConnection(true);
    return true;
}

bool MModel::writeDocument(XmlWriter *writer)
{
    if (!writer || !m_pDocumentRoot || !m_pHardwareRoot || !m_pCanvas || !m_pProject)
        return false;
    writer->writeDeclaration();
    writer->writeStartElement(QStringLiteral("ZDX"));
    writer->writeStartElement(QStringLiteral("Version"));
    writer->writeTextElement(QStringLiteral("appVersion"), QStringLiteral("2.0.3.8"));
    writer->writeTextElement(QStringLiteral("fileVersion"), QStringLiteral("2.0"));
    writer->writeEndElement(QStringLiteral("Version"));
    writer->writeStartElement(QStringLiteral("Connections"));
    m_pHardwareRoot->clearConnectionUse();
    m_pDocumentRoot->markHardware();
    QStringList addresses;
    m_pHardwareRoot->writeConnection(writer, addresses);
    writer->writeEndElement(QStringLiteral("Connections"));
    m_pCanvas->write(writer);
    m_pProject->write(writer);
    if (!m_pDocumentRoot->write(writer))
        return false;
    writer->writeEndElement(QStringLiteral("ZDX"));
    return true;
}

void MModel::closeDocument()
{
    BCommandProcessor::instance()->clear();
    if (m_pPointerTool)
        m_pPointerTool->clearSelection();
    if (m_pDocumentRoot) {
        m_pDocumentRoot->clear();
        m_pDocumentRoot->setCurrentIndex(0);
    }
    if (m_pHardwareRoot)
        m_pHardwareRoot->purgeUnshown();
    m_pCurrentPanel = nullptr;
    emit selectState(false);
    emit ccpState(false);
    if (m_pCanvas)
        m_pCanvas->reset();
}

bool MModel::loadDesign(const QString &path)
{
    if (!m_pHardwareRoot)
        return false;
    m_pHardwareRoot->removeWhereMarked(false);
    QString error;
    const bool loaded = XZDPHandler::load(path, m_pHardwareRoot, m_pProject, &error);
    if (loaded) {
        m_pHardwareRoot->pruneUnreferenced();
        m_designPath = path;
    } else {
        m_designPath.clear();
        m_lastError = error;
    }
    return loaded;
}

void MModel::forgetDesign()
{
    if (m_pHardwareRoot)
        m_pHardwareRoot->removeWhereMarked(false);
    m_designPath.clear();
}

// ---------------------------------------------------------------------------
// Collections and pages

CComposite *MModel::addCollection()
{
    if (!m_pDocumentRoot)
        return nullptr;
    auto *collection = new CComposite();
    m_pDocumentRoot->addChild(collection);
    collection->assignKind(QStringLiteral("Scene"));
    collection->setName(tr("COLLECTION") + QString::number(m_pDocumentRoot->childCount()));
    collection->setModel(this);
    return collection;
}

CComposite *MModel::addPanel(HNode *node)
{
    if (!m_pHardwareRoot || !m_pDocumentRoot || !node)
        return nullptr;
    if (m_pCurrentPanel && m_pCurrentPanel->parent() &&
        m_pCurrentPanel->parent()->childCount() >= MaxPanelsPerCollection) {
        UMessage::warning(nullptr, tr("Warning"),
                          tr("The maximum number of panels in a scene is: 6"));
        return nullptr;
    }
    CComposite *collection = currentCollection();
    if (!collection)
        return nullptr;
    auto *panel = new CComposite();
    panel->setModel(this);
    panel->loadFile(node->templatePath(QString()), m_pHardwareRoot, nullptr, QString(), nullptr,
                    nullptr);
    collection->addChild(panel);
    panel->assignKind(QStringLiteral("Panel"));
    panel->setPanelKind(QString());
    panel->setName(node->label());
    for (CControl *child : panel->children()) {
        if (child->name() == QLatin1String("Title") && child->type() == QLatin1String("Label")) {
            if (WWidget *label = child->findItem(QStringLiteral("label"))) {
                label->setTitle(node->label());
                break;
            }
        }
    }
    m_modified = true;
    selectPanel(panel);
    refreshViewState();
    return panel;
}

void MModel::selectPanel(CComposite *panel)
{
    if (!panel || panel == m_pCurrentPanel)
        return;
    CComposite *collection = m_pCurrentPanel ? m_pCurrentPanel->parent() : panel->parent();
    if (m_pCurrentPanel)
        m_pCurrentPanel->show(false);
    const int index = collection ? collection->indexOf(panel) : -1;
    if (index < 0) {
        m_pCurrentPanel = nullptr;
        return;
    }
    collection->setCurrentIndex(index);
    m_pCurrentPanel = panel;
    panel->show(true);
    setQmlProperty("pageIndex", index);
    panel->poll();
    emit resetQMLFocus();
}

bool MModel::setPage(int index)
{
    CComposite *current =
        m_pDocumentRoot ? dynamic_cast<CComposite *>(m_pDocumentRoot->current(GroupPanels)) : nullptr;
    if (!current) {
        m_pCurrentPanel = nullptr;
        return false;
    }
    current->show(false);
    CComposite *collection = current->parent();
    if (collection)
        collection->setCurrentIndex(index);
    current = dynamic_cast<CComposite *>(m_pDocumentRoot->current(GroupPanels));
    m_pCurrentPanel = current;
    if (!current)
        return false;
    current->show(true);
    setQmlProperty("pageIndex", index);
    current->poll();
    return true;
}

bool MModel::stepPage(int offset)
{
    CComposite *collection = currentCollection();
    if (!collection || collection->childCount() == 0)
        return false;
    int index = collection->currentIndex() + offset;
    if (index >= collection->childCount())
        index = 0;
    else if (index < 0)
        index = collection->childCount() - 1;
    return setPage(index);
}

bool MModel::selectCollection(const QString &name)
{
    if (!m_pDocumentRoot)
        return false;
    CControl *current = m_pDocumentRoot->current(GroupScenes);
    if (current && current->name() == name)
        return true;
    CComposite *previous = m_pCurrentPanel;
    if (previous)
        previous->show(false);
    if (!m_pDocumentRoot->makeCurrent(GroupScenes, name)) {
        if (previous)
            previous->show(true);
        return false;
    }
    m_pCurrentPanel = dynamic_cast<CComposite *>(m_pDocumentRoot->current(GroupPanels));
    if (m_pCurrentPanel)
        m_pCurrentPanel->show(true);
    pushPageState();
    if (m_pCurrentPanel)
        m_pCurrentPanel->poll();
    CComposite *collection = currentCollection();
    setQmlProperty("sceneTitle", collection ? collection->name() : QString());
    emit resetQMLFocus();
    return true;
}

bool MModel::selectCollection(int index)
{
    CControl *collection = m_pDocumentRoot ? m_pDocumentRoot->childAt(index) : nullptr;
    if (!collection)
        return false;
    return selectCollection(collection->name());
}

void MModel::addControl(CControl *control)
{
    if (!m_pCurrentPanel || !control)
        return;
    m_pCurrentPanel->addChild(control);
    m_modified = true;
    refreshCanvasController();
}

void MModel::addControls(CComposite *list)
{
    if (!m_pCurrentPanel || !list)
        return;
    for (CControl *control : list->children()) {
        m_pCurrentPanel->addChild(control);
        control->show(true);
    }
    m_modified = true;
    refreshCanvasController();
}

void MModel::takeOut(CControl *control, bool destroy)
{
    control->setSelected(0);
    control->show(false);
    CComposite *owner = control->parent() ? control->parent() : m_pCurrentPanel;
    if (owner)
        owner->removeChild(control, destroy);
}

void MModel::afterRemoval()
{
    m_modified = true;
    if (m_pDocumentRoot && m_pDocumentRoot->transformCount() == 0)
        emit enableConnection(false);
    refreshCanvasController();
}

void MModel::removeControl(CControl *control, bool destroy)
{
    if (!control)
        return;
    takeOut(control, destroy);
    afterRemoval();
}

void MModel::removeControls(CComposite *list)
{
    if (!list)
        return;
    const QList<CControl *> controls = list->children();
    for (CControl *control : controls)
        takeOut(control, false);
    afterRemoval();
}

void MModel::clearSelection()
{
    if (!m_pDocumentRoot)
        return;
    CComposite selected;
    selected.setNonOwning(true);
    m_pDocumentRoot->collectSelected(&selected);
    if (selected.childCount() > 0)
        selected.setSelected(0);
}

CControl *MModel::finishNewControl(CControl *control, bool bound)
{
    if (!control)
        return nullptr;
    control->setModel(this);
    m_pCurrentPanel->show(true);
    control->setEditMode(true);
    m_modified = true;
    if (bound)
        emit enableConnection(true);
    else
        emit resetQMLFocus();
    return control;
}

CControl *MModel::createNodeControl(HNode *node, const QString &parameter, const QPointF &point)
{
    if (!m_pHardwareRoot || !m_pCurrentPanel)
        return nullptr;
    return finishNewControl(
        m_pCurrentPanel->loadNodeControl(m_pHardwareRoot, node, parameter, point), true);
}

CControl *MModel::createGraphicControl(const QString &label, const QPointF &point)
{
    if (!m_pCurrentPanel)
        return nullptr;
    return finishNewControl(m_pCurrentPanel->loadGraphic(label, point), false);
}

CControl *MModel::createPanelLink(CComposite *target, const QPointF &point)
{
    if (!m_pCurrentPanel) {
        UMessage::warning(nullptr, tr("Warning"), tr("There are no panels in this collection."));
        return nullptr;
    }
    return finishNewControl(m_pCurrentPanel->loadPanelLink(target, point), false);
}

// ---------------------------------------------------------------------------
// Canvas and view

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

bool MModel::updateScale()
{
    if (!m_pHardwareRoot || !m_pQmlRoot || !m_pDocumentRoot)
        return false;
    double reference = qmlProperty("maxControlHeight").toDouble();
    const QRectF b = m_pDocumentRoot->bounds();
    if (b.height() > 0 && m_viewScale > 0)
        reference = (2.0 * b.top() + b.height()) / m_viewScale;
    const double height = m_pCanvasItem ? m_pCanvasItem->height() : qmlProperty("height").toDouble();
    const double width = m_pCanvasItem ? m_pCanvasItem->width() : qmlProperty("width").toDouble();
    if (!(height > 0) || !(reference > 0))
        return false;
    m_viewHeight = float(height);
    m_viewWidth = float(width);
    m_viewScale = float(height / reference);
    setQmlProperty("viewScale", m_viewScale);
    WDelegate::instance()->setLoadScale(m_viewScale);
    m_pDocumentRoot->rescale(1.0, height);
    setQmlProperty("textSize", int(m_viewScale * 12));
    setQmlProperty("pixelScale", m_viewScale);
    return true;
}

void MModel::fitToViewWidth()
{
    if (!m_pDocumentRoot || !m_pQmlRoot)
        return;
    const double width = m_pCanvasItem ? m_pCanvasItem->width() : qmlProperty("width").toDouble();
    // A canvas of no width yet has nothing to centre on.
    if (!(width > 0))
        return;
    m_pDocumentRoot->fitWidth(GroupControls, width);
}

void MModel::pushPageState()
{
    CComposite *collection = currentCollection();
    setQmlProperty("pageCount", collection ? collection->childCount() : 0);
    setQmlProperty("pageIndex", collection ? collection->currentIndex() : 0);
}

void MModel::pushHeaderTitle()
{
    if (m_pProject)
        setQmlProperty("headerTitle", m_pProject->facilityName());
}

void MModel::refreshViewState()
{
    updateScale();
    fitToViewWidth();
    // The document's items belong on the current canvas content item.
    if (m_pDocumentRoot && m_pCanvasItem && m_pDocumentRoot->type() == GroupScenes)
        m_pDocumentRoot->setParentItem(m_pCanvasItem);
    pushPageState();
    CComposite *collection = currentCollection();
    setQmlProperty("sceneTitle", collection ? collection->name() : QString());
    pushHeaderTitle();
}

void MModel::setEditMode(bool on)
{
    m_editMode = on;
    setQmlProperty("editModeEnable", on);
    if (m_pPointerTool)
        m_pPointerTool->setEditMode(on);
    if (m_pControllers) {
        if (KController *main = m_pControllers->findController(MainControllerType))
            main->setActionChecked(EditModeAction, on);
        if (KController *tree = m_pControllers->findController(TreeControllerType))
            tree->setEditMode(on);
    }
    if (m_pDocumentRoot)
        m_pDocumentRoot->setEditMode(on);
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

bool MModel::mobileMenuChoice(const QString &text)
{
    const QString projectInformation = tr("Project Information");
    const QString about = tr("About");
    // Tested in this order; the network entries and receiving join with the
    // online session.
    for (const QString &word : {tr("IP Address"), tr("Network Status")}) {
        if (text.startsWith(word))
            return false;
    }
    if (text.startsWith(projectInformation)) {
        if (!m_pProject)
            return false;
        DQmlMessageDialog dialog(m_pQmlContext);
        dialog.setTitle(text);
        dialog.setText(m_pProject->informationText());
        dialog.setButton(tr("OK"));
        return dialog.exec();
    }
    if (text.startsWith(about)) {
        DQmlMessageDialog dialog(m_pQmlContext, QUrl(QStringLiteral("qrc:/qml/objects/QmlAboutDialog.qml")));
        dialog.setTitle(text);
        dialog.setText(aboutText());
        dialog.setButton(tr("OK"));
        return dialog.exec();
    }
    return false;
}

void MModel::resetPointerTool()
{
    if (m_pPointerTool)
        m_pPointerTool->execute(1);
}

QStringList MModel::collectionNames() const
{
    QStringList names;
    if (!m_pDocumentRoot)
        return names;
    for (CControl *collection : m_pDocumentRoot->children())
        names << collection->name();
    return names;
}

void MModel::toggleEditMode()
{
    const bool current = m_pQmlRoot ? qmlProperty("editModeEnable").toBool() : m_editMode;
    setEditMode(!current);
}

void MModel::restack(CControl *control)
{
    WWidgetFactory *factory = WDelegate::instance()->factory();
    if (!control || !factory)
        return;
    control->setParentItem(nullptr);
    control->setParentItem(factory->parentItem());
}

void MModel::replacePathPrefix(const QString &oldPrefix, const QString &newPrefix)
{
    if (m_pDocumentRoot)
        m_pDocumentRoot->replacePathPrefix(oldPrefix, newPrefix);
}

CControl *MModel::pasteText(CComposite *composite, const QString &text)
{
    if (!composite)
        return nullptr;
    WDelegate *delegate = WDelegate::instance();
    delegate->setLoadScale(1.0f);
    CControl *control = composite->loadText(text, m_pHardwareRoot);
    composite->setModel(this);
    delegate->setLoadScale(m_viewScale);
    if (control)
        control->setEditMode(true);
    return control;
}

QString MModel::aboutText() const
{
    return tr("Zindral Remote builder\nVersion %1\n\n"
              "Designs the touch control panels of Zindral DSP systems.\n\n"
              "Copyright \u00A9 Orvane. All rights reserved.")
        .arg(QStringLiteral("2.0.3.8"));
}

void MModel::applySkin(const QString &, const QString &)
{
    // The skins join the canvas bridge with the skin loader; the items
    // re-derive their skinned images either way.
    if (m_pHardwareRoot && m_pDocumentRoot)
        m_pDocumentRoot->updateSkin();
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
    if (KController *canvas = m_pControllers->findController(CanvasControllerType))
        canvas->update(0);
}

// ---------------------------------------------------------------------------
// Online

void MModel::userChangedValue()
{
    if (m_pollingTimer.isActive())
        m_pollingTimer.start();
}

void MModel::pollCurrentPanel()
{
    if (m_pCurrentPanel)
        m_pCurrentPanel->poll();
}

void MModel::doPolling()
{
    if (m_online)
        pollCurrentPanel();
}

void MModel::interfaceStatusChanged(uint) {}

void MModel::applicationStateChanged(Qt::ApplicationState) {}

void MModel::aboutToQuit() {}

void MModel::showCurrent()
{
    if (m_pCurrentPanel)
        m_pCurrentPanel->show(true);
}
