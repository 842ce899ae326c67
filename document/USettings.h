#pragma once

#include <QSettings>

// The program's settings store: organisation "Orvane", application
// "Zindral Remote builder 2.0", native format.
class USettings : public QSettings
{
public:
    static QString organization() { return QStringLiteral("Orvane"); }
    static QString application() { return QStringLiteral("Zindral Remote builder 2.0"); }

    USettings() : QSettings(organization(), application()) {}
};
