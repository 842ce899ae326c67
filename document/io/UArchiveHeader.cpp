#include "document/io/UArchiveHeader.h"

#include "document/io/UArchiveHeaderRecord.h"

UArchiveHeader::UArchiveHeader() = default;

UArchiveHeader::~UArchiveHeader()
{
    clear();
}

void UArchiveHeader::clear()
{
    qDeleteAll(m_records);
    m_records.clear();
    m_paths.clear();
}

UArchiveHeaderRecord *UArchiveHeader::append(const QString &path, const QString &name)
{
    auto *record = new UArchiveHeaderRecord(this);
    record->path = path;
    record->name = name;
    record->nameLength = quint32(name.length());
    m_records.append(record);
    m_paths.insert(path);
    return record;
}

bool UArchiveHeader::containsPath(const QString &path) const
{
    return m_paths.contains(path);
}

quint32 UArchiveHeader::headerSize() const
{
    quint32 size = 8;
    for (const UArchiveHeaderRecord *record : m_records)
        size += 12 + 2 * record->nameLength;
    return size;
}
