#include "document/CDocument.h"

#include "design/HRoot.h"
#include "design/XZDPHandler.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CControlHost.h"
#include "document/CLoadContext.h"
#include "document/MProject.h"
#include "document/io/UArchive.h"
#include "document/io/XmlWriter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace {
const QString GroupScenes = QStringLiteral("Scenes");

QString tr(const char *text)
{
    return QCoreApplication::translate("CDocument", text);
}

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

QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}
} // namespace

CDocument::CDocument()
    : m_pRoot(new CComposite()), m_pHardware(new HRoot()), m_pProject(new MProject()),
      m_pArchive(new UArchive())
{
    m_pRoot->setType(GroupScenes);
}

CDocument::~CDocument()
{
    // The controls refer to the design's blocks: they go first.
    m_pRoot.reset();
}

void CDocument::setHost(CControlHost *host)
{
    m_pHost = host;
    m_pRoot->setModel(host);
}

QString CDocument::fileName(const QString &path, bool dropExtension)
{
    QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (dropExtension) {
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0)
            name = name.left(dot);
    }
    return name;
}

void CDocument::clear()
{
    m_pRoot->clear();
    m_pRoot->setCurrentIndex(0);
}

QString CDocument::firstCollectionName()
{
    return tr("COLLECTION1");
}

bool CDocument::newFromTemplate(const QString &templatePath)
{
    m_lastError.clear();
    m_pHardware->clearMarks();
    clear();

    auto *collection = new CComposite();
    collection->assignKind(QStringLiteral("Scene"));
    collection->setName(firstCollectionName());
    m_pRoot->addChild(collection);
    auto *panel = new CComposite();
    collection->addChild(panel);
    panel->setModel(m_pHost);

    CLoadContext context;
    context.hardware = m_pHardware.get();
    QString error;
    // Items resolve relative file names while they are read.
    m_basePath = folderOf(templatePath);
    const bool read = panel->loadFile(templatePath, context, &error);
    if (!read)
        m_lastError = tr("Cannot read file %1: %2").arg(templatePath, error);
    panel->assignKind(QStringLiteral("Panel"));
    panel->setPanelKind(QString());
    collection->setModel(m_pHost);

    m_pRoot->setName(fileName(templatePath, true));
    m_pRoot->setCurrentIndex(m_pRoot->indexOf(collection));
    collection->setCurrentIndex(0);
    m_pProject->reset();
    m_path = templatePath;
    return read;
}

QString CDocument::rootElementOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return rootElementIn(&file);
}

QString CDocument::rootElementIn(QIODevice *device)
{
    QXmlStreamReader reader(device);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement)
            return reader.name().toString();
    }
    return QString();
}

QString CDocument::unreadableReason(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return tr("Cannot read %1: there is no such file.").arg(path);
    if (info.isDir())
        return tr("Cannot read %1: it is a folder.").arg(path);
    if (!info.isReadable())
        return tr("Cannot read %1: you have no permission to read it.").arg(path);
    return QString();
}

