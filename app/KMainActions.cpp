#include "app/KMainActions.h"

#include "app/KMainController.h"
#include "app/MModel.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

using Slot = void (KMainController::*)();

struct ActionEntry
{
    int code; // 0: a Layout-menu action, which has no code
    const char *text;
    const char *icon;
    const char *shortcut;
    const char *shortcutName;
    Slot slot; // null: connected separately
};

const ActionEntry ActionTable[] = {
    {KMainController::OpenZdpAction, QT_TRANSLATE_NOOP("KMainController", "&Open ZDP File..."),
     ":/images/OpenZDX.png", nullptr, nullptr, &KMainController::openZDP},
    {KMainController::NewAction, QT_TRANSLATE_NOOP("KMainController", "&New Remote app File..."),
     ":/images/NewRemoteAppFile.png", QT_TRANSLATE_NOOP("KMainController", "Ctrl+N"), "New",
     &KMainController::newVC},
    {KMainController::OpenAction, QT_TRANSLATE_NOOP("KMainController", "&Open Remote app File..."),
     ":/images/OpenRemoteAppFile.png", QT_TRANSLATE_NOOP("KMainController", "Ctrl+O"), "Open",
     &KMainController::openVC},
    {KMainController::SaveAction, QT_TRANSLATE_NOOP("KMainController", "&Save Remote app File..."),
     ":/images/SaveFile.png", QT_TRANSLATE_NOOP("KMainController", "Ctrl+S"), "Save", nullptr},
    {KMainController::SaveAsAction,
     QT_TRANSLATE_NOOP("KMainController", "S&ave Remote app File As..."),
     ":/images/SaveRemoteFileApp.png", nullptr, nullptr, nullptr},
    {KMainController::ExitAction, QT_TRANSLATE_NOOP("KMainController", "E&xit"), nullptr,
     QT_TRANSLATE_NOOP("KMainController", "Ctrl+Q"), "Exit", &KMainController::exit},
    {KMainController::UndoAction, QT_TRANSLATE_NOOP("KMainController", "&Undo"),
     ":/images/Undo.png", QT_TRANSLATE_NOOP("KMainController", "Ctrl+Z"), "Undo",
     &KMainController::undo},
    {KMainController::RedoAction, QT_TRANSLATE_NOOP("KMainController", "&Redo"),
     ":/images/Redo.png", QT_TRANSLATE_NOOP("KMainController", "Ctrl+Y"), "Redo",
     &KMainController::redo},
    {KMainController::UndoListAction, QT_TRANSLATE_NOOP("KMainController", "Undo &List..."),
     ":/images/UndoList.png", nullptr, nullptr, &KMainController::undoList},
    {KMainController::CutAction, QT_TRANSLATE_NOOP("KMainController", "Cu&t"), ":/images/Cut.png",
     QT_TRANSLATE_NOOP("KMainController", "Ctrl+X"), "Cut", &KMainController::cut},
    {KMainController::CopyAction, QT_TRANSLATE_NOOP("KMainController", "&Copy"),
     ":/images/Copy.png", QT_TRANSLATE_NOOP("KMainController", "Ctrl+C"), "Copy",
     &KMainController::copy},
    {KMainController::PasteAction, QT_TRANSLATE_NOOP("KMainController", "&Paste"),
     ":/images/Paste.png", QT_TRANSLATE_NOOP("KMainController", "Ctrl+V"), "Paste",
     &KMainController::paste},
    {KMainController::DeleteAction, QT_TRANSLATE_NOOP("KMainController", "&Delete"),
     ":/images/Delete.png", QT_TRANSLATE_NOOP("KMainController", "Del"), "Delete",
     &KMainController::del},
    {KMainController::EditModeAction, QT_TRANSLATE_NOOP("KMainController", "&Edit Mode"),
     ":/images/EditMode.png", nullptr, nullptr, &KMainController::editMode},
    {0, QT_TRANSLATE_NOOP("KMainController", "Bring To &Front"), ":/images/movefront.png",
     QT_TRANSLATE_NOOP("KMainController", "Ctrl+F"), "Bring To Front",
     &KMainController::bringToFront},
    {0, QT_TRANSLATE_NOOP("KMainController", "Bring For&ward"), ":/images/moveforwards.png",
     QT_TRANSLATE_NOOP("KMainController", "Ctrl+Shift+F"), "Bring Forward",
     &KMainController::bringForward},
    {0, QT_TRANSLATE_NOOP("KMainController", "Send To &Back"), ":/images/moveback.png",
     QT_TRANSLATE_NOOP("KMainController", "Ctrl+B"), "Send To Back", &KMainController::sendToBack},
    {0, QT_TRANSLATE_NOOP("KMainController", "Send Bac&kward"), ":/images/movebackwards.png",
     QT_TRANSLATE_NOOP("KMainController", "Ctrl+Shift+B"), "Send Backward",
     &KMainController::sendBackward},
    {0, QT_TRANSLATE_NOOP("KMainController", "Align &Left"), ":/images/alignleft.png",
     QT_TRANSLATE_NOOP("KMainController", "Ctrl+Left"), "Align Left", &KMainController::alignLeft},
    {0, QT_TRANSLATE_NOOP("KMainController", "Align &Right"), ":/images/alignright.png",
     QT_TRANSLATE_NOOP("KMainController", "Ctrl+Right"), "Align Right",
     &KMainController::alignRight},
    {0, QT_TRANSLATE_NOOP("KMainController", "Align &Top"), ":/images/aligntop.png",
     QT_TRANSLATE_NOOP("KMainController", "Ctrl+Up"), "Align Top", &KMainController::alignTop},
    {0, QT_TRANSLATE_NOOP("KMainController", "Align &Bottom"), ":/images/alignbottom.png",
     QT_TRANSLATE_NOOP("KMainController", "Ctrl+Down"), "Align Bottom",
     &KMainController::alignBottom},
    {0, QT_TRANSLATE_NOOP("KMainController", "Align &Horizontal Center"),
     ":/images/alignhcenter.png", QT_TRANSLATE_NOOP("KMainController", "Ctrl+Home"),
     "Align Horizontal Center", &KMainController::alignHCenter},
    {0, QT_TRANSLATE_NOOP("KMainController", "Align &Vertical Center"), ":/images/alignvcenter.png",
     QT_TRANSLATE_NOOP("KMainController", "Ctrl+End"), "Align Vertical Center",
     &KMainController::alignVCenter},
    {0, QT_TRANSLATE_NOOP("KMainController", "Distribute H&orizontally"),
     ":/images/spaceacross.png", QT_TRANSLATE_NOOP("KMainController", "Alt+Right"),
     "Distribute Horizontally", &KMainController::spaceAcross},
    {0, QT_TRANSLATE_NOOP("KMainController", "Distribute V&ertically"), ":/images/spacedown.png",
     QT_TRANSLATE_NOOP("KMainController", "Alt+Down"), "Distribute Vertically",
     &KMainController::spaceDown},
    {KMainController::GoOnlineAction, QT_TRANSLATE_NOOP("KMainController", "&Go Online..."),
     ":/images/GoOnline.png", nullptr, nullptr, &KMainController::toggleConnection},
    {KMainController::SendAction, QT_TRANSLATE_NOOP("KMainController", "&Send to Mobile Device..."),
     ":/images/SendToDevice.png", nullptr, nullptr, &KMainController::sendVC},
    {KMainController::CanvasAction, QT_TRANSLATE_NOOP("KMainController", "&Canvas..."),
     ":/images/CanvasSetup.png", nullptr, nullptr, &KMainController::canvasSetup},
    {KMainController::LayoutAction, QT_TRANSLATE_NOOP("KMainController", "&Layout..."),
     ":/images/PanelSetup.png", nullptr, nullptr, &KMainController::panelSetup},
    {KMainController::AboutAction,
     QT_TRANSLATE_NOOP("KMainController", "&About Zindral Remote builder..."), ":/images/about.png",
     nullptr, nullptr, &KMainController::aboutVC},
    {KMainController::HelpAction, QT_TRANSLATE_NOOP("KMainController", "&Help Topics..."),
     ":/images/help.png", nullptr, nullptr, &KMainController::helpTopics},
};

