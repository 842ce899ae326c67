#pragma once

#include <QString>

class UArchiveHeader;

// One member of a panel archive: where its bytes live locally and where they
// sit in the archive file.
class UArchiveHeaderRecord
{
public:
    explicit UArchiveHeaderRecord(UArchiveHeader *owner = nullptr);
    virtual ~UArchiveHeaderRecord();

    QString path;        // local file: the source when saving, the extracted copy when opening
    QString name;        // member name as stored
    quint32 offset = 0;  // data position from the start of the archive
    quint32 size = 0;    // data size in bytes
    quint32 nameLength = 0;
    UArchiveHeader *owner = nullptr;
};
