#pragma once

#include <QObject>

// Whether the app shows in the task bar and has an application menu. Linux
// desktops decide that per window, so this port only records the policy the
// app asks for; windows reach the task bar by themselves.
class ActivationPolicy : public QObject {
    Q_OBJECT

public:
    enum class Policy { regular, accessory };
    Q_ENUM(Policy)

    using QObject::QObject;

    Policy policy() const { return m_policy; }
    void setPolicy(Policy policy);

signals:
    void policyChanged(ActivationPolicy::Policy policy);

private:
    Policy m_policy = Policy::regular;
};
