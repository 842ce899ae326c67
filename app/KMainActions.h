#pragma once

#include <QHash>
#include <QList>

class KMainController;
class MModel;
class QAction;
class QMenu;
class QMenuBar;
class QToolBar;

// Builds the main controller's actions, menus and tool-bar entries, and ties
// their enabled states to the model's signals. The actions are the
// controller's children and the menus the menu bar's.
class KMainActions
{
public:
    explicit KMainActions(KMainController *owner);

    // The action with that code; null for any other code.
    QAction *action(int id) const { return m_byCode.value(id, nullptr); }
    // Without a menu bar no menus are built.
    void buildMenus(QMenuBar *bar);
    void buildToolBar(QToolBar *bar);
    void connectModel(MModel *model);
    QList<QMenu *> menus() const { return m_menus; }

private:
    QAction *create(int code, const char *text, const char *icon, const char *shortcut,
                    const char *shortcutName);

    KMainController *m_pOwner = nullptr;
    QHash<int, QAction *> m_byCode;
    QList<QMenu *> m_menus;
    // The Layout menu's actions have no code.
    QList<QAction *> m_zOrderActions;
    QList<QAction *> m_alignActions;
    QList<QAction *> m_distributeActions;
};
