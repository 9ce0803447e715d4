#include "AppSignalContext.h"
#include "BundleInfo.h"
#include "MoxterConfiguration.h"
#include "TavimoEvent.h"
#include "TelemetryPreferences.h"
#include "UserDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr quint64 gibibyte = quint64(1) << 30;

TEST(TavimoEventTest, NamesOnTheWireReadBack)
{
    QStringList names;
    for (const TavimoEvent event : allTavimoEvents) {
        names << rawValue(event);
        EXPECT_EQ(tavimoEventFromRawValue(rawValue(event)), event);
    }
    EXPECT_EQ(names, QStringList({"app.opened", "capture.area", "capture.screen", "capture.ocr", "capture.editor",
                                  "capture.export", "update.found", "update.downloaded", "update.installed",
                                  "update.failed", "app.uncleanexit"}));
    for (const char *unknown : {"App.opened", "capture.pin", ""})
        EXPECT_FALSE(tavimoEventFromRawValue(unknown)) << unknown;
}

TEST(MoxterConfigurationTest, AcceptsOnlyAPlainHttpsEndpointAndASingleLineKey)
{
    EXPECT_TRUE(MoxterConfiguration::make("https://moxter.example/api", "key"));
    EXPECT_TRUE(MoxterConfiguration::make("https://127.0.0.1:8443/", "k e y"));
    for (const char *endpoint :
         {"http://moxter.example/", "https:///path", "https://moxter.example/?a=1", "https://moxter.example/?",
          "https://moxter.example/#top", "https://user@moxter.example/", "https://:secret@moxter.example/",
          "moxter.example", ""})
        EXPECT_FALSE(MoxterConfiguration::make(endpoint, "key")) << endpoint;
    for (const char *key : {"", "key\n", "key\r\nX-Other: 1"})
        EXPECT_FALSE(MoxterConfiguration::make("https://moxter.example/", key)) << key;
}

TEST(MoxterConfigurationTest, ReadsTheBundleAndAppendsPathsWithoutDoubleSlashes)
{
    const auto configuration = MoxterConfiguration::fromBundle(
        BundleInfo({{"TavimoMoxterEndpoint", "https://moxter.example"}, {"TavimoMoxterKey", "secret"}}));
    ASSERT_TRUE(configuration);
    EXPECT_EQ(configuration->key(), "secret");
    EXPECT_EQ(configuration->url("v1/events").toString(), "https://moxter.example/v1/events");
    EXPECT_EQ(MoxterConfiguration::make("https://moxter.example/api/", "k")->url("v1/feedback").toString(),
              "https://moxter.example/api/v1/feedback");
}

TEST(AppSignalContextTest, MemoryClassesAndKernelVersions)
{
    for (const auto &[bytes, memoryClass] : {std::pair{9 * gibibyte - 1, "up_to_8GB"},
                                             {9 * gibibyte, "up_to_16GB"},
                                             {17 * gibibyte - 1, "up_to_16GB"},
                                             {17 * gibibyte, "up_to_32GB"},
                                             {33 * gibibyte - 1, "up_to_32GB"},
                                             {33 * gibibyte, "over_32GB"}})
        EXPECT_EQ(AppSignalContext::memoryClassFor(bytes), memoryClass) << bytes;
    for (const auto &[release, triple] :
         {std::pair{"6.1.0-18-amd64", "6.1.0"}, {"5.15", "5.15.0"}, {"06.01.2", "6.1.2"}, {"unknown", "0.0.0"}})
        EXPECT_EQ(AppSignalContext::versionTriple(release), triple) << release;
}

TEST(TelemetryPreferencesTest, ChoicesDefaultToOnAndOddValuesReadAsOff)
{
    QTemporaryDir folder;
    UserDefaults defaults(folder.filePath("defaults.json"));
    TelemetryPreferences preferences = TelemetryPreferences::load(defaults);
    EXPECT_TRUE(preferences.usage && preferences.city && preferences.effectiveCity());
    // The keys earlier releases stored the user's choices under.
    defaults.setValue("tavimo.usageConsent.v1", false);
    defaults.setValue("tavimo.cityConsent.v1", "yes");
    preferences = TelemetryPreferences::load(defaults);
    EXPECT_FALSE(preferences.usage || preferences.city);
    defaults.setValue("tavimo.usageConsent.v1", 1);
    defaults.setValue("tavimo.cityConsent.v1", true);
    preferences = TelemetryPreferences::load(defaults);
    EXPECT_FALSE(preferences.usage);
    EXPECT_TRUE(preferences.city);
    EXPECT_FALSE(preferences.effectiveCity());
}

} // namespace
