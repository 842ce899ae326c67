#pragma once

#include "document/CCanvasObserver.h"
#include "document/CControlHost.h"
#include "device/PProtocolListener.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QQmlContext>
#include <QQuickItem>
#include <QPointF>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <memory>
#include <vector>

class BCommand;
class MCanvasState;
class MDocumentEditing;
class MDocumentFiles;
class MMobileTransfer;
class MOnlineSession;
class BCommandProcessor;
class CCanvas;
class CComposite;
class CControl;
class CDocument;
class HNode;
class HRoot;
class IComposite;
class KComposite;
class KController;
class MProject;
class MainWindow;
class QStandardItem;
class QTreeView;
class VQmlFrame;
class XmlWriter;

// The application model: owns the open document (with its design and project
// record) and the device connections, knows the current collection and panel,
// shows the document on the canvas and pushes what the canvas shows into the
// QML root.
class MModel : public QObject,
               public CControlHost,
               public CCanvasObserver,
               public PProtocolListener
{
    Q_OBJECT
public:
    explicit MModel(QObject *parent = nullptr);
    ~MModel() override;

    void initialize();

    // Document.
    bool newDocument(const QString &templatePath);
    bool open(const QString &path);
    bool save(const QString &path);
    // The whole panel file: declaration, version, connections, canvas,
    // project and the document tree.
    bool writeDocument(XmlWriter *writer);
    void closeDocument();
    bool loadDesign(const QString &path);
    void forgetDesign();

    // Collections and pages.
    CComposite *addCollection();
    CComposite *addPanel(HNode *node);
    void selectPanel(CComposite *panel);
    // Shows the panel at the end of a document path (the root "..", the
    // collection and the panel); an empty path tells the user that no link
    // was set. False when no panel was shown.
    bool followPath(const QString &path);
    bool setPage(int index);
    bool stepPage(int offset);
    bool selectCollection(const QString &name);
    bool selectCollection(int index);
    void addControl(CControl *control);
    // Takes the controls into the current panel.
    void addControls(const QList<CControl *> &controls);
    // Hands the control back unless it is destroyed.
    std::unique_ptr<CControl> removeControl(CControl *control, bool destroy);
    std::vector<std::unique_ptr<CControl>> removeControls(const QList<CControl *> &controls);
    void clearSelection();
    CControl *createNodeControl(HNode *node, const QString &parameter, const QPointF &point);
    CControl *createGraphicControl(const QString &label, const QPointF &point);
    CControl *createPanelLink(CComposite *target, const QPointF &point);

    // Canvas and view.
    bool updateScale();
    void fitToViewWidth();
    void refreshViewState();
    void setEditMode(bool on);
    void toggleEditMode();
    bool editMode() const { return m_editMode; }
    bool setQmlProperty(const char *name, const QVariant &value);
    QVariant qmlProperty(const char *name) const;
    void restack(CControl *control);
    void replacePathPrefix(const QString &oldPrefix, const QString &newPrefix);
    // Reads the controls of a clipboard text into the composite; answers the
    // new control when exactly one came, and whether the text parsed.
    CControl *pasteText(CComposite *composite, const QString &text, bool *parsed = nullptr);
    void pushHeaderTitle();
    QString aboutText() const;
    // Loads the skin, then the accent, onto the canvas bridge and lets the
    // items re-derive their skinned images.
    void applySkin(const QString &skin, const QString &accent);
    // The status bar's arrows step through the pages.
    bool handleEvent(const QString &event);

    // Controllers.
    void addController(KController *controller);
    void broadcast(int hint);
    KComposite *controllers() const { return m_pControllers; }
    void refreshCanvasController();

    // Hands a click on a control's selection overlay to the pointer tool.
    void selectWithPointerTool(CControl *control, int keys);

    // Online (restarts the polling timer when the user sends a value).
    void userChangedValue() override;
    bool isOnline() const;
    // Starts or stops every chassis's connection and the polling.
    void goOnline(bool on);
    // After going online: the indicator made current and a first poll.
    void startOnlineExchange();
    void rebuildInterfaces();
    // Send to Mobile Device: the saved panel to the address the user gives.
    bool sendToMobile();
    // Receive from a mobile device; a stored panel is opened and the
    // program goes online with it.
    bool receivePanel();
    MOnlineSession *session() const { return m_pSession.get(); }
    MMobileTransfer *transfer() const { return m_pTransfer.get(); }

    // What the document needs from the application.
    double pixelScale() const override { return m_viewScale; }
    CItemFactory *itemFactory() const override;
    void selectionChanged(bool selected, bool ccp) override;
    QString resolveImagePath(const QString &path) const override;
    void designNodesReleasing() override;
    void itemsBuilt(CComposite *composite) override;
    void canvasReset() override;
    void canvasSkinChanged(const QString &skin, const QString &accent) override;

    // Accessors.
    CDocument *document() const { return m_pDocument.get(); }
    CComposite *documentRoot() const;
    HRoot *hardwareRoot() const;
    MProject *project() const;
    CCanvas *canvas() const override { return m_pCanvas; }
    void setCanvas(CCanvas *canvas);
    IComposite *interfaces() const;
    CComposite *currentPanel() const { return m_pCurrentPanel; }
    CComposite *currentCollection() const;
    MainWindow *mainWindow() const { return m_pMainWindow; }
    void setMainWindow(MainWindow *window) { m_pMainWindow = window; }
    VQmlFrame *qmlFrame() const { return m_pQmlFrame; }
    void setQmlFrame(VQmlFrame *frame) { m_pQmlFrame = frame; }
    // The canvas's QML context, in which messages on the canvas are made.
    QQmlContext *qmlContext() const { return m_pQmlContext; }
    // The object whose properties the canvas QML reads (the bridge "intrf");
    // null without canvas.
    QObject *qmlRoot() const { return m_pQmlRoot; }
    void setQmlRoot(QObject *root) { m_pQmlRoot = root; }
    // The canvas content item: parent of every control item, and the area
    // whose size the scale follows. Without it, the root's own "width" and
    // "height" are read.
    QQuickItem *canvasItem() const { return m_pCanvasItem; }
    void setCanvasItem(QQuickItem *item);
    // Points the item factory at the canvas content item, context and model.
    void rebindFactory(QQmlContext *context);
    // The bridge asks for this whenever the canvas changes size.
    void canvasResize();
    // An entry of the canvas's set-up menu, by its MCanvasState::SetupEntry
    // id: "Project Information" and "About" show their texts on the canvas
    // under the title given. Answers the dialog's result.
    bool mobileMenuChoice(int entry, const QString &title);
    // Calls the pointer tool's execute(1): ends a gesture in progress.
    void resetPointerTool();
    // Names of the collections, in document order, for the canvas menu.
    QStringList collectionNames() const;
    BCommand *pointerTool() const { return m_pPointerTool.get(); }
    float viewScale() const { return m_viewScale; }
    void setViewScale(float scale) { m_viewScale = scale; }
    QString documentPath() const;
    QString designPath() const;
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    QHostAddress mobileAddress() const { return m_mobileAddress; }
    void setMobileAddress(const QHostAddress &address) { m_mobileAddress = address; }
    // The last error a document operation met, for callers that report it.
    QString lastError() const;

    // File name rule: the part after the last "/", without extension if asked.
    static QString fileName(const QString &path, bool dropExtension);

signals:
    void resetQMLFocus();
    void enableConnection(bool enabled);
    void displayMessage(QString msg);
    void selectState(bool selected);
    void ccpState(bool selected);
    void reloadCanvas();
    void resetCanvas();

public slots:
    void doPolling();
    void interfaceStatusChanged(uint status);
    void applicationStateChanged(Qt::ApplicationState state);
    void aboutToQuit();

private:
    friend class MCanvasState;
    friend class MDocumentEditing;
    friend class MDocumentFiles;

    void showCurrent();
    void pushPageState();

    VQmlFrame *m_pQmlFrame = nullptr;
    QPointer<QObject> m_pQmlRoot;
    QPointer<QQuickItem> m_pCanvasItem;
    QPointer<QQmlContext> m_pQmlContext;
    float m_viewHeight = 0.0f;
    float m_viewWidth = 0.0f;
    std::unique_ptr<CDocument> m_pDocument;
    CComposite *m_pCurrentPanel = nullptr;
    float m_viewScale = 1.0f;
    MainWindow *m_pMainWindow = nullptr;
    bool m_modified = false;
    QHostAddress m_mobileAddress;
    CCanvas *m_pCanvas = nullptr;
    KComposite *m_pControllers = nullptr;
    std::unique_ptr<BCommand> m_pPointerTool;
    bool m_editMode = false;
    QString m_lastError;
    std::unique_ptr<MDocumentFiles> m_pFiles;
    std::unique_ptr<MCanvasState> m_pCanvasState;
    std::unique_ptr<MDocumentEditing> m_pEditing;
    std::unique_ptr<MOnlineSession> m_pSession;
    std::unique_ptr<MMobileTransfer> m_pTransfer;
};
