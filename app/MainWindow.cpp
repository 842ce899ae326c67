#include "app/MainWindow.h"

#include "app/KComposite.h"
#include "app/KMainController.h"
#include "app/MModel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QTranslator>

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("MainWindow"));
    resize(1024, 700);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QFont windowFont(QStringLiteral("Calibri"));
    windowFont.setPointSize(10);
    setFont(windowFont);
    setContextMenuPolicy(Qt::NoContextMenu);

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    central->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    central->setMinimumSize(30, 30);
    setCentralWidget(central);

    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuBar"));
    setMenuBar(bar);

    m_pMainToolBar = new QToolBar(this);
    m_pMainToolBar->setObjectName(QStringLiteral("mainToolBar"));
    m_pMainToolBar->setContextMenuPolicy(Qt::NoContextMenu);
    addToolBar(Qt::TopToolBarArea, m_pMainToolBar);

    setWindowTitle(QStringLiteral("MainWindow"));

    // Installed only when found: a missing translation leaves the source texts.
    m_pTranslator = new QTranslator(this);
    if (m_pTranslator->load(QStringLiteral(":/translations/zrbuilder_en.qm")))
        m_translationInstalled = QCoreApplication::installTranslator(m_pTranslator);
}

MainWindow::~MainWindow()
{
    if (m_translationInstalled)
        QCoreApplication::removeTranslator(m_pTranslator);
}

void MainWindow::setController(KMainController *controller)
{
    m_pController = controller;
}

KMainController *MainWindow::controller() const
{
    return m_pController;
}

QStatusBar *MainWindow::existingStatusBar() const
{
    // statusBar() would create one; the window is built without.
    return findChild<QStatusBar *>(QString(), Qt::FindDirectChildrenOnly);
}

void MainWindow::refreshCanvasController()
{
    if (!m_pController || !m_pController->model())
        return;
    KComposite *root = m_pController->model()->controllers();
    if (KController *canvas = root ? root->findController(KController::QmlType) : nullptr)
        canvas->update(KController::RefreshCanvas);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_pController)
        m_pController->setGeometry(QRect(0, 0, event->size().width(), event->size().height()));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_pController) {
        event->accept();
        return;
    }
    if (m_pController->promptSave(tr("Exit"))) {
        m_pController->goOffline();
        event->accept();
    } else {
        event->ignore();
    }
}
