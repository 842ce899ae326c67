#pragma once

#include <QString>

class PProtocol;

// Chooses the protocol for a platform word.
class PProtocolFactory
{
public:
    // "Zindral...", "Torva..." and "Rallen..." speak the DSP protocol, "File"
    // moves panel files; anything else gives null.
    static PProtocol *create(const QString &platform);
};
