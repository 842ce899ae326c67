#pragma once

#include "document/io/XmlWriter.h"

class CItem;
class CItemRecord;

// Takes what an item writes into its record instead of a file: the item's
// element names the record's type and each text element becomes a value, in
// the order written and in the form the file would hold.
class XItemRecordWriter : public XmlWriter
{
public:
    explicit XItemRecordWriter(CItemRecord *record);

    // Replaces the record's values with what the item writes now.
    static void store(CItem *item, CItemRecord &record);

    bool writeStartElement(const QString &name) override;
    bool writeEndElement(const QString &name) override;
    bool writeTextElement(const QString &name, const QString &value) override;
    bool writeImageReference(const QString &name, const QString &path,
                             const QString &folder) override;

private:
    CItemRecord *m_pRecord = nullptr;
    int m_depth = 0;
};
