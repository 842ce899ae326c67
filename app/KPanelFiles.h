#pragma once

#include <QCoreApplication>
#include <QString>

#include <memory>

class KMainController;
class QSettings;

// The main controller's file commands: new, open, save and save as of the
// panel file, opening a design file, and the unsaved-changes prompt. Keeps the
// current panel file path and the remembered folders.
class KPanelFiles
{
    Q_DECLARE_TR_FUNCTIONS(KMainController)

public:
    explicit KPanelFiles(KMainController *owner);
    ~KPanelFiles();

    QSettings *settings() const { return m_pSettings.get(); }
    // Empty while the panel has never been saved under a name.
    QString currentPath() const { return m_currentPath; }
    void clearCurrentPath() { m_currentPath.clear(); }

    // True: go on; false: the user cancelled, or the save failed.
    bool promptSave(const QString &title);
    void newPanel();
    void open();
    // Opens a panel file as Open does once the file is chosen; a file that
    // cannot be read is reported and changes nothing.
    bool openPath(const QString &path);
    bool save();
    bool saveAs();
    void openDesign();
    // Imports a design as Open ZDP File does once the file is chosen.
    bool importDesign(const QString &path);

private:
    // Saves and reports a failure; answers whether the file was written.
    bool savePanel(const QString &path);
    static QString folderOf(const QString &path);

    KMainController *m_pOwner = nullptr;
    QString m_currentPath;
    std::unique_ptr<QSettings> m_pSettings;
};
