#include "UpdaterConfiguration.h"
#include "Appcast.h"
#include "BuildVersion.h"
#include "BundleInfo.h"
#include "UpdateFixture.h"

#include <gtest/gtest.h>

namespace {

const QString validKey = QByteArray(32, 'k').toBase64();

std::optional<UpdaterConfiguration> configured(const QString &feed, const QString &key, const QString &build = "42")
{
    return UpdaterConfiguration::fromBundle(
        BundleInfo({{"SUFeedURL", feed}, {"SUPublicEDKey", key}, {"CFBundleVersion", build}}));
}

int compared(const QString &left, const QString &right)
{
    return BuildVersion::compare(BuildVersion::parse(left).value(), BuildVersion::parse(right).value());
}

} // namespace

TEST(UpdaterConfiguration, NeedsAnHttpsFeedAnEd25519KeyAndABuildNumber)
{
    const auto configuration = configured("https://updates.example/capture/appcast.xml", validKey);
    ASSERT_TRUE(configuration);
    EXPECT_EQ(configuration->publicKey, QByteArray(32, 'k'));
    EXPECT_EQ(configuration->runningBuild, QList<quint64>{42});
    for (const char *feed : {"http://updates.example/feed", "https:///feed", "ftp://updates.example/feed", ""})
        EXPECT_FALSE(configured(feed, validKey)) << feed;
    for (const QString &key :
         {QString(QByteArray(31, 'k').toBase64()), QString(QByteArray(33, 'k').toBase64()), validKey + "!", QString()})
        EXPECT_FALSE(configured("https://updates.example/feed", key)) << key.toStdString();
    for (const char *build : {"", "1.0b2"})
        EXPECT_FALSE(configured("https://updates.example/feed", validKey, build)) << build;
}

TEST(BuildVersion, ComparesDottedNumbers)
{
    for (const auto &[left, right, order] :
         {std::tuple{"1.10", "1.9", 1}, {"1.0", "1", 0}, {"2", "10", -1}, {"1.0.1", "1", 1}, {"007", "7", 0}})
        EXPECT_EQ((compared(left, right) > 0) - (compared(left, right) < 0), order) << left << " " << right;
    for (const char *invalid : {"", "1.", ".1", "1..2", "1.0b", "-1", " 1", "1 2", "99999999999999999999"})
        EXPECT_FALSE(BuildVersion::parse(invalid)) << invalid;
}

TEST(Appcast, ReadsItemsAndRefusesOtherDocuments)
{
    const QByteArray feed = R"(<?xml version="1.0"?>
<rss version="2.0" xmlns:tavimo="urn:tavimo:appcast" xmlns:other="urn:other"><channel>
  <item><title>Five</title><other:version>99</other:version><tavimo:version>5</tavimo:version>
    <tavimo:shortVersionString>0.5.0</tavimo:shortVersionString>
    <enclosure url="https://updates.example/5" length="120" tavimo:edSignature="c2ln"/></item>
  <item><tavimo:version>6</tavimo:version><enclosure url="https://updates.example/6" length="many"/></item>
</channel></rss>)";
    const QList<AppcastItem> items = Appcast::parse(feed);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(QStringList({items[0].title, items[0].version, items[0].shortVersion, items[0].signature}),
              QStringList({"Five", "5", "0.5.0", "c2ln"}))
        << "only versions in the feed's own namespace count";
    EXPECT_EQ(items[0].url, QUrl("https://updates.example/5"));
    EXPECT_EQ(QList({items[0].length, items[1].length}), QList<qint64>({120, -1}));
    EXPECT_EQ(Appcast::newestUpdate(items, {5})->version, "6");
    EXPECT_FALSE(Appcast::newestUpdate(items, {6}));
    EXPECT_EQ(UpdateFixture::failureOf([&] { Appcast::validate(items[1]); }), UpdaterError::missingSignature);
    for (const QByteArray &document : {QByteArray("<html/>"), QByteArray("<rss><channel><item>"), QByteArray()})
        EXPECT_EQ(UpdateFixture::failureOf([&] { Appcast::parse(document); }), UpdaterError::invalidFeed)
            << document.constData();
}
