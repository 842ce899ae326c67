#pragma once

#include <QList>
#include <QSet>
#include <QString>

class UArchiveHeaderRecord;

// The member list of the panel archive and the folder its members are
// extracted into.
class UArchiveHeader
{
public:
    UArchiveHeader();
    virtual ~UArchiveHeader();
    UArchiveHeader(const UArchiveHeader &) = delete;
    UArchiveHeader &operator=(const UArchiveHeader &) = delete;

    // Deletes every record; the extraction folder stays.
    void clear();
    UArchiveHeaderRecord *append(const QString &path, const QString &name);
    const QList<UArchiveHeaderRecord *> &records() const { return m_records; }
    int count() const { return m_records.count(); }
    // Whether a record with this local path exists; a set keeps it cheap.
    bool containsPath(const QString &path) const;
    // 8 + the sum of (12 + 2 × name length) over the records.
    quint32 headerSize() const;

    QString extractionFolder() const { return m_extractionFolder; }
    void setExtractionFolder(const QString &folder) { m_extractionFolder = folder; }

private:
    QList<UArchiveHeaderRecord *> m_records;
    QSet<QString> m_paths;
    QString m_extractionFolder;
};
