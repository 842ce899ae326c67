#include "commands/BEditPasteCommand.h"

#include "app/MModel.h"
#include "app/UMessage.h"
#include "commands/BClipboard.h"
#include "commands/BCommandFactory.h"
#include "document/CComposite.h"
#include "document/CIdSource.h"
#include "document/CItem.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QSet>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("BEditPasteCommand", text);
}
} // namespace

BEditPasteCommand::BEditPasteCommand() : BCommand(Recorded) {}

BEditPasteCommand::~BEditPasteCommand() = default;

void BEditPasteCommand::prepare()
{
    m_wasModified = m_pModel && m_pModel->isModified();
    BCommand::prepare();
}

void BEditPasteCommand::execute(int)
{
    CComposite *panel = m_pModel ? m_pModel->currentPanel() : nullptr;
    // Template panels take no pasted controls.
    const bool open = panel && panel->panelKindText() != QLatin1String("template");
    if (open && readClipboard(panel))
        return;
    m_undoMode = Transient;
    if (m_pModel)
        m_pModel->setModified(m_wasModified);
}

bool BEditPasteCommand::readClipboard(CComposite *panel)
{
    const QMimeData *data = BClipboard::data();
    const QString xml = BClipboard::text(data);
    if (xml.isEmpty())
        return false;
    // Read aside: a text that fails half-way leaves the document untouched.
    CComposite pasted;
    bool parsed = false;
    m_pModel->pasteText(&pasted, xml, &parsed);
    if (!parsed || pasted.childCount() == 0) {
        UMessage::warning(nullptr, tr("Warning"),
                          tr("The clipboard holds no controls that can be pasted."));
        return false;
    }
    giveFreeIds(&pasted);
    std::vector<std::unique_ptr<CControl>> controls;
    while (pasted.childCount() > 0) {
        CControl *control = pasted.childAt(0);
        control->setEditMode(m_pModel->editMode());
        controls.push_back(pasted.removeChild(control, false));
    }
    m_list.setLoose(std::move(controls), panel);
    return true;
}

void BEditPasteCommand::giveFreeIds(CComposite *pasted)
{
    CComposite *root = m_pModel->documentRoot();
    QSet<quint32> taken;
    for (CControl *control : pasted->children()) {
        if (control->id() == 0 || taken.contains(control->id()) || root->findById(control->id()))
            control->setId(root->idSource().next());
        else
            root->idSource().reserve(control->id());
        taken.insert(control->id());
    }
    // A drop site names what it holds by id.
    for (CControl *control : pasted->children()) {
        for (CItem *item : control->items()) {
            if (CControl *held = item->child())
                item->setChild(held);
        }
    }
}

void BEditPasteCommand::redoCommand()
{
    reselect();
    m_list.putBack(m_pModel);
    m_list.select(m_pModel);
    m_state = Done;
}

void BEditPasteCommand::undoCommand()
{
    reselect();
    m_list.takeOut(m_pModel);
    m_state = Undone;
}

QString BEditPasteCommand::text() const
{
    return tr("Paste");
}

int BEditPasteCommand::id() const
{
    return BCommandFactory::EditPaste;
}
