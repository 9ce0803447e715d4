#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>

#include <optional>

class BundleInfo;

// What a build says about its updates: where the feed is, which key signs the
// archives and which build is running.
struct UpdaterConfiguration {
    QUrl feedUrl;
    // The raw 32-byte Ed25519 public key.
    QByteArray publicKey;
    QList<quint64> runningBuild;

    // From "SUFeedURL" (HTTPS with a host), "SUPublicEDKey" (Base64 of 32
    // bytes) and "CFBundleVersion"; nothing when any of them is unusable.
    static std::optional<UpdaterConfiguration> fromBundle(const BundleInfo &bundle);
};
