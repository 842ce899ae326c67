#pragma once

#include <QHostAddress>
#include <QString>

// Where a chassis is reached when the DSP emulator on this machine stands in
// for the devices: the one rule both the program and the emulator follow.
//
// A chassis whose design address is a loopback address (with a usable port)
// stays where it is. Every other chassis is reached at 127.0.0.1, port
// base port + its index among the design's chassis (0 for the first, in the
// order of the design file). The program turns the redirect on with
// --emulator at start-up; until then every address stays as designed.
class ILoopbackRedirect
{
public:
    static constexpr quint16 DefaultBasePort = 20055;

    struct Target
    {
        QHostAddress address;
        // 0 with a base port of 0: any free port (the emulator's choice).
        quint16 port = 0;
        // False when the rule gives no port (beyond 65535): nothing is reached.
        bool valid = false;
    };

    // The rule itself, for a chassis's design address and port texts.
    static Target target(const QString &designAddress, const QString &designPort, int index,
                         quint16 basePort);

    // Process-wide, set once from the command line before anything connects.
    static void setEnabled(bool on, quint16 basePort = DefaultBasePort);
    static bool isEnabled();
    static quint16 basePort();
};
