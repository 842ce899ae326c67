#include "views/KQmlController.h"

#include "app/MCanvasState.h"
#include "app/MModel.h"
#include "document/CCanvas.h"
#include "views/VQmlFrame.h"

#include <QQmlEngine>
#include <QFile>
#include <QSplitter>
#include <QWidget>

#include <iterator>

KQmlController::KQmlController(MModel *model, QWidget *parentWidget)
    : KController(model, parentWidget)
{
    build(true);
}

KQmlController::~KQmlController()
{
    tearDown();
}

int KQmlController::type() const
{
    return QmlType;
}

void KQmlController::build(bool first)
{
    MModel *model = this->model();
    QWidget *parent = parentWidget();
    if (!model || !parent)
        return;

    m_pView = new VQmlFrame();
    m_pSplitter = new QSplitter(parent);
    QWidget *grandparent = parent->parentWidget();
    if (!grandparent)
        return;

    // The container owns the view from here on.
    m_pContainer = QWidget::createWindowContainer(m_pView, grandparent);
    m_pContainer->setMinimumSize(200, 200);
    m_pContainer->setFocusPolicy(Qt::TabFocus);
    m_pView->initialize(first);
    publishSetupMenu();
    if (CCanvas *canvas = model->canvas()) {
        canvas->attachView(m_pView);
        if (QFile::exists(QStringLiteral(":/qml/QmlDesktop.qml")))
            m_pView->setSource(QUrl(QStringLiteral("qrc:/qml/QmlDesktop.qml")));
    }
    m_pSplitter->addWidget(m_pContainer);
}

void KQmlController::publishSetupMenu()
{
    // The texts are one translation, in the order shown; each carries the id
    // the model dispatches on.
    const QStringList texts = tr("About Zindral Remote...,IP Address...,Network Status...,"
                                 "Project Information...,Receive...")
                                  .split(QLatin1Char(','));
    const int ids[] = {MCanvasState::About, MCanvasState::IpAddress, MCanvasState::NetworkStatus,
                       MCanvasState::ProjectInformation, MCanvasState::Receive};
    QVector<MQmlInterface::SetupMenuEntry> entries;
    for (int i = 0; i < texts.count() && i < int(std::size(ids)); ++i)
        entries.append({ids[i], texts.at(i)});
    m_pView->setSetupMenu(entries);
}

void KQmlController::tearDown()
{
    if (m_pView) {
        m_pView->hide();
        m_pView->setParent(static_cast<QWindow *>(nullptr));
        m_pView->destroy();
    }
    delete m_pSplitter.data();
    // Without a container nothing else owns the view.
    delete m_pView.data();
    m_pContainer = nullptr;
}

void KQmlController::attach()
{
    MModel *model = this->model();
    if (!m_pView || !model)
        return;
    model->setQmlFrame(m_pView);
    m_pView->setModel(model);
}

void KQmlController::initialize()
{
    attach();
}

void KQmlController::rebuild()
{
    tearDown();
    build(false);
    attach();
    if (MModel *model = this->model()) {
        QQmlEngine *engine = m_pView ? m_pView->engine() : nullptr;
        model->rebindFactory(engine ? engine->rootContext() : nullptr);
    }
    if (m_pSplitter)
        m_pSplitter->show();
}

void KQmlController::setGeometry(const QRect &rect)
{
    if (!m_pSplitter)
        return;
    m_pSplitter->move(rect.topLeft());
    m_pSplitter->resize(rect.right() - rect.left() + 1, rect.bottom() - rect.top() + 1);
}

void KQmlController::reset()
{
    if (m_pView)
        m_pView->publishSceneMenu();
}

void KQmlController::update(int hint)
{
    if (hint == RefreshCanvas || hint == DocumentReloaded || hint == PanelsChanged) {
        if (m_pView)
            m_pView->publishSceneMenu();
    }
}
