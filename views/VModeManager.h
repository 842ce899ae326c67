#pragma once

#include <QObject>
#include <QPointer>

// Program-wide keeper of the canvas scene and of the QML popup that is open
// on it, so widget-side actions can close that popup first.
class VModeManager
{
public:
    static VModeManager *instance();
    // Deletes the instance; the model does this at exit.
    static void release();

    QObject *canvas() const { return m_pCanvas; }
    void setCanvas(QObject *canvas) { m_pCanvas = canvas; }
    QObject *modalObject() const { return m_pModalObject; }
    void setModalObject(QObject *object) { m_pModalObject = object; }

    // Asks the open popup, if any, to close itself through its "cancel"
    // property.
    void cancel();

private:
    VModeManager() = default;
    ~VModeManager() = default;

    // Both belong to the QML scene, which may be torn down at any time.
    QPointer<QObject> m_pCanvas;
    QPointer<QObject> m_pModalObject;
};
