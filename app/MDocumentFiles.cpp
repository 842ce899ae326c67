#include "app/MDocumentFiles.h"

#include "app/MModel.h"
#include "document/MProject.h"
#include "commands/BCommand.h"
#include "commands/BCommandProcessor.h"
#include "design/HRoot.h"
#include "design/XZDPHandler.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/io/UArchive.h"
#include "document/io/XmlWriter.h"

#include <QFile>

namespace {
const QString GroupScenes = QStringLiteral("Scenes");
const QString GroupPanels = QStringLiteral("Panels");
const QString GroupControls = QStringLiteral("Controls");

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

MDocumentFiles::MDocumentFiles(MModel &model) : m(model) {}


bool MDocumentFiles::newDocument(const QString &templatePath)
{
    if (!m.m_pDocumentRoot || !m.m_pHardwareRoot)
        return false;
    m.m_lastError.clear();
    m.m_pHardwareRoot->clearMarks();

    auto *collection = new CComposite();
    collection->assignKind(QStringLiteral("Scene"));
    collection->setName(MModel::tr("COLLECTION1"));
    m.m_pDocumentRoot->addChild(collection);

    auto *panel = new CComposite();
    panel->setModel(&m);
    QString error;
    const bool read = panel->loadFile(templatePath, m.m_pHardwareRoot, nullptr, QString(), nullptr,
                                      nullptr, &error);
    if (!read)
        m.m_lastError = MModel::tr("Cannot read file %1: %2").arg(templatePath, error);
    collection->addChild(panel);
    panel->assignKind(QStringLiteral("Panel"));
    panel->setPanelKind(QString());
    collection->setModel(&m);

    m.m_pDocumentRoot->setName(m.fileName(templatePath, true));
    m.m_pDocumentRoot->setCurrentIndex(m.m_pDocumentRoot->indexOf(collection));
    collection->setCurrentIndex(0);
    m.m_pCurrentPanel = panel;
    panel->show(true);

    if (m.m_pProject)
        m.m_pProject->reset();
    m.refreshViewState();

    m.m_documentPath = templatePath;
    m.m_modified = false;
    m.refreshCanvasController();
    emit m.enableConnection(false);
    return read;
}

bool MDocumentFiles::open(const QString &path)
{
    if (!m.m_pHardwareRoot || !m.m_pDocumentRoot)
        return false;
    m.m_lastError.clear();
    m.setQmlProperty("textSize", int(m.m_viewScale * 12));

    m.m_pHardwareRoot->clearMarks();
    m.m_pDocumentRoot->clear();
    m.m_pDocumentRoot->setCurrentIndex(0);
    m.m_pCurrentPanel = nullptr;
    m.m_documentPath = path;

    QString readPath = path;
    UArchive *archive = UArchive::instance();
    if (archive->open(path)) {
        const QString member = archive->findMember(QStringLiteral(".cpf"));
        if (member.isEmpty()) {
            m.m_lastError = MModel::tr("The archive %1 holds no panel file.").arg(path);
            m.m_documentPath.clear();
            return false;
        }
        readPath = member;
        const QString design = archive->findMember(QStringLiteral(".zdp"));
        if (!design.isEmpty())
            loadDesign(design);
        else
            forgetDesign();
    } else if (archive->lastOpenFailed()) {
        m.m_lastError = MModel::tr("Cannot open file %1: %2").arg(path, archive->errorString());
        m.m_documentPath.clear();
        return false;
    } else {
        forgetDesign();
    }

    QString error;
    if (!m.m_pDocumentRoot->loadFile(readPath, m.m_pHardwareRoot, nullptr, QString(), m.m_pProject,
                                   m.m_pCanvas, &error)) {
        // Whatever was built before the error is not a document to edit.
        m.m_lastError = MModel::tr("Cannot read file %1: %2").arg(path, error);
        m.m_pDocumentRoot->clear();
        m.m_pDocumentRoot->setCurrentIndex(0);
        m.m_documentPath.clear();
        m.m_modified = false;
        m.refreshCanvasController();
        return false;
    }
    m.m_pDocumentRoot->setName(m.fileName(readPath, false));
    adoptLooseControls();

    m.m_pCurrentPanel = dynamic_cast<CComposite *>(m.m_pDocumentRoot->current(GroupPanels));
    if (m.m_pCurrentPanel) {
        m.m_pCurrentPanel->show(true);
    } else if (CControl *control = m.m_pDocumentRoot->current(GroupControls)) {
        control->show(true);
    }
    m.refreshViewState();

    m.m_modified = false;
    m.refreshCanvasController();
    emit m.enableConnection(true);
    return true;
}

void MDocumentFiles::adoptLooseControls()
{
    // A template or clipboard text holds bare controls; they need a collection
    // and a panel to be a document.
    QList<CControl *> loose;
    for (CControl *child : m.m_pDocumentRoot->children()) {
        if (child->tag() != QLatin1String("Scene"))
            loose << child;
    }
    if (loose.isEmpty())
        return;
    auto *panel = new CComposite();
    for (CControl *control : qAsConst(loose)) {
        m.m_pDocumentRoot->removeChild(control, false);
        panel->addChild(control);
    }
    auto *collection = new CComposite();
    collection->assignKind(QStringLiteral("Scene"));
    collection->setName(MModel::tr("COLLECTION1"));
    m.m_pDocumentRoot->addChild(collection);
    collection->addChild(panel);
    panel->assignKind(QStringLiteral("Panel"));
    panel->setPanelKind(QString());
    m.m_pDocumentRoot->setType(GroupScenes);
    m.m_pDocumentRoot->setCurrentIndex(m.m_pDocumentRoot->indexOf(collection));
    m.m_pDocumentRoot->setModel(&m);
}

bool MDocumentFiles::save(const QString &path)
{
    if (!m.m_pDocumentRoot || !m.m_pHardwareRoot || !m.m_pCanvas || !m.m_pProject)
        return false;
    m.m_lastError.clear();
    const QString stem = withoutExtension(path);
    const QString xmlPath = stem.isNull() ? path : stem + QStringLiteral(".cpf");

    QFile file(xmlPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m.m_lastError = MModel::tr("Cannot write file %1: %2").arg(xmlPath, file.errorString());
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
        writer.addArchiveMember(m.m_designPath, QStringLiteral("project"));
        writer.setEncodingMode(XmlWriter::Utf16);
        const bool treeWritten = writeDocument(&writer);
        const bool flushed = writer.flush();
        file.close();
        if (!treeWritten || !flushed || file.error() != QFileDevice::NoError) {
            m.m_lastError = MModel::tr("Cannot write file %1: %2").arg(xmlPath, file.errorString());
        } else if (!archive->write()) {
            m.m_lastError = archive->errorString().isEmpty()
                              ? MModel::tr("Cannot write file %1.").arg(archive->archiveName())
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

    m.m_documentPath = path;
    m.m_modified = false;
    m.m_pDocumentRoot->setName(m.fileName(path, false));
    m.refreshCanvasController();
    emit m.enableConnection(true);
    return true;
}

bool MDocumentFiles::writeDocument(XmlWriter *writer)
{
    if (!writer || !m.m_pDocumentRoot || !m.m_pHardwareRoot || !m.m_pCanvas || !m.m_pProject)
        return false;
    writer->writeDeclaration();
    writer->writeStartElement(QStringLiteral("ZDX"));
    writer->writeStartElement(QStringLiteral("Version"));
    writer->writeTextElement(QStringLiteral("appVersion"), QStringLiteral("2.0.3.8"));
    writer->writeTextElement(QStringLiteral("fileVersion"), QStringLiteral("2.0"));
    writer->writeEndElement(QStringLiteral("Version"));
    writer->writeStartElement(QStringLiteral("Connections"));
    m.m_pHardwareRoot->clearConnectionUse();
    m.m_pDocumentRoot->markHardware();
    QStringList addresses;
    m.m_pHardwareRoot->writeConnection(writer, addresses);
    writer->writeEndElement(QStringLiteral("Connections"));
    m.m_pCanvas->write(writer);
    m.m_pProject->write(writer);
    if (!m.m_pDocumentRoot->write(writer))
        return false;
    writer->writeEndElement(QStringLiteral("ZDX"));
    return true;
}

void MDocumentFiles::closeDocument()
{
    BCommandProcessor::instance()->clear();
    if (m.m_pPointerTool)
        m.m_pPointerTool->clearSelection();
    if (m.m_pDocumentRoot) {
        m.m_pDocumentRoot->clear();
        m.m_pDocumentRoot->setCurrentIndex(0);
    }
    if (m.m_pHardwareRoot)
        m.m_pHardwareRoot->purgeUnshown();
    m.m_pCurrentPanel = nullptr;
    emit m.selectState(false);
    emit m.ccpState(false);
    if (m.m_pCanvas)
        m.m_pCanvas->reset();
}

bool MDocumentFiles::loadDesign(const QString &path)
{
    if (!m.m_pHardwareRoot)
        return false;
    m.m_pHardwareRoot->removeWhereMarked(false);
    QString error;
    const bool loaded = XZDPHandler::load(path, m.m_pHardwareRoot, m.m_pProject, &error);
    if (loaded) {
        m.m_pHardwareRoot->pruneUnreferenced();
        m.m_designPath = path;
    } else {
        m.m_designPath.clear();
        m.m_lastError = error;
    }
    return loaded;
}

void MDocumentFiles::forgetDesign()
{
    if (m.m_pHardwareRoot)
        m.m_pHardwareRoot->removeWhereMarked(false);
    m.m_designPath.clear();
}

