#pragma once

#include <QtGlobal>

// Hands out the control ids of one document: unsigned 32-bit numbers, never
// 0, seeded with the start time in seconds since 1970.
class CIdSource
{
public:
    CIdSource();
    explicit CIdSource(quint32 seed) : m_counter(seed) {}

    // Increments the counter, then answers it.
    quint32 next();
    quint32 current() const { return m_counter; }
    // Moves the counter past an id met in a loaded document, so new controls
    // never repeat it.
    void reserve(quint32 id);

private:
    quint32 m_counter = 0;
};