QString translated(const char *text, const char *disambiguation = nullptr)
{
    return QCoreApplication::translate("KMainController", text, disambiguation);
}

} // namespace

KMainActions::KMainActions(KMainController *owner) : m_pOwner(owner)
{
    QList<QAction *> layoutActions;
    for (const ActionEntry &entry : ActionTable) {
        QAction *created =
            create(entry.code, entry.text, entry.icon, entry.shortcut, entry.shortcutName);
        if (entry.slot)
            QObject::connect(created, &QAction::triggered, owner, entry.slot);
        if (entry.code == 0)
            layoutActions.append(created);
    }
    m_zOrderActions = layoutActions.mid(0, 4);
    m_alignActions = layoutActions.mid(4, 6);
    m_distributeActions = layoutActions.mid(10, 2);

    QObject::connect(action(KMainController::SaveAction), &QAction::triggered, owner,
                     [owner]() { owner->saveVC(); });
    QObject::connect(action(KMainController::SaveAsAction), &QAction::triggered, owner,
                     [owner]() { owner->saveAsVC(); });

    action(KMainController::EditModeAction)->setCheckable(true);
    QAction *online = action(KMainController::GoOnlineAction);
    online->setCheckable(true);
    QObject::connect(online, &QAction::toggled, owner, &KMainController::connectionToggled);
}

