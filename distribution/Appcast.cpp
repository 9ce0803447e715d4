#include "Appcast.h"

#include "BuildVersion.h"
#include "UpdaterError.h"

#include <QXmlStreamReader>

namespace {

const QString appcastNamespace = QStringLiteral("urn:tavimo:appcast");

bool isAppcastElement(const QXmlStreamReader &reader, QStringView name)
{
    return reader.namespaceUri() == appcastNamespace && reader.name() == name;
}

qint64 parsedLength(QStringView text)
{
    bool ok = false;
    const qint64 length = text.trimmed().toLongLong(&ok);
    return ok && length >= 0 ? length : -1;
}

void readEnclosure(const QXmlStreamReader &reader, AppcastItem &item)
{
    const QXmlStreamAttributes attributes = reader.attributes();
    item.url = QUrl(attributes.value(QStringLiteral("url")).trimmed().toString(), QUrl::StrictMode);
    item.length = parsedLength(attributes.value(QStringLiteral("length")));
    item.signature = attributes.value(appcastNamespace, QStringLiteral("edSignature")).trimmed().toLatin1();
}

AppcastItem readItem(QXmlStreamReader &reader)
{
    AppcastItem item;
    while (reader.readNextStartElement()) {
        if (reader.namespaceUri().isEmpty() && reader.name() == u"title") {
            item.title = reader.readElementText().trimmed();
        } else if (isAppcastElement(reader, u"version")) {
            item.version = reader.readElementText().trimmed();
        } else if (isAppcastElement(reader, u"shortVersionString")) {
            item.shortVersion = reader.readElementText().trimmed();
        } else if (reader.namespaceUri().isEmpty() && reader.name() == u"enclosure") {
            readEnclosure(reader, item);
            reader.skipCurrentElement();
        } else {
            reader.skipCurrentElement();
        }
    }
    return item;
}

QList<AppcastItem> readChannel(QXmlStreamReader &reader)
{
    QList<AppcastItem> items;
    while (reader.readNextStartElement()) {
        if (reader.name() == u"item")
            items.append(readItem(reader));
        else
            reader.skipCurrentElement();
    }
    return items;
}

} // namespace

namespace Appcast {

QList<AppcastItem> parse(const QByteArray &feed)
{
    QXmlStreamReader reader(feed);
    QList<AppcastItem> items;
    if (!reader.readNextStartElement() || reader.name() != u"rss")
        throw UpdaterFailure(UpdaterError::invalidFeed);
    while (reader.readNextStartElement()) {
        if (reader.name() == u"channel")
            items.append(readChannel(reader));
        else
            reader.skipCurrentElement();
    }
    if (reader.hasError())
        throw UpdaterFailure(UpdaterError::invalidFeed);
    return items;
}

std::optional<AppcastItem> newestUpdate(const QList<AppcastItem> &items, const QList<quint64> &runningBuild)
{
    std::optional<AppcastItem> newest;
    QList<quint64> newestVersion = runningBuild;
    for (const AppcastItem &item : items) {
        const std::optional<QList<quint64>> version = BuildVersion::parse(item.version);
        if (version && BuildVersion::compare(*version, newestVersion) > 0) {
            newest = item;
            newestVersion = *version;
        }
    }
    return newest;
}

void validate(const AppcastItem &item)
{
    if (item.url.scheme() != u"https" || item.url.host().isEmpty())
        throw UpdaterFailure(UpdaterError::insecureLocation);
    if (item.signature.isEmpty())
        throw UpdaterFailure(UpdaterError::missingSignature);
    if (item.length <= 0)
        throw UpdaterFailure(UpdaterError::invalidFeed);
    if (item.length > maximumArchiveSize)
        throw UpdaterFailure(UpdaterError::archiveTooLarge);
}

} // namespace Appcast
