#include "dialogs/DQmlMessageDialog.h"

#include "views/VModeManager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTimer>

DQmlMessageDialog::DQmlMessageDialog(QQmlContext *context, const QUrl &url, QObject *parent)
    : QObject(parent), m_url(url), m_button(tr("OK")), m_pContext(context)
{
}

DQmlMessageDialog::~DQmlMessageDialog()
{
    close();
}

bool DQmlMessageDialog::show()
{
    if (m_pObject)
        return true;
    auto *canvas = qobject_cast<QQuickItem *>(VModeManager::instance()->canvas());
    QQmlEngine *engine = m_pContext ? m_pContext->engine() : nullptr;
    // Without a canvas nobody could see the message, let alone close it.
    if (!canvas || !engine)
        return false;

    QQmlComponent component(engine, m_url);
    QObject *object = component.create(m_pContext);
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item) {
        int index = 0;
        for (const QQmlError &error : component.errors())
            qDebug() << index++ << error.toString();
        qDebug() << QStringLiteral("------------------------");
        delete object;
        return false;
    }
    item->setParentItem(canvas);
    item->setProperty("button", m_button);
    item->setProperty("title", m_title);
    item->setProperty("text", m_text);
    item->setProperty("visible", true);
    m_pObject = item;
    // Torn down with the scene: the message counts as closed.
    connect(item, &QObject::destroyed, this, [this]() { emit closed(); });
    if (item->metaObject()->indexOfSignal("closeDialog()") >= 0)
        connect(item, SIGNAL(closeDialog()), this, SLOT(close()));
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(application, &QGuiApplication::applicationStateChanged, this,
                &DQmlMessageDialog::applicationStateChanged, Qt::UniqueConnection);
    VModeManager::instance()->setModalObject(item);
    return true;
}

bool DQmlMessageDialog::exec()
{
    if (!show())
        return false;
    // The tick bounds each pass, so the loop neither spins nor sleeps past
    // the close.
    QTimer tick;
    tick.start(10);
    while (m_pObject)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return true;
}

void DQmlMessageDialog::close()
{
    QObject *object = m_pObject;
    if (!object)
        return;
    m_pObject = nullptr;
    VModeManager *modes = VModeManager::instance();
    if (modes->modalObject() == object)
        modes->setModalObject(nullptr);
    disconnect(object, &QObject::destroyed, this, nullptr);
    object->setProperty("visible", false);
    object->deleteLater();
    emit closed();
}

void DQmlMessageDialog::applicationStateChanged(Qt::ApplicationState state)
{
    if (state == Qt::ApplicationSuspended || state == Qt::ApplicationHidden)
        close();
}
