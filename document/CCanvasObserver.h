#pragma once

#include <QString>

// Told when the canvas record changes what the canvas must show.
class CCanvasObserver
{
public:
    virtual ~CCanvasObserver() = default;
    // The device or its settings were reset: the canvas rebuilds.
    virtual void canvasReset() = 0;
    // The skin or accent changed: the canvas reloads its look.
    virtual void canvasSkinChanged(const QString &skin, const QString &accent) = 0;
};
