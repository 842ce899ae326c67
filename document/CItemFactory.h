#pragma once

class CControl;
class CItem;
class CItemRecord;

// Builds the live item that shows an item record; the canvas implements it.
class CItemFactory
{
public:
    virtual ~CItemFactory() = default;
    // A new item of the record's type, given the record's values in order;
    // null for a type it cannot build. The record itself is left as it is.
    virtual CItem *createItem(CControl *control, const CItemRecord &record) = 0;
};
