#pragma once

#include "app/MModel.h"
#include "controls/MQmlInterface.h"

#include <QPointer>
#include <QQuickView>

class QQmlComponent;
class QResizeEvent;

// The canvas view: registers the native item types, creates the shared
// bridge "intrf", publishes the canvas menus and shows the desktop scene.
class VQmlFrame : public QQuickView
{
    Q_OBJECT
public:
    VQmlFrame();
    ~VQmlFrame() override;

    // The native types every canvas QML document imports, one module each.
    static void registerTypes();

    // Registers the types, creates the bridge and publishes it; with first
    // set and a model already attached, also starts the model.
    void initialize(bool first);
    void setSetupMenu(const QVector<MQmlInterface::SetupMenuEntry> &entries);
    // Republishes the collection names for the collections menu.
    void publishSceneMenu();
    // Remembers the model and attaches it to the bridge.
    void setModel(MModel *model);
    MModel *model() const { return m_pModel; }
    MQmlInterface *interface() const { return m_pInterface; }
    // Logical DPI of the view's screen; 72 without a screen.
    float logicalDpi() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QQmlComponent *m_pInterfaceComponent = nullptr;
    QPointer<MQmlInterface> m_pInterface;
    QPointer<MModel> m_pModel;
};
