#include "MoxterConfiguration.h"

#include "BundleInfo.h"

namespace {

bool isUsableEndpoint(const QUrl &url)
{
    return url.isValid() && url.scheme() == QLatin1String("https") && !url.host().isEmpty() &&
           url.userName().isEmpty() && url.password().isEmpty() && !url.hasQuery() && !url.hasFragment();
}

// A line break would split the Authorization header.
bool isUsableKey(const QString &key)
{
    return !key.isEmpty() && !key.contains(QLatin1Char('\n')) && !key.contains(QLatin1Char('\r'));
}

} // namespace

MoxterConfiguration::MoxterConfiguration(QUrl endpoint, QString key)
    : m_endpoint(std::move(endpoint)), m_key(std::move(key))
{
}

std::optional<MoxterConfiguration> MoxterConfiguration::make(const QString &endpoint, const QString &key)
{
    const QUrl url(endpoint, QUrl::StrictMode);
    if (!isUsableEndpoint(url) || !isUsableKey(key))
        return std::nullopt;
    return MoxterConfiguration(url, key);
}

std::optional<MoxterConfiguration> MoxterConfiguration::fromBundle(const BundleInfo &bundle)
{
    return make(bundle.value(QStringLiteral("TavimoMoxterEndpoint")), bundle.value(QStringLiteral("TavimoMoxterKey")));
}

QUrl MoxterConfiguration::url(const QString &path) const
{
    QString base = m_endpoint.path();
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    QUrl result = m_endpoint;
    result.setPath(base + path);
    return result;
}