bool CDocument::open(const QString &path)
{
    m_lastError = unreadableReason(path);
    if (!m_lastError.isEmpty())
        return false;

    // Everything is read aside and taken over only when the whole file has
    // been read: a file that fails leaves the document as it was.
    // Declared in this order so that, on the way out, the tree goes before
    // the design its controls are bound to.
    auto hardware = std::make_unique<HRoot>();
    auto project = std::make_unique<MProject>();
    auto archive = std::make_unique<UArchive>();
    auto root = std::make_unique<CComposite>();
    root->setType(GroupScenes);
    root->setModel(m_pHost);
    // A file without a Canvas block keeps the device in use.
    CCanvas canvas;
    if (m_pCanvas)
        canvas.copyDocumentValues(*m_pCanvas);
    QString designPath;

    QString readPath = path;
    if (UArchive::isArchive(path)) {
        // The members are written out while the panel is read.
        if (!archive->open(path, true)) {
            m_lastError = archive->errorString();
            return false;
        }
        readPath = archive->findMember(QStringLiteral(".cpf"));
        if (readPath.isEmpty()) {
            m_lastError = tr("The archive %1 holds no panel file.").arg(path);
            return false;
        }
        const QString design = archive->findMember(QStringLiteral(".zdp"));
        // A design that cannot be read leaves the panel without one, as if
        // it had none.
        QString ignored;
        if (!design.isEmpty() &&
            XZDPHandler::load(design, hardware.get(), project.get(), &ignored)) {
            hardware->pruneUnreferenced();
            designPath = design;
        }
    }
    // A panel file still being written out is read from memory.
    QByteArray panelBytes;
    QBuffer panelBuffer(&panelBytes);
    const bool inMemory =
        archive->pendingContent(readPath, &panelBytes) && panelBuffer.open(QIODevice::ReadOnly);
    const QString rootElement = inMemory ? rootElementIn(&panelBuffer) : rootElementOf(readPath);
    if (rootElement == QLatin1String("Project")) {
        m_lastError = tr("%1 is a Zindral Designer design file, not a control panel file.").arg(path);
        return false;
    }
    // An XML file of another kind is refused by name; one that is no XML at
    // all is left to the reader, which says where it breaks.
    if (!rootElement.isEmpty() && rootElement != QLatin1String("ZDX")) {
        m_lastError = tr("%1 is not a control panel file.").arg(path);
        return false;
    }

    CLoadContext context;
    context.hardware = hardware.get();
    context.project = project.get();
    context.canvas = &canvas;
    context.archive = archive.get();
    context.deferItems = true;
    QString error;
    // Items resolve relative file names while they are read.
    const QString previousBase = m_basePath;
    m_basePath = folderOf(readPath);
    const bool read = inMemory && panelBuffer.seek(0)
                          ? root->loadDevice(&panelBuffer, context, &error)
                          : root->loadFile(readPath, context, &error);
    // A member that could not be written fails the open as it always has.
    if (!archive->finishOpen()) {
        m_basePath = previousBase;
        m_lastError = archive->errorString();
        return false;
    }
    if (!read) {
        m_basePath = previousBase;
        m_lastError = tr("Cannot read file %1: %2").arg(path, error);
        return false;
    }
    root->setName(fileName(readPath, false));

    // Taken over: the old tree goes before the design its controls use.
    m_pRoot.swap(root);
    root.reset();
    m_pHardware.swap(hardware);
    m_pProject.swap(project);
    m_pArchive.swap(archive);
    if (m_pCanvas)
        m_pCanvas->takeDocumentValues(canvas);
    m_designPath = designPath;
    m_path = path;
    adoptLooseControls();
    return true;
}

void CDocument::adoptLooseControls()
{
    QList<CControl *> loose;
    for (CControl *child : m_pRoot->children()) {
        if (child->tag() != QLatin1String("Scene"))
            loose << child;
    }
    if (loose.isEmpty())
        return;
    auto *panel = new CComposite();
    for (CControl *control : qAsConst(loose))
        panel->addChild(m_pRoot->removeChild(control, false).release());
    auto *collection = new CComposite();
    collection->assignKind(QStringLiteral("Scene"));
    collection->setName(firstCollectionName());
    m_pRoot->addChild(collection);
    collection->addChild(panel);
    panel->assignKind(QStringLiteral("Panel"));
    panel->setPanelKind(QString());
    m_pRoot->setType(GroupScenes);
    m_pRoot->setCurrentIndex(m_pRoot->indexOf(collection));
    m_pRoot->setModel(m_pHost);
}

QString CDocument::archivePathFor(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString stem = withoutExtension(absolute);
    return (stem.isNull() ? absolute : stem) + QStringLiteral(".cpz");
}

