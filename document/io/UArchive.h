#pragma once

#include "document/io/UArchiveHeader.h"

#include <QString>

// The program's one panel archive (".cpz"): a flat list of separately
// compressed members holding the panel file, the design file and the images.
class UArchive
{
public:
    static UArchive *instance();
    // Deletes the instance; the application model calls it at exit.
    static void release();

    // The path up to its last "." followed by ".cpz".
    void setArchiveName(const QString &path);
    QString archiveName() const { return m_archiveName; }

    // Registers a file to pack; answers the path unchanged. Empty paths, paths
    // holding "../" and paths already registered add nothing.
    QString addMember(const QString &path, const QString &folder);
    bool write();
    // write(), then remove the ".cpf" sibling of a ".cpz"; answers the removal.
    bool writeAndCleanUp();

    // Extracts an archive; false when the file is no archive (a plain panel
    // file, read by the caller) or the archive is unreadable or damaged.
    bool open(const QString &path);
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
    // The folder members are extracted to, created fresh at every open.
    static QString extractionFolderFor(const QString &settingValue);

    UArchiveHeader &header() { return m_header; }
    const UArchiveHeader &header() const { return m_header; }

private:
    UArchive();
    ~UArchive();

    bool failOpen(const QString &message);
    bool failWrite(const QString &reason);
    // Empties (or creates) the extraction folder, refusing a folder that
    // holds anything this program did not put there.
    bool prepareExtractionFolder(const QString &folder, bool createParents);

    QString m_archiveName;
    UArchiveHeader m_header;
    QString m_errorString;
    bool m_openFailed = false;
};
