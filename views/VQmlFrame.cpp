#include "views/VQmlFrame.h"

#include "app/MModel.h"
#include "controls/MQmlInterface.h"
#include "controls/WButton.h"
#include "controls/WCmdButton.h"
#include "controls/WDialer.h"
#include "controls/WDropList.h"
#include "controls/WDropSite.h"
#include "controls/WFrame.h"
#include "controls/WImage.h"
#include "controls/WLabel.h"
#include "controls/WPanelLink.h"
#include "controls/WRegion.h"
#include "controls/WSlider.h"
#include "controls/WTextEdit.h"
#include "controls/WTextLink.h"
#include "controls/WWidget.h"

#include <QDebug>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QResizeEvent>
#include <QScreen>

namespace {
const char *const InterfaceUrl = "qrc:/qml/QmlInterface.qml";
}

VQmlFrame::VQmlFrame() : QQuickView(static_cast<QWindow *>(nullptr))
{
    // The scene always fills the view, so the canvas follows the container.
    setResizeMode(QQuickView::SizeRootObjectToView);
}

VQmlFrame::~VQmlFrame()
{
    // The model must neither reach this view nor create items in its scene
    // once it is gone.
    if (m_pModel && m_pModel->qmlFrame() == this) {
        m_pModel->setQmlFrame(nullptr);
        m_pModel->setCanvasItem(nullptr);
    }
    delete m_pInterfaceComponent;
}

void VQmlFrame::registerTypes()
{
    qmlRegisterType<MQmlInterface>("mqmlinterface", 1, 0, "MQmlInterface");
    qmlRegisterType<WWidget>("wwidget", 1, 0, "WWidget");
    // Each control item type in a module of its own, in this order:
    // wbutton, wcmdbutton, wdialer, wdroplist, wdropsite, wframe, wimage,
    // wlabel, wpanellink, wregion, wslider, wtextedit, wtextlink.
    qmlRegisterType<WButton>("wbutton", 1, 0, "WButton");
    qmlRegisterType<WCmdButton>("wcmdbutton", 1, 0, "WCmdButton");
    qmlRegisterType<WDialer>("wdialer", 1, 0, "WDialer");
    qmlRegisterType<WDropList>("wdroplist", 1, 0, "WDropList");
    qmlRegisterType<WDropSite>("wdropsite", 1, 0, "WDropSite");
    qmlRegisterType<WFrame>("wframe", 1, 0, "WFrame");
    qmlRegisterType<WImage>("wimage", 1, 0, "WImage");
    qmlRegisterType<WLabel>("wlabel", 1, 0, "WLabel");
    qmlRegisterType<WPanelLink>("wpanellink", 1, 0, "WPanelLink");
    qmlRegisterType<WRegion>("wregion", 1, 0, "WRegion");
    qmlRegisterType<WSlider>("wslider", 1, 0, "WSlider");
    qmlRegisterType<WTextEdit>("wtextedit", 1, 0, "WTextEdit");
    qmlRegisterType<WTextLink>("wtextlink", 1, 0, "WTextLink");
}

void VQmlFrame::initialize(bool first)
{
    QQmlEngine *engine = this->engine();
    if (!engine)
        return;
    registerTypes();

    delete m_pInterfaceComponent;
    delete m_pInterface.data();
    m_pInterfaceComponent = new QQmlComponent(engine, QUrl(QString::fromLatin1(InterfaceUrl)));
    if (m_pInterfaceComponent->isError()) {
        int index = 0;
        for (const QQmlError &error : m_pInterfaceComponent->errors())
            qDebug() << index++ << error.toString();
        qDebug() << QStringLiteral("------------------------");
    }
    QObject *object = m_pInterfaceComponent->create();
    m_pInterface = qobject_cast<MQmlInterface *>(object);
    if (!m_pInterface) {
        delete object;
    } else {
        // Lives as long as the scene that binds to it.
        m_pInterface->setParent(this);
        m_pInterface->setFrame(this);
    }

    if (QQmlContext *context = engine->rootContext()) {
        context->setContextProperty(QStringLiteral("intrf"), m_pInterface.data());
        if (m_pInterface)
            m_pInterface->setContext(context);
    }

    if (first && m_pModel)
        m_pModel->initialize();
}

void VQmlFrame::setSetupMenu(const QVector<MQmlInterface::SetupMenuEntry> &entries)
{
    if (m_pInterface)
        m_pInterface->setSetupMenu(entries);
}

void VQmlFrame::publishSceneMenu()
{
    if (m_pInterface)
        m_pInterface->publishSceneMenu();
}

void VQmlFrame::setModel(MModel *model)
{
    m_pModel = model;
    if (m_pInterface) {
        m_pInterface->setModel(model);
        m_pInterface->setFrame(this);
    }
}

float VQmlFrame::logicalDpi() const
{
    QScreen *screen = this->screen();
    return screen ? float(screen->logicalDotsPerInch()) : 72.0f;
}

void VQmlFrame::resizeEvent(QResizeEvent *event)
{
    if (QQuickItem *root = rootObject()) {
        root->setProperty("width", event->size().width());
        root->setProperty("height", event->size().height());
    }
    // The window itself still has to learn its new size.
    QQuickWindow::resizeEvent(event);
}
