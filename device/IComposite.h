#pragma once

#include "device/IInterface.h"

#include <QList>
#include <QPointer>

// A list of interfaces (not owned) driven as one: the connections of all chassis.
class IComposite : public IInterface
{
    Q_OBJECT
public:
    explicit IComposite(QObject *parent = nullptr);
    ~IComposite() override;

    // Ignores null and interfaces already in the list.
    void add(IInterface *member);
    // With destroy, stops and deletes every member first.
    void clear(bool destroy);

    bool start() override;
    bool stop() override;
    void ensureStarted() override;
    void suspend() override;
    void emitStatus() override;
    void dump() const override;

    int countOnline() const;
    int count() const;
    IInterface *at(int index) const;

private:
    // Guarded: a chassis may delete its interface while it is still listed.
    QList<QPointer<IInterface>> m_members;
};
