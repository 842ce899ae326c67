#include "device/IComposite.h"

IComposite::IComposite(QObject *parent) : IInterface(parent) {}

IComposite::~IComposite() = default;

void IComposite::add(IInterface *member)
{
    if (!member || member == this)
        return;
    for (const QPointer<IInterface> &existing : qAsConst(m_members)) {
        if (existing == member)
            return;
    }
    m_members.append(member);
}

void IComposite::clear(bool destroy)
{
    const QList<QPointer<IInterface>> members = m_members;
    m_members.clear();
    if (!destroy)
        return;
    for (const QPointer<IInterface> &member : members) {
        if (member) {
            member->stop();
            delete member.data();
        }
    }
}

bool IComposite::start()
{
    bool all = true;
    const QList<QPointer<IInterface>> members = m_members;
    for (const QPointer<IInterface> &member : members) {
        if (member && !member->start())
            all = false;
    }
    return all;
}

bool IComposite::stop()
{
    bool all = true;
    const QList<QPointer<IInterface>> members = m_members;
    for (const QPointer<IInterface> &member : members) {
        if (member && !member->stop())
            all = false;
    }
    return all;
}

void IComposite::ensureStarted()
{
    const QList<QPointer<IInterface>> members = m_members;
    for (const QPointer<IInterface> &member : members) {
        if (member)
            member->ensureStarted();
    }
}

void IComposite::suspend()
{
    const QList<QPointer<IInterface>> members = m_members;
    for (const QPointer<IInterface> &member : members) {
        if (member)
            member->suspend();
    }
}

void IComposite::emitStatus()
{
    const QList<QPointer<IInterface>> members = m_members;
    for (const QPointer<IInterface> &member : members) {
        if (member)
            member->emitStatus();
    }
}

void IComposite::dump() const
{
    for (const QPointer<IInterface> &member : m_members) {
        if (member)
            member->dump();
    }
}

int IComposite::countOnline() const
{
    int online = 0;
    for (const QPointer<IInterface> &member : m_members) {
        if (member && member->status() != 0)
            ++online;
    }
    return online;
}

int IComposite::count() const
{
    int present = 0;
    for (const QPointer<IInterface> &member : m_members) {
        if (member)
            ++present;
    }
    return present;
}

IInterface *IComposite::at(int index) const
{
    if (index < 0 || index >= m_members.size())
        return nullptr;
    return m_members.at(index).data();
}
