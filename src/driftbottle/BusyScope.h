#pragma once

#include <QMetaObject>
#include <QPointer>

/// Marks a manager busy for the life of one operation. The flag is set at once; the reset
/// is queued, so it lands just after the operation has handed its result to the caller,
/// and it is dropped when the manager is gone by then.
template<typename Owner>
class BusyScope
{
public:
    using Setter = void (Owner::*)(bool);

    BusyScope(Owner* owner, Setter setter)
        : m_owner(owner)
        , m_setter(setter)
    {
        (owner->*setter)(true);
    }
    ~BusyScope()
    {
        if (!m_owner)
            return;
        QMetaObject::invokeMethod(
            m_owner.data(), [owner = m_owner, setter = m_setter] { (owner.data()->*setter)(false); },
            Qt::QueuedConnection);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    QPointer<Owner> m_owner;
    Setter m_setter;
};
