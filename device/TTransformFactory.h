#pragma once

#include <QString>

class TTransform;

// Creates value transforms by the name the attributes record carries.
class TTransformFactory
{
public:
    // Null for a name it does not know (names are case-sensitive).
    static TTransform *create(const QString &name);
};
