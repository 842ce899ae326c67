#include "app/KPanelFiles.h"

#include "app/KMainController.h"
#include "app/MModel.h"
#include "app/MainWindow.h"
#include "app/UBusyCursor.h"
#include "app/UFileDialog.h"
#include "app/UMessage.h"
#include "document/USettings.h"
#include "dialogs/DTemplateDialog.h"

#include <QDir>

namespace {
const char *const PanelsKey = "Path/Panels";
const char *const DesignsKey = "Path/Designs";
} // namespace

KPanelFiles::KPanelFiles(KMainController *owner)
    : m_pOwner(owner), m_pSettings(std::make_unique<USettings>())
{
}

KPanelFiles::~KPanelFiles() = default;

QString KPanelFiles::folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool KPanelFiles::promptSave(const QString &title)
{
    MModel *model = m_pOwner->model();
    if (!model || !model->isModified())
        return true;
    const QMessageBox::StandardButton answer =
        UMessage::warning(nullptr, title, tr("There are unsaved changes. Would you like to save?"),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    switch (answer) {
    case QMessageBox::Yes:
        if (m_currentPath.isEmpty())
            return saveAs();
        // A failed save must not let the caller discard the document.
        return savePanel(m_currentPath);
    case QMessageBox::Cancel:
        return false;
    default:
        return true;
    }
}

bool KPanelFiles::savePanel(const QString &path)
{
    MModel *model = m_pOwner->model();
    if (!model)
        return false;
    bool saved = false;
    {
        UBusyCursor busy;
        saved = model->save(path);
    }
    if (saved) {
        // The archive written is the file the document is now: its name
        // may have gained ".cpz".
        m_currentPath = model->documentPath();
        m_pOwner->setWindowTitle(m_currentPath);
        return true;
    }
    QString reason = model->lastError();
    if (reason.isEmpty())
        reason = tr("Cannot write file %1.").arg(QDir::toNativeSeparators(path));
    UMessage::warning(m_pOwner->mainWindow(), tr("Save Control Panel File"), reason);
    return false;
}

void KPanelFiles::newPanel()
{
    MModel *model = m_pOwner->model();
    if (!model || !promptSave(tr("New Control Panel")))
        return;
    DTemplateDialog dialog(KMainController::templateFolder(), QStringLiteral(".tpl"),
                           m_pOwner->mainWindow());
    if (!dialog.execModal() || dialog.path().isEmpty())
        return;
    m_pOwner->closePanelFile();
    model->newDocument(dialog.path());
    model->selectCollection(0);
    m_pOwner->setWindowTitle(dialog.path());
    m_currentPath.clear();
    m_pOwner->fitWindow();
    model->broadcast(KController::DocumentReloaded);
}

void KPanelFiles::open()
{
    MModel *model = m_pOwner->model();
    if (!model || !promptSave(tr("Open Control Panel")))
        return;
    const QString path =
        UFileDialog::getOpenFileName(m_pOwner->mainWindow(), tr("Open Control Panel File"),
                                     m_pSettings->value(QLatin1String(PanelsKey)).toString(),
                                     tr("Control Panel Files (*.cpz *.cpf)"));
    if (!path.isEmpty())
        openPath(path);
}

bool KPanelFiles::openPath(const QString &path)
{
    MModel *model = m_pOwner->model();
    if (!model)
        return false;
    // Until the first panel is shown.
    auto busy = std::make_unique<UBusyCursor>();
    if (!model->open(path)) {
        busy.reset();
        // Nothing has changed: the open document, its title and its unsaved
        // changes all stay.
        UMessage::warning(m_pOwner->mainWindow(), tr("Open Control Panel File"),
                          model->lastError());
        return false;
    }
    m_pOwner->documentReplaced();
    m_currentPath = path;
    model->selectCollection(0);
    m_pOwner->setWindowTitle(m_currentPath);
    m_pSettings->setValue(QLatin1String(PanelsKey), folderOf(path));
    m_pOwner->fitWindow();
    model->broadcast(KController::DocumentReloaded);
    model->updateScale();
    return true;
}

bool KPanelFiles::save()
{
    if (m_currentPath.isEmpty())
        return saveAs();
    return savePanel(m_currentPath);
}

bool KPanelFiles::saveAs()
{
    QString start = m_pSettings->value(QLatin1String(PanelsKey)).toString();
    if (!m_currentPath.isEmpty())
        start += m_currentPath.mid(m_currentPath.lastIndexOf(QLatin1Char('/')) + 1);
    const QString path =
        UFileDialog::getSaveFileName(m_pOwner->mainWindow(), tr("Save Control Panel File"), start,
                                     tr("Control Panel Files (*.cpz *.cpf)"));
    if (path.isEmpty() || !savePanel(path))
        return false;
    m_pSettings->setValue(QLatin1String(PanelsKey), folderOf(m_currentPath));
    return true;
}

void KPanelFiles::openDesign()
{
    MModel *model = m_pOwner->model();
    const QString path = UFileDialog::getOpenFileName(
        m_pOwner->mainWindow(), tr("Open Zindral Designer File"),
        m_pSettings->value(QLatin1String(DesignsKey)).toString(), tr("ZDX Files (*.zdp)"));
    if (!model)
        return;
    if (!path.isEmpty())
        importDesign(path);
    // The project tree is built again from the design.
    UBusyCursor busy;
    model->broadcast(KController::DocumentReloaded);
}

bool KPanelFiles::importDesign(const QString &path)
{
    MModel *model = m_pOwner->model();
    if (!model)
        return false;
    // The reader only says why; refusing is ours to show. A refused design
    // leaves the one in use as it was.
    bool loaded = false;
    {
        UBusyCursor busy;
        loaded = model->loadDesign(path);
    }
    if (!loaded) {
        UMessage::warning(m_pOwner->mainWindow(), tr("Open Zindral Designer File Error"),
                          model->lastError());
        return false;
    }
    m_pSettings->setValue(QLatin1String(DesignsKey), folderOf(path));
    m_pOwner->refreshWindowTitle();
    return true;
}
