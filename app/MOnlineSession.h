#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <memory>

class HChassis;
class IComposite;
class MModel;
class QTimer;

// The model's online mode: starts and stops the connection of every chassis,
// polls the current panel once a second, and shows the connection state on
// the canvas.
class MOnlineSession
{
public:
    static constexpr int PollingInterval = 1000;

    explicit MOnlineSession(MModel &model);
    ~MOnlineSession();
    MOnlineSession(const MOnlineSession &) = delete;
    MOnlineSession &operator=(const MOnlineSession &) = delete;

    // Starts or stops every chassis's interface and the polling timer.
    void goOnline(bool on);
    bool isOnline() const { return m_online; }
    // What going online from the main window adds: a current indicator and
    // the values shown at once rather than a second later.
    void startExchange();
    // The interface of every chassis, each made to report its status again.
    void rebuildInterfaces();
    void doPolling();
    void pollNow();
    // Puts off the next poll by a whole interval after a user change.
    void userChangedValue();
    // Recomputes the indicator from the interfaces' states.
    void interfaceStatusChanged();
    void applicationStateChanged(Qt::ApplicationState state);
    // Stops polling for a while (a transfer), or takes it up again.
    void pausePolling(bool paused);

    QTimer *pollingTimer() const { return m_pTimer; }
    IComposite *interfaces() const { return m_pInterfaces.get(); }

    // The machine's IPv4 addresses other than loopback, one a line.
    static QString localAddressText();
    // Every chassis with an interface: its label and state.
    QString networkStatusText() const;

private:
    QList<HChassis *> chassisList() const;

    MModel &m;
    QTimer *m_pTimer = nullptr;
    std::unique_ptr<IComposite> m_pInterfaces;
    bool m_online = false;
};
