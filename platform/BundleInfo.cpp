#include "BundleInfo.h"

BundleInfo::BundleInfo(QHash<QString, QString> values) : m_values(std::move(values))
{
}

QString BundleInfo::value(const QString &key) const
{
    return m_values.value(key);
}

bool BundleInfo::contains(const QString &key) const
{
    return m_values.contains(key);
}
