#pragma once

#include <QtGlobal>

// What a file transfer shows while it runs: how far it has come, and a way
// for the user to stop it. The transfer keeps the program responsive by
// calling it between chunks and during its waits.
class PTransferProgress
{
public:
    virtual ~PTransferProgress() = default;

    virtual void begin(qint64 total) = 0;
    // Shows the bytes done and lets pending events run; false once the user
    // has asked to stop.
    virtual bool advance(qint64 done) = 0;
    // Lets pending events run during a wait; false once the user has asked
    // to stop.
    virtual bool keepAlive() = 0;
    virtual void end() = 0;
};
