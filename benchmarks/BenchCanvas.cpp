#include "BenchCanvas.h"

#include "views/KQmlController.h"
#include "views/VQmlFrame.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>

BenchCanvas::BenchCanvas()
{
    m_model.setCanvas(&m_canvas);
    m_model.initialize();
    auto *central = new QWidget(&m_window);
    m_window.resize(400, 700);
    central->resize(400, 700);
    m_pController = new KQmlController(&m_model, central);
    m_model.addController(m_pController);
    m_window.show();
    m_pController->setGeometry(QRect(0, 0, 300, 600));
    QElapsedTimer timer;
    timer.start();
    while (frame() && !frame()->isExposed() && timer.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!contentItem())
        qFatal("the canvas has no content item");
    settle();
}

BenchCanvas::~BenchCanvas()
{
    m_model.closeDocument();
    settle();
}

VQmlFrame *BenchCanvas::frame() const
{
    return m_pController ? m_pController->frame() : nullptr;
}

QQuickItem *BenchCanvas::contentItem() const
{
    return m_model.canvasItem();
}

void BenchCanvas::settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
