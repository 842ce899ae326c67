#pragma once

#include "app/MModel.h"
#include "controls/WWidget.h"

#include <QObject>
#include <QPointer>
#include <QQmlContext>
#include <QQuickItem>
#include <QString>
#include <QStringList>
#include <QVector>

class BCommand;
class CComposite;
class HNode;
class VQmlFrame;

// The one object every canvas QML document reaches as "intrf": it carries the
// shared look of the canvas as QML properties (declared in QmlInterface.qml)
// and turns drops, gestures, keys and menu commands from QML into calls of the
// application model and into commands.
class MQmlInterface : public QObject
{
    Q_OBJECT
public:
    // One entry of the canvas's set-up menu: the id the menu hands back
    // (an MCanvasState::SetupEntry) and the text it shows.
    struct SetupMenuEntry
    {
        int id;
        QString text;
    };

    explicit MQmlInterface(QObject *parent = nullptr);
    ~MQmlInterface() override;

    // The root context of the canvas engine; publishes "sceneMenuData" and
    // "setupMenuData".
    void setContext(QQmlContext *context);
    QQmlContext *context() const { return m_pContext; }
    // Remembers the model, makes this the object the model writes the canvas
    // state into, connects the model's canvas signals to the scene and points
    // the model's item factory at this canvas.
    void setModel(MModel *model);
    MModel *model() const { return m_pModel; }
    void setFrame(VQmlFrame *frame) { m_pFrame = frame; }
    VQmlFrame *frame() const { return m_pFrame; }
    // The control area ("QmlView") and the desktop scene ("QmlCanvas") as
    // they announced themselves; null before that.
    QQuickItem *viewItem() const { return m_pViewItem; }
    QObject *scene() const { return m_pScene; }

    // Publishes the collection names of the model's document as
    // "sceneMenuData" (empty without model or document).
    void publishSceneMenu();
    // Publishes the entries, in order, as "setupMenuData": a list of objects
    // with "id" and "text".
    void setSetupMenu(const QVector<SetupMenuEntry> &entries);

    // The last drop, read by the drop commands.
    double dropX() const { return m_dropX; }
    double dropY() const { return m_dropY; }
    QString dropText() const { return m_dropText; }
    // Identities are the addresses of tree objects, so they need all 64 bits.
    quint64 dropLink() const { return m_dropLink; }
    quint64 dropNode() const { return m_dropNode; }
    WWidget *dropSiteItem() const { return m_pDropSite; }
    // The design object and the panel the last drop names, found in the
    // model's design and document; null when they hold no such object.
    HNode *droppedNode() const;
    CComposite *droppedPanel() const;

    // The node under root whose address is identity: a payload is never
    // trusted as a pointer without finding it in the design.
    static HNode *findNode(HNode *root, quint64 identity);
    // The payload of a drag as an identity; 0 for text that is not a number.
    static quint64 identity(const QString &data);

    Q_INVOKABLE void setObject(QString name, QObject *object);
    Q_INVOKABLE void canvasResize();
    Q_INVOKABLE bool postCommand(QString cmd, QString msg);
    // The set-up menu's entry with that id was chosen; answers what the model
    // answers, titled with the entry's text.
    Q_INVOKABLE bool setupMenuChoice(int id);
    Q_INVOKABLE bool dragEvent(QString text, QString data, WWidget *dropSite);
    Q_INVOKABLE void dropSite(QString text, QString data, WWidget *dropSite);
    Q_INVOKABLE void dropPanel(QString text, QString data);
    Q_INVOKABLE void panelSetup();
    Q_INVOKABLE void headerText();
    Q_INVOKABLE uint getAppFunction();
    Q_INVOKABLE void cancelEdit();
    Q_INVOKABLE void dropControl(QString text, QString data, int x, int y);
    Q_INVOKABLE void dropLink(QString text, QString data, int x, int y);
    Q_INVOKABLE void moveControl(float x, float y, uint state);
    Q_INVOKABLE void resizeControl(float x, float y, uint edge, uint state);
    Q_INVOKABLE void keyEvent(int key, int modifiers, bool repeat, uint state);
    Q_INVOKABLE void doubleClickControl();

signals:
    void closeSignal();
    // A press on empty canvas (or a hidden selection) ended the edit gesture.
    void editCancelled();

protected:
    // Where gestures and arrow keys go: the model's pointer tool.
    virtual BCommand *gestureTool() const;

private:
    void runDropCommand(int code);
    void publishSetupMenu();
    void connectScene();

    QPointer<QQmlContext> m_pContext;
    QPointer<QQuickItem> m_pViewItem;
    QPointer<QObject> m_pScene;
    // The view owns this object, so it outlives it.
    VQmlFrame *m_pFrame = nullptr;
    double m_dropX = 0.0;
    double m_dropY = 0.0;
    QString m_dropText;
    quint64 m_dropLink = 0;
    quint64 m_dropNode = 0;
    QPointer<WWidget> m_pDropSite;
    QPointer<MModel> m_pModel;
    QVector<SetupMenuEntry> m_setupMenu;
};
