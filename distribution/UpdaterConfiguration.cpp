#include "UpdaterConfiguration.h"

#include "BuildVersion.h"
#include "BundleInfo.h"
#include "UpdateSignature.h"

namespace {

std::optional<QUrl> secureFeedUrl(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != u"https" || url.host().isEmpty())
        return std::nullopt;
    return url;
}

} // namespace

std::optional<UpdaterConfiguration> UpdaterConfiguration::fromBundle(const BundleInfo &bundle)
{
    const std::optional<QUrl> feedUrl = secureFeedUrl(bundle.value(QStringLiteral("SUFeedURL")));
    const std::optional<QByteArray> publicKey =
        UpdateSignature::publicKey(bundle.value(QStringLiteral("SUPublicEDKey")).toLatin1());
    const std::optional<QList<quint64>> runningBuild =
        BuildVersion::parse(bundle.value(QStringLiteral("CFBundleVersion")));
    if (!feedUrl || !publicKey || !runningBuild)
        return std::nullopt;
    return UpdaterConfiguration{*feedUrl, *publicKey, *runningBuild};
}
