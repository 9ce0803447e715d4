#include "BundleInfo.h"

#include <gtest/gtest.h>

TEST(BundleInfo, BuildValuesNameTheApp)
{
    const BundleInfo &info = BundleInfo::main();
    EXPECT_EQ(info.value("CFBundleIdentifier"), "local.tavimo.capture");
    EXPECT_EQ(info.value("CFBundleShortVersionString"), "0.4.0");
    EXPECT_EQ(info.value("CFBundleDisplayName"), "Tavimo Capture");
    EXPECT_FALSE(info.value("CFBundleVersion").isEmpty());
    for (const char *key :
         {"TavimoMoxterEndpoint", "TavimoMoxterKey", "SUFeedURL", "SUPublicEDKey", "TavimoReviewLibrary"})
        EXPECT_TRUE(info.contains(key)) << key;
}

TEST(BundleInfo, InjectedValuesAndMissingKeys)
{
    const BundleInfo info({{"SUFeedURL", "https://example.invalid/feed.xml"}});
    EXPECT_EQ(info.value("SUFeedURL"), "https://example.invalid/feed.xml");
    EXPECT_TRUE(info.value("TavimoMoxterKey").isEmpty());
    EXPECT_FALSE(info.contains("TavimoMoxterKey"));
}