bool CDocument::save(const QString &path)
{
    if (!m_pCanvas)
        return false;
    m_lastError.clear();
    const QString target = archivePathFor(path);
    const QString stem = fileName(target, true);

    // The panel file is only a step towards the archive: it is written where
    // nobody else looks, never beside the user's files.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        m_lastError = tr("Cannot write file %1: %2").arg(target, scratch.errorString());
        return false;
    }
    const QString xmlPath = scratch.filePath(stem + QStringLiteral(".cpf"));
    QFile file(xmlPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_lastError = tr("Cannot write file %1: %2").arg(target, file.errorString());
        return false;
    }

    UArchive archive;
    bool treeWritten = false;
    bool flushed = false;
    {
        XmlWriter writer;
        writer.setArchive(&archive);
        writer.setDevice(&file);
        writer.nameArchive(target);
        writer.addArchiveMember(xmlPath, QString());
        writer.addArchiveMember(m_designPath, QStringLiteral("project"));
        writer.setEncodingMode(XmlWriter::Utf16);
        treeWritten = writeDocument(&writer);
        flushed = writer.flush();
    }
    // Read before close: close() clears the reason.
    const QString fileError = file.errorString();
    const bool fileOk = file.error() == QFileDevice::NoError;
    file.close();
    if (!treeWritten || !flushed || !fileOk) {
        m_lastError = tr("Cannot write file %1: %2").arg(target, fileError);
        return false;
    }
    const QByteArray bytes = archive.build();
    if (bytes.isEmpty()) {
        m_lastError = archive.errorString();
        return false;
    }
    // What is not read back is not saved: the archive must give the panel
    // file again, and the panel file must read as one.
    QString reason;
    if (!verifyArchive(bytes, &reason)) {
        m_lastError = tr("Cannot save %1: the archive written could not be read back (%2). "
                         "Nothing was changed on disk.")
                          .arg(target, reason);
        return false;
    }
    if (!archive.commit(bytes)) {
        m_lastError = archive.errorString();
        return false;
    }
    m_path = target;
    m_pRoot->setName(fileName(target, false));
    return true;
}

bool CDocument::verifyArchive(const QByteArray &bytes, QString *reason)
{
    QByteArray panel;
    if (!UArchive::readBack(bytes, QStringLiteral(".cpf"), &panel, reason))
        return false;
    QXmlStreamReader reader(panel);
    bool rootSeen = false;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && !rootSeen) {
            rootSeen = true;
            if (reader.name() != QLatin1String("ZDX")) {
                *reason = tr("the panel file does not start with its root element");
                return false;
            }
        }
    }
    if (reader.hasError()) {
        *reason = tr("line %1, column %2: %3")
                      .arg(reader.lineNumber())
                      .arg(reader.columnNumber())
                      .arg(reader.errorString());
        return false;
    }
    if (!rootSeen)
        *reason = tr("the panel file is empty");
    return rootSeen;
}

bool CDocument::writeDocument(XmlWriter *writer)
{
    if (!writer || !m_pCanvas)
        return false;
    writer->writeDeclaration();
    writer->writeStartElement(QStringLiteral("ZDX"));
    writer->writeStartElement(QStringLiteral("Version"));
    writer->writeTextElement(QStringLiteral("appVersion"), QStringLiteral(ZRB_VERSION));
    writer->writeTextElement(QStringLiteral("fileVersion"), QStringLiteral("2.0"));
    writer->writeEndElement(QStringLiteral("Version"));
    writer->writeStartElement(QStringLiteral("Connections"));
    m_pHardware->clearConnectionUse();
    m_pRoot->markHardware();
    QStringList addresses;
    m_pHardware->writeConnection(writer, addresses);
    writer->writeEndElement(QStringLiteral("Connections"));
    m_pCanvas->write(writer);
    m_pProject->write(writer);
    if (!m_pRoot->write(writer))
        return false;
    writer->writeEndElement(QStringLiteral("ZDX"));
    return true;
}

bool CDocument::loadDesign(const QString &path)
{
    m_lastError = unreadableReason(path);
    if (!m_lastError.isEmpty())
        return false;
    if (rootElementOf(path) != QLatin1String("Project")) {
        m_lastError = tr("%1 is not a Zindral Designer design file.").arg(path);
        return false;
    }
    // Read aside; the design in use stays until the new one is complete.
    HRoot design;
    MProject project(*m_pProject);
    QString error;
    if (!XZDPHandler::load(path, &design, &project, &error)) {
        m_lastError = tr("Cannot import %1: %2").arg(path, error);
        return false;
    }
    // Nodes the panel's controls use stay; everything else makes way.
    if (m_pHost)
        m_pHost->designNodesReleasing();
    m_pHardware->removeWhereMarked(false);
    const QList<HNode *> nodes = design.children();
    for (HNode *node : nodes)
        m_pHardware->addChild(node);
    m_pHardware->pruneUnreferenced();
    *m_pProject = project;
    m_designPath = path;
    return true;
}

void CDocument::forgetDesign()
{
    if (m_pHost)
        m_pHost->designNodesReleasing();
    m_pHardware->removeWhereMarked(false);
    m_designPath.clear();
}
