#pragma once

#include "AppcastItem.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The update feed: RSS 2.0 whose items carry
//   <tavimo:version>42</tavimo:version>
//   <tavimo:shortVersionString>0.5.0</tavimo:shortVersionString>
//   <enclosure url="https://..." length="1234" tavimo:edSignature="Base64"/>
// with xmlns:tavimo="urn:tavimo:appcast".
namespace Appcast {

inline constexpr qint64 maximumFeedSize = 1024 * 1024;
inline constexpr qint64 maximumArchiveSize = 512 * 1024 * 1024;

// The items of the feed in document order. Throws UpdaterFailure
// (invalidFeed) when the bytes are not an RSS document.
QList<AppcastItem> parse(const QByteArray &feed);

// The item with the highest build number above `runningBuild` (as parsed by
// BuildVersion), if any. Items whose version is not a build number are ignored.
std::optional<AppcastItem> newestUpdate(const QList<AppcastItem> &items, const QList<quint64> &runningBuild);

// Throws UpdaterFailure unless the item can be downloaded safely: an HTTPS
// address with a host, a signature, and a length within the archive bound.
void validate(const AppcastItem &item);

} // namespace Appcast
