#include "ActivationPolicy.h"

void ActivationPolicy::setPolicy(Policy policy)
{
    if (m_policy == policy)
        return;
    m_policy = policy;
    emit policyChanged(policy);
}
