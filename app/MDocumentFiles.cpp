#include "app/MDocumentFiles.h"

#include "app/MModel.h"
#include "commands/BCommand.h"
#include "commands/BCommandProcessor.h"
#include "design/HRoot.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"
#include "document/CDocument.h"
#include "document/MProject.h"

namespace {
const QString GroupPanels = QStringLiteral("Panels");
const QString GroupControls = QStringLiteral("Controls");
} // namespace

MDocumentFiles::MDocumentFiles(MModel &model) : m(model) {}

bool MDocumentFiles::newDocument(const QString &templatePath)
{
    CDocument *document = m.document();
    const bool read = document->newFromTemplate(templatePath);
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
    m.setQmlProperty("textSize", int(m.m_viewScale * 12));
    m.m_pCurrentPanel = nullptr;
    CDocument *document = m.document();
    if (!document->open(path)) {
        m.m_modified = false;
        m.refreshCanvasController();
        return false;
    }
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

bool MDocumentFiles::save(const QString &path)
{
    if (!m.m_pCanvas || !m.document()->save(path))
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
    BCommandProcessor::instance()->clear();
    if (m.m_pPointerTool)
        m.m_pPointerTool->clearSelection();
    m.document()->clear();
    m.hardwareRoot()->purgeUnshown();
    m.m_pCurrentPanel = nullptr;
    emit m.selectState(false);
    emit m.ccpState(false);
    if (m.m_pCanvas)
        m.m_pCanvas->reset();
}

bool MDocumentFiles::loadDesign(const QString &path)
{
    return m.document()->loadDesign(path);
}

void MDocumentFiles::forgetDesign()
{
    m.document()->forgetDesign();
}
