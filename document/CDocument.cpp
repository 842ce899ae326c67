#include "document/CDocument.h"

#include "design/HRoot.h"
#include "design/XZDPHandler.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CLoadContext.h"
#include "document/MProject.h"
#include "document/io/UArchive.h"
#include "document/io/XmlWriter.h"

#include <QCoreApplication>
#include <QFile>

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
    const bool read = panel->loadFile(templatePath, context, &error);
    if (!read)
        m_lastError = tr("Cannot read file %1: %2").arg(templatePath, error);
    m_basePath = folderOf(templatePath);
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

bool CDocument::open(const QString &path)
{
    m_lastError.clear();
    m_pHardware->clearMarks();
    clear();
    // The design and then the panel file fill it afresh.
    m_pProject->reset();
    m_path = path;

    QString readPath = path;
    auto archive = std::make_unique<UArchive>();
    if (archive->open(path)) {
        const QString member = archive->findMember(QStringLiteral(".cpf"));
        if (member.isEmpty()) {
            m_lastError = tr("The archive %1 holds no panel file.").arg(path);
            m_path.clear();
            return false;
        }
        readPath = member;
        m_pArchive = std::move(archive);
        const QString design = m_pArchive->findMember(QStringLiteral(".zdp"));
        if (design.isEmpty())
            forgetDesign();
        else if (!loadDesign(design))
            m_lastError.clear();
    } else if (archive->lastOpenFailed()) {
        m_lastError = tr("Cannot open file %1: %2").arg(path, archive->errorString());
        m_path.clear();
        return false;
    } else {
        m_pArchive = std::move(archive);
        forgetDesign();
    }

    CLoadContext context;
    context.hardware = m_pHardware.get();
    context.project = m_pProject.get();
    context.canvas = m_pCanvas;
    context.archive = m_pArchive.get();
    m_basePath = folderOf(readPath);
    QString error;
    if (!m_pRoot->loadFile(readPath, context, &error)) {
        // Whatever was built before the error is not a document to edit.
        m_lastError = tr("Cannot read file %1: %2").arg(path, error);
        clear();
        m_path.clear();
        return false;
    }
    m_pRoot->setName(fileName(readPath, false));
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

bool CDocument::save(const QString &path)
{
    if (!m_pCanvas)
        return false;
    m_lastError.clear();
    const QString stem = withoutExtension(path);
    const QString xmlPath = stem.isNull() ? path : stem + QStringLiteral(".cpf");

    QFile file(xmlPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_lastError = tr("Cannot write file %1: %2").arg(xmlPath, file.errorString());
        return false;
    }

    UArchive archive;
    bool written = false;
    {
        XmlWriter writer;
        writer.setArchive(&archive);
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
        } else if (!archive.write()) {
            m_lastError = archive.errorString().isEmpty()
                              ? tr("Cannot write file %1.").arg(archive.archiveName())
                              : archive.errorString();
        } else {
            written = true;
        }
    }
    if (!written)
        return false;
    if (xmlPath.endsWith(QLatin1String(".cpf")) && xmlPath != archive.archiveName())
        QFile::remove(xmlPath);

    m_path = path;
    m_pRoot->setName(fileName(path, false));
    return true;
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
    m_pHardware->removeWhereMarked(false);
    QString error;
    const bool loaded = XZDPHandler::load(path, m_pHardware.get(), m_pProject.get(), &error);
    if (loaded) {
        m_pHardware->pruneUnreferenced();
        m_designPath = path;
    } else {
        m_designPath.clear();
        m_lastError = error;
    }
    return loaded;
}

void CDocument::forgetDesign()
{
    m_pHardware->removeWhereMarked(false);
    m_designPath.clear();
}
