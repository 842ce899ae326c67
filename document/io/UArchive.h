#pragma once

#include "document/io/UArchiveHeader.h"

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

#include <future>
#include <memory>

class QTemporaryDir;

// A panel archive (".cpz"): a flat list of separately compressed members
// holding the panel file, the design file and the images. Each open document
// has its own, extracted into a folder of its own that goes with it; a save
// builds a fresh one.
class UArchive
{
public:
    UArchive();
    ~UArchive();
    UArchive(const UArchive &) = delete;
    UArchive &operator=(const UArchive &) = delete;

    // The path up to its last "." followed by ".cpz".
    void setArchiveName(const QString &path);
    QString archiveName() const { return m_archiveName; }

    // Registers a file to pack; answers the path unchanged. Empty paths, paths
    // holding "../" and paths already registered add nothing.
    QString addMember(const QString &path, const QString &folder);
    // build() then commit().
    bool write();
    // The whole archive of the registered members, or empty on failure.
    QByteArray build();
    // Writes the bytes to the archive name atomically: the old file stays
    // until the new one is complete.
    bool commit(const QByteArray &bytes);
    // Checks archive bytes as opening them would and hands back the content
    // of the first member whose name ends in suffix.
    static bool readBack(const QByteArray &bytes, const QString &suffix, QByteArray *content,
                         QString *reason);
    // write(), then remove the ".cpf" sibling of a ".cpz"; answers the removal.
    bool writeAndCleanUp();

    // Extracts an archive; false when the file is no archive (a plain panel
    // file, read by the caller) or the archive is unreadable or damaged. In
    // the background, every member but the design file may still be being
    // written when it returns (pendingContent() has them); finishOpen() waits
    // for them.
    bool open(const QString &path, bool background = false);
    // Waits for the members open() left to write; false, with the folder
    // removed and the header cleared, when one could not be written.
    bool finishOpen();
    // The content of a member at memberPath still being written, checked
    // and inflated; false when it is on disk already.
    bool pendingContent(const QString &memberPath, QByteArray *content) const;
    // True when open() refused the file as a damaged archive (as opposed to a
    // plain XML file), so the caller must not read it as XML either.
    bool lastOpenFailed() const { return m_openFailed; }
    QString errorString() const { return m_errorString; }

    QString findMember(const QString &fragment) const;
    bool redirectImagePath(QString &path) const;
    void clearHeader();

    // The first four bytes decide: XML texts start with "<" or a byte-order
    // mark, archives with the little-endian format word 16.
    static bool isArchive(const QString &path);
    // The folder under which each open archive gets a folder of its own.
    static QString extractionFolderFor(const QString &settingValue);

    UArchiveHeader &header() { return m_header; }
    const UArchiveHeader &header() const { return m_header; }

private:
    bool failOpen(const QString &message);
    bool failWrite(const QString &reason);
    // Makes a new folder of this archive's own under the base folder.
    // Unmarked, the caller writes the marker.
    bool makeExtractionFolder(const QString &base, bool createParents, bool marked);
    // Removes the folders that processes no longer running left behind.
    static void removeStaleFolders(const QString &base);

    // Answers the error of the members written in the background, if any.
    QString waitForWriting();

    std::unique_ptr<QTemporaryDir> m_pExtraction;
    std::future<QString> m_writing;
    QVector<QPair<QString, QByteArray>> m_later;
    QString m_archiveName;
    UArchiveHeader m_header;
    QString m_errorString;
    bool m_openFailed = false;
};
