#pragma once

#include "app/MModel.h"
#include "document/CCanvas.h"

#include <QWidget>

class KQmlController;
class QQuickItem;
class VQmlFrame;

// The program's model with its canvas view on a shown window, the way the
// main window holds them: documents open into it as they do for the user.
class BenchCanvas
{
public:
    BenchCanvas();
    ~BenchCanvas();

    MModel &model() { return m_model; }
    VQmlFrame *frame() const;
    // The item every control item goes into.
    QQuickItem *contentItem() const;
    // Runs the event loop until nothing deferred is left: deletions and a frame.
    void settle();

private:
    CCanvas m_canvas;
    MModel m_model;
    QWidget m_window;
    KQmlController *m_pController = nullptr;
};
