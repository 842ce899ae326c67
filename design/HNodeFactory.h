#pragma once

#include <QString>

class HNode;

// Makes the design node for a class name of the design file.
class HNodeFactory
{
public:
    // A new node, or null for the kinds that are not kept.
    static HNode *create(const QString &typeName, const QString &cardType);
};
