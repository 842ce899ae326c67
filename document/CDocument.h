#pragma once

#include <QString>

#include <memory>

class CCanvas;
class CComposite;
class CControlHost;
class HRoot;
class MProject;
class QIODevice;
class UArchive;
class XmlWriter;

// One panel document with everything that travels with it: the tree of
// collections, panels and controls, the imported design, the project record,
// the archive it was opened from and the paths it came from. It loads and
// saves on its own; an application shows it through the host it hands in.
class CDocument
{
public:
    CDocument();
    ~CDocument();
    CDocument(const CDocument &) = delete;
    CDocument &operator=(const CDocument &) = delete;

    CComposite *root() const { return m_pRoot.get(); }
    HRoot *hardware() const { return m_pHardware.get(); }
    MProject *project() const { return m_pProject.get(); }
    // The canvas record the file's Canvas block is read into; not owned.
    CCanvas *canvas() const { return m_pCanvas; }
    void setCanvas(CCanvas *canvas) { m_pCanvas = canvas; }
    // The archive the document was opened from; empty for a plain panel file.
    const UArchive &archive() const { return *m_pArchive; }
    // Hands the host to every control; null shows nothing.
    void setHost(CControlHost *host);
    CControlHost *host() const { return m_pHost; }

    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }
    QString designPath() const { return m_designPath; }
    // The folder of the panel file last read, for relative file names.
    QString basePath() const { return m_basePath; }
    // Why the last operation failed, in words for the user.
    QString lastError() const { return m_lastError; }

    // A new document: one collection holding the template's panel.
    bool newFromTemplate(const QString &templatePath);
    // Reads a panel file or archive (with its design and images). Nothing of
    // the document changes unless the whole file reads.
    bool open(const QString &path);
    // Packs the panel file with the design and the images into the archive
    // named after path, checks that it reads back, and only then replaces
    // the file on disk. Nothing else on disk is touched.
    bool save(const QString &path);
    // The whole panel file: declaration, version, connections, canvas,
    // project and the document tree.
    bool writeDocument(XmlWriter *writer);
    // Clears the tree and what it bound in the design.
    void clear();

    // Imports a design file; the design in use stays when it fails.
    bool loadDesign(const QString &path);
    void forgetDesign();

    // The archive a save to path writes: its extension replaced by ".cpz",
    // or ".cpz" added, as an absolute path.
    static QString archivePathFor(const QString &path);
    // The name of a file's root element; empty when it is no XML.
    static QString rootElementOf(const QString &path);
    // The same from an open device.
    static QString rootElementIn(QIODevice *device);
    // Why a path cannot be read as a file; empty when it can.
    static QString unreadableReason(const QString &path);

    // The part of a path after its last "/", without extension if asked.
    static QString fileName(const QString &path, bool dropExtension);
    // The name of the collection a new document starts with.
    static QString firstCollectionName();

private:
    // A template or clipboard text holds bare controls; they need a
    // collection and a panel to be a document.
    void adoptLooseControls();
    static bool verifyArchive(const QByteArray &bytes, QString *reason);

    std::unique_ptr<CComposite> m_pRoot;
    std::unique_ptr<HRoot> m_pHardware;
    std::unique_ptr<MProject> m_pProject;
    std::unique_ptr<UArchive> m_pArchive;
    CCanvas *m_pCanvas = nullptr;
    CControlHost *m_pHost = nullptr;
    QString m_path;
    QString m_designPath;
    QString m_basePath;
    QString m_lastError;
};
