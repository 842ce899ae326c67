#include "document/io/XItemRecordWriter.h"

#include "document/CItem.h"
#include "document/CItemRecord.h"

XItemRecordWriter::XItemRecordWriter(CItemRecord *record) : m_pRecord(record) {}

void XItemRecordWriter::store(CItem *item, CItemRecord &record)
{
    if (!item)
        return;
    CItemRecord written(record.type());
    XItemRecordWriter writer(&written);
    // An item that cannot write now (no visual part) leaves the record as it was.
    if (!item->writeXml(&writer) || written.values().isEmpty())
        return;
    record.takeValues(written);
}

bool XItemRecordWriter::writeStartElement(const QString &name)
{
    if (name.isEmpty())
        return false;
    if (m_depth++ == 0)
        m_pRecord->setType(name);
    return true;
}

bool XItemRecordWriter::writeEndElement(const QString &name)
{
    if (name.isEmpty() || m_depth == 0)
        return false;
    --m_depth;
    return true;
}

bool XItemRecordWriter::writeTextElement(const QString &name, const QString &value)
{
    m_pRecord->append(name, value);
    return true;
}

bool XItemRecordWriter::writeImageReference(const QString &name, const QString &path,
                                            const QString &folder)
{
    m_pRecord->append(name, path, folder);
    return true;
}
