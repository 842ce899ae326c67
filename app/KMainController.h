#pragma once

#include "app/KController.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <memory>

class CCanvas;
class KMainActions;
class KPanelFiles;
class MainWindow;
class QApplication;
class QMenu;
class QSettings;

// The application shell's controller: builds the main window's actions, menus
// and tool bar, runs the file commands and the unsaved-changes prompt, keeps
// the window title and size, and issues the Edit and Layout menu commands.
class KMainController : public KController
{
    Q_OBJECT
public:
    enum ActionId
    {
        OpenZdpAction = 0x3001,
        OpenAction = 0x3002,
        SaveAction = 0x3003,
        SaveAsAction = 0x3004,
        NewAction = 0x3005,
        ExitAction = 0x3006,
        UndoAction = 0x3007,
        RedoAction = 0x3008,
        GoOnlineAction = 0x3009,
        SendAction = 0x300A,
        LayoutAction = 0x300B,
        CanvasAction = 0x300C,
        AboutAction = 0x300F,
        HelpAction = 0x3010,
        EditModeAction = 0x3011,
        CutAction = 0x3012,
        CopyAction = 0x3013,
        PasteAction = 0x3014,
        DeleteAction = 0x3015,
        UndoListAction = 0x3016
    };

    KMainController();
    ~KMainController() override;

    void setApplication(QApplication *application) { m_pApplication = application; }
    MainWindow *mainWindow() const;
    CCanvas *canvas() const { return m_pCanvas.get(); }
    QSettings *settings() const;
    // Empty while the panel has never been saved under a name.
    QString currentPath() const;
    QList<QMenu *> menus() const;

    void initialize() override;
    void setGeometry(const QRect &rect) override;
    int type() const override;
    QAction *action(int id) const override;

    // True: go on; false: the user cancelled, or the save failed.
    bool promptSave(const QString &title);
    void closePanelFile();
    // A document took the place of the open one: offline, out of edit mode,
    // a fresh canvas.
    void documentReplaced();
    void fitWindow();
    void setWindowTitle(const QString &path);
    // The title again, after the design changed.
    void refreshWindowTitle();
    // Leaves the online mode, if on, and unchecks Go Online.
    void goOffline();

    // Opens the files named on the command line: panel files as Open does,
    // design files (by their content, whatever their name) as Open ZDP File
    // does, the panel first so its own design does not replace the one named.
    void openFiles(const QStringList &paths);
    // Opens one panel file as Open does; false (the user told why) when it
    // cannot be read.
    bool openPanel(const QString &path);

    static QString templateFolder();

public slots:
    void resetQMLFocus();
    void openZDP();
    void closeZDP();
    void newVC();
    void openVC();
    bool saveVC();
    bool saveAsVC();
    void sendVC();
    void exit();
    void undo();
    void redo();
    void undoList();
    void cut();
    void copy();
    void paste();
    void del();
    void editMode();
    void bringToFront();
    void bringForward();
    void sendToBack();
    void sendBackward();
    void alignLeft();
    void alignRight();
    void alignTop();
    void alignBottom();
    void alignHCenter();
    void alignVCenter();
    void spaceAcross();
    void spaceDown();
    void toggleConnection();
    void connectionToggled(bool checked);
    void panelSetup();
    void canvasSetup();
    void aboutVC();
    void helpTopics();

private:
    void issueCommand(int code);
    void runHistoryCommand(int code);
    void loadStartPanel();

    QApplication *m_pApplication = nullptr;
    std::unique_ptr<KMainActions> m_pActions;
    std::unique_ptr<CCanvas> m_pCanvas;
    // The current panel file path and the settings live with the file commands.
    std::unique_ptr<KPanelFiles> m_pFiles;
    QString m_titlePath;
    // A top-level window has no Qt parent; this controller deletes it.
    QPointer<MainWindow> m_pMainWindow;
};
