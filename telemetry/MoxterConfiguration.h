#pragma once

#include <QString>
#include <QUrl>

#include <optional>

class BundleInfo;

// Where usage events and feedback go, and the key that lets them in. A build
// without a usable endpoint and key has no configuration and sends nothing.
class MoxterConfiguration {
public:
    // None unless the endpoint is an https address with a host and without
    // user, password, query or fragment, and the key is non-empty and fits on
    // one header line.
    static std::optional<MoxterConfiguration> make(const QString &endpoint, const QString &key);
    // From "TavimoMoxterEndpoint" and "TavimoMoxterKey".
    static std::optional<MoxterConfiguration> fromBundle(const BundleInfo &bundle);

    QUrl endpoint() const { return m_endpoint; }
    QString key() const { return m_key; }

    // The endpoint with `path` ("v1/events") appended as path components.
    QUrl url(const QString &path) const;

private:
    MoxterConfiguration(QUrl endpoint, QString key);

    QUrl m_endpoint;
    QString m_key;
};
