#include "app/MDocumentFiles.h"

#include "app/MModel.h"
#include "commands/BCommand.h"
#include "commands/BCommandProcessor.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CDocument.h"
#include "document/MProject.h"

#include <QTimer>

#include <memory>

namespace {
const QString GroupPanels = QStringLiteral("Panels");
const QString GroupControls = QStringLiteral("Controls");
} // namespace

MDocumentFiles::MDocumentFiles(MModel &model) : m(model) {}

MDocumentFiles::~MDocumentFiles() = default;

bool MDocumentFiles::newDocument(const QString &templatePath)
{
    // The history and the selection name controls of the tree that goes.
    forgetOldTree();
    CDocument *document = m.document();
    const bool read = document->newFromTemplate(templatePath);
    m.m_lastError = document->lastError();
    auto *collection = dynamic_cast<CComposite *>(document->root()->childAt(0));
    m.m_pCurrentPanel = collection ? dynamic_cast<CComposite *>(collection->childAt(0)) : nullptr;
    if (m.m_pCurrentPanel)
        m.m_pCurrentPanel->show(true);
    m.refreshViewState();

    m.m_modified = false;
    m.refreshCanvasController();
    emit m.enableConnection(false);
    return read;
}

bool MDocumentFiles::open(const QString &path)
{
    // Read into a document of its own: a file that cannot be read leaves the
    // open one exactly as it was.
    auto fresh = std::make_unique<CDocument>();
    fresh->setCanvas(m.m_pCanvas);
    fresh->setHost(&m);
    if (!fresh->open(path)) {
        m.m_lastError = fresh->lastError();
        return false;
    }
    // Nothing may point into the old tree once it goes.
    forgetOldTree();
    m.m_pDocument.swap(fresh);
    // The document replaced leaves the canvas at once but is torn down (its
    // items, its extracted files) after the new one is shown.
    fresh->root()->setParentItem(nullptr);
    m_pReplaced = std::move(fresh);
    QTimer::singleShot(0, &m, [this] { m_pReplaced.reset(); });
    CDocument *document = m.document();
    m.setQmlProperty("textSize", int(m.m_viewScale * 12));
    CComposite *root = document->root();
    m.m_pCurrentPanel = dynamic_cast<CComposite *>(root->current(GroupPanels));
    if (m.m_pCurrentPanel) {
        m.m_pCurrentPanel->show(true);
    } else if (CControl *control = root->current(GroupControls)) {
        control->show(true);
    }
    m.refreshViewState();

    m.m_modified = false;
    m.refreshCanvasController();
    emit m.enableConnection(true);
    return true;
}

void MDocumentFiles::forgetOldTree()
{
    BCommandProcessor::instance()->clear();
    if (m.m_pPointerTool)
        m.m_pPointerTool->clearSelection();
    m.m_pCurrentPanel = nullptr;
    emit m.selectState(false);
    emit m.ccpState(false);
}

bool MDocumentFiles::save(const QString &path)
{
    if (!m.m_pCanvas)
        return false;
    const bool saved = m.document()->save(path);
    m.m_lastError = m.document()->lastError();
    if (!saved)
        return false;
    m.m_modified = false;
    m.refreshCanvasController();
    emit m.enableConnection(true);
    return true;
}

bool MDocumentFiles::writeDocument(XmlWriter *writer)
{
    return m.document()->writeDocument(writer);
}

void MDocumentFiles::closeDocument()
{
    forgetOldTree();
    m.document()->clear();
    m.hardwareRoot()->purgeUnshown();
    if (m.m_pCanvas)
        m.m_pCanvas->reset();
}

bool MDocumentFiles::loadDesign(const QString &path)
{
    const bool loaded = m.document()->loadDesign(path);
    m.m_lastError = m.document()->lastError();
    if (loaded) {
        // The canvas shows the design's site at once.
        m.pushHeaderTitle();
        emit m.displayMessage(MModel::tr("Design %1 imported.").arg(CDocument::fileName(path, false)));
    }
    return loaded;
}

void MDocumentFiles::forgetDesign()
{
    m.document()->forgetDesign();
}
