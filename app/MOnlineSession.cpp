#include "app/MOnlineSession.h"

#include "app/MModel.h"
#include "design/HChassis.h"
#include "design/HRoot.h"
#include "device/IComposite.h"
#include "device/PProtocol.h"
#include "document/CCanvas.h"
#include "document/CComposite.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QTimer>

MOnlineSession::MOnlineSession(MModel &model)
    : m(model), m_pTimer(new QTimer(&model)), m_pInterfaces(std::make_unique<IComposite>())
{
    m_pTimer->setObjectName(QStringLiteral("polling"));
    m_pTimer->setInterval(PollingInterval);
    QObject::connect(m_pTimer, &QTimer::timeout, &model, &MModel::doPolling);
}

MOnlineSession::~MOnlineSession() = default;

QList<HChassis *> MOnlineSession::chassisList() const
{
    QList<HChassis *> result;
    HRoot *root = m.hardwareRoot();
    if (!root)
        return result;
    QList<HNode *> nodes;
    root->collectByCategory(QStringLiteral("Chassis"), nodes);
    for (HNode *node : qAsConst(nodes)) {
        if (auto *chassis = dynamic_cast<HChassis *>(node))
            result.append(chassis);
    }
    return result;
}

void MOnlineSession::goOnline(bool on)
{
    HRoot *root = m.hardwareRoot();
    if (!root)
        return;
    for (HChassis *chassis : chassisList()) {
        if (IInterface *transport = chassis->createInterface()) {
            if (on)
                transport->start();
            else
                transport->stop();
        }
        if (PProtocol *protocol = chassis->protocol())
            protocol->setListener(&m);
    }
    if (on)
        m_pTimer->start(PollingInterval);
    else
        m_pTimer->stop();
    m_online = on;
    root->connectStatus(&m);
    if (on)
        rebuildInterfaces();
}

void MOnlineSession::startExchange()
{
    rebuildInterfaces();
    pollNow();
}

void MOnlineSession::rebuildInterfaces()
{
    m_pInterfaces->clear(false);
    for (HChassis *chassis : chassisList())
        m_pInterfaces->add(chassis->interface());
    m_pInterfaces->emitStatus();
}

void MOnlineSession::doPolling()
{
    if (m_online)
        pollNow();
}

void MOnlineSession::pollNow()
{
    if (CComposite *panel = m.currentPanel())
        panel->poll();
}

void MOnlineSession::userChangedValue()
{
    if (m_pTimer->isActive())
        m_pTimer->start();
}

void MOnlineSession::pausePolling(bool paused)
{
    if (paused)
        m_pTimer->stop();
    else if (m_online)
        m_pTimer->start(PollingInterval);
}

void MOnlineSession::interfaceStatusChanged()
{
    if (!m.qmlRoot())
        return;
    const int online = m_pInterfaces->countOnline();
    const char *colour = online == 0 ? "red" : online < m_pInterfaces->count() ? "ylw" : "grn";
    const QString skin = m.canvas() ? m.canvas()->skin() : QStringLiteral("Light");
    m.setQmlProperty(
        "connectInd",
        QStringLiteral("../../images/skins/%1/indicator_%2.png").arg(skin, QLatin1String(colour)));
}

void MOnlineSession::applicationStateChanged(Qt::ApplicationState state)
{
    // Offline the connections stay down whatever the window does.
    if (!m_online || !m.currentPanel())
        return;
    // A desktop window goes inactive whenever another window takes the focus;
    // only a program that is hidden or suspended lets its connections go.
    if (state == Qt::ApplicationActive) {
        m_pInterfaces->ensureStarted();
        pollNow();
    } else if (state == Qt::ApplicationSuspended || state == Qt::ApplicationHidden) {
        m_pInterfaces->suspend();
    }
}

QString MOnlineSession::localAddressText()
{
    QString text;
    for (const QHostAddress &address : QNetworkInterface::allAddresses()) {
        const QString shown = address.toString();
        if (shown.contains(QLatin1Char(':')) || shown.startsWith(QLatin1String("127.0.0")))
            continue;
        text += shown + QLatin1Char('\n');
    }
    return text;
}

QString MOnlineSession::networkStatusText() const
{
    QString text;
    for (HChassis *chassis : chassisList()) {
        if (IInterface *transport = chassis->interface())
            text += chassis->label() + transport->statusText() + QStringLiteral("\n\n");
    }
    return text;
}