QAction *KMainActions::create(int code, const char *text, const char *icon, const char *shortcut,
                              const char *shortcutName)
{
    auto *created = new QAction(translated(text), m_pOwner);
    if (icon)
        created->setIcon(QIcon(QLatin1String(icon)));
    if (shortcut)
        created->setShortcut(QKeySequence(translated(shortcut, shortcutName)));
    if (code != 0)
        m_byCode.insert(code, created);
    return created;
}

void KMainActions::buildMenus(QMenuBar *bar)
{
    if (!bar)
        return;
    QMenu *file = bar->addMenu(translated(QT_TRANSLATE_NOOP("KMainController", "&File")));
    file->addAction(action(KMainController::OpenZdpAction));
    file->addSeparator();
    file->addAction(action(KMainController::NewAction));
    file->addAction(action(KMainController::OpenAction));
    file->addAction(action(KMainController::SaveAction));
    file->addAction(action(KMainController::SaveAsAction));
    file->addSeparator();
    file->addAction(action(KMainController::ExitAction));

    QMenu *edit = bar->addMenu(translated(QT_TRANSLATE_NOOP("KMainController", "&Edit")));
    edit->addAction(action(KMainController::UndoAction));
    edit->addAction(action(KMainController::RedoAction));
    edit->addAction(action(KMainController::UndoListAction));
    edit->addSeparator();
    edit->addAction(action(KMainController::CutAction));
    edit->addAction(action(KMainController::CopyAction));
    edit->addAction(action(KMainController::PasteAction));
    edit->addAction(action(KMainController::DeleteAction));

    QMenu *layout = bar->addMenu(translated(QT_TRANSLATE_NOOP("KMainController", "&Layout")));
    layout->addActions(m_zOrderActions);
    layout->addSeparator();
    layout->addActions(m_alignActions);
    layout->addSeparator();
    layout->addActions(m_distributeActions);

    QMenu *tools = bar->addMenu(translated(QT_TRANSLATE_NOOP("KMainController", "&Tools")));
    tools->addAction(action(KMainController::LayoutAction));
    tools->addAction(action(KMainController::CanvasAction));
    tools->addSeparator();
    tools->addAction(action(KMainController::GoOnlineAction));
    tools->addSeparator();
    tools->addAction(action(KMainController::SendAction));

    QMenu *help = bar->addMenu(translated(QT_TRANSLATE_NOOP("KMainController", "&Help")));
    help->addAction(action(KMainController::HelpAction));
    help->addSeparator();
    help->addAction(action(KMainController::AboutAction));

    m_menus = {file, edit, layout, tools, help};
}

void KMainActions::buildToolBar(QToolBar *bar)
{
    if (!bar)
        return;
    bar->addAction(action(KMainController::OpenZdpAction));
    bar->addSeparator();
    bar->addAction(action(KMainController::NewAction));
    bar->addAction(action(KMainController::OpenAction));
    bar->addAction(action(KMainController::SaveAction));
    bar->addSeparator();
    bar->addAction(action(KMainController::CutAction));
    bar->addAction(action(KMainController::CopyAction));
    bar->addAction(action(KMainController::PasteAction));
    bar->addAction(action(KMainController::DeleteAction));
    bar->addSeparator();
    bar->addAction(action(KMainController::UndoAction));
    bar->addAction(action(KMainController::RedoAction));
    bar->addAction(action(KMainController::UndoListAction));
    bar->addSeparator();
    bar->addAction(action(KMainController::EditModeAction));
    bar->addSeparator();
    bar->addAction(action(KMainController::LayoutAction));
    bar->addAction(action(KMainController::CanvasAction));
    bar->addSeparator();
    bar->addAction(action(KMainController::GoOnlineAction));
    bar->addSeparator();
    bar->addAction(action(KMainController::SendAction));
}

void KMainActions::connectModel(MModel *model)
{
    if (!model)
        return;
    for (int code : {int(KMainController::GoOnlineAction), int(KMainController::SendAction)})
        QObject::connect(model, &MModel::enableConnection, action(code), &QAction::setEnabled);
    for (int code : {int(KMainController::CutAction), int(KMainController::CopyAction)})
        QObject::connect(model, &MModel::ccpState, action(code), &QAction::setEnabled);
    QList<QAction *> selectionActions{action(KMainController::DeleteAction)};
    selectionActions << m_zOrderActions << m_alignActions << m_distributeActions;
    for (QAction *selectionAction : qAsConst(selectionActions))
        QObject::connect(model, &MModel::selectState, selectionAction, &QAction::setEnabled);
}
