#pragma once

#include "device/PDspEmulator.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>

// The DSP emulator in a thread of its own, so it answers while the protocol
// under test blocks in its reply waits. The design is read on the calling
// thread (building the tree makes icons); from serve() on, the emulator is
// touched only in its thread, through call().
class EmulatorThread : public QObject
{
public:
    EmulatorThread()
    {
        moveToThread(&m_thread);
        m_thread.start();
    }
    ~EmulatorThread() override
    {
        call([this] {
            delete emulator;
            emulator = nullptr;
            moveToThread(QCoreApplication::instance()->thread());
        });
        m_thread.quit();
        m_thread.wait();
    }
    // Runs f in the emulator's thread and waits for it.
    template <typename F> void call(F f)
    {
        QMetaObject::invokeMethod(this, f, Qt::BlockingQueuedConnection);
    }
    // Reads path and serves every chassis on any free loopback port.
    bool start(const QString &path)
    {
        auto *loaded = new PDspEmulator;
        if (!loaded->load(path)) {
            delete loaded;
            return false;
        }
        loaded->moveToThread(&m_thread);
        bool served = false;
        call([&] {
            emulator = loaded;
            served = emulator->serve(0);
        });
        return served;
    }
    quint16 port(const QString &chassis)
    {
        quint16 port = 0;
        call([&] {
            if (PDspChassis *found = emulator->chassis(chassis))
                port = found->port();
        });
        return port;
    }
    QByteArray answer(const QString &chassis, const QByteArray &line)
    {
        QByteArray result;
        call([&] { result = emulator->chassis(chassis)->answer(line); });
        return result;
    }
    void setBehaviour(const PDspChassis::Behaviour &behaviour)
    {
        call([&] { emulator->behaviour() = behaviour; });
    }

    PDspEmulator *emulator = nullptr;

private:
    QThread m_thread;
};
