#include "views/KTabController.h"

#include "app/KComposite.h"
#include "app/MModel.h"
#include "views/KTreeController.h"
#include "views/VTabBar.h"

#include <QTabBar>

KTabController::KTabController(MModel *model, QWidget *parentWidget)
    : KController(model, parentWidget)
{
    m_pTabs = new VTabBar(parentWidget);
}

KTabController::~KTabController() = default;

int KTabController::type() const
{
    return TabType;
}

void KTabController::initialize()
{
    MModel *model = this->model();
    if (!m_pTabs || !model)
        return;
    m_pTabs->setController(this);
    m_pTabs->setContentsMargins(2, 2, 7, m_pTabs->tabBar()->sizeHint().height());

    auto *projectPage = new QWidget();
    m_pTabs->addTab(projectPage, QIcon(QStringLiteral(":/images/ProjectTreeView.png")), tr("Project"));
    model->addController(new KTreeController(model, projectPage));

    // The properties panel fills this page once it exists.
    m_pPropertiesPage = new QWidget();
    m_pTabs->addTab(m_pPropertiesPage, QIcon(QStringLiteral(":/images/PropertiesView.png")),
                    tr("Properties"));
}

void KTabController::setGeometry(const QRect &rect)
{
    if (!m_pTabs)
        return;
    m_pTabs->move(rect.topLeft());
    m_pTabs->resize(rect.size());
    const QRect contents = m_pTabs->contentsRect();
    if (MModel *model = this->model()) {
        if (KComposite *root = model->controllers()) {
            const QRect page(QPoint(0, 0), contents.size());
            if (KController *tree = root->findController(TreeType))
                tree->setGeometry(page);
            if (KController *properties = root->findController(PropertiesType))
                properties->setGeometry(page);
        }
    }
}

void KTabController::update(int hint)
{
    if (hint != ShowProperties || !m_pTabs || !m_pPropertiesPage)
        return;
    if (m_pTabs->currentWidget() != m_pPropertiesPage)
        m_pTabs->setCurrentWidget(m_pPropertiesPage);
}
