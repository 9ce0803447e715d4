#pragma once

#include <QHash>
#include <QString>

// Build-time facts about the app ("CFBundleShortVersionString", "SUFeedURL", ...).
// Code that reads them takes a BundleInfo so tests can pass their own values.
class BundleInfo {
public:
    BundleInfo() = default;
    explicit BundleInfo(QHash<QString, QString> values);

    // The values this build was configured with.
    static const BundleInfo &main();

    // The value under `key`, or an empty string when there is none.
    QString value(const QString &key) const;
    bool contains(const QString &key) const;

private:
    QHash<QString, QString> m_values;
};
