#include "BundleInfo.h"

#include <gtest/gtest.h>

TEST(BundleInfo, BuildValuesNameTheAppAndMissingKeysAreEmpty)
{
    const BundleInfo &info = BundleInfo::main();
    EXPECT_EQ(info.value("CFBundleIdentifier"), "local.tavimo.capture");
    EXPECT_EQ(info.value("CFBundleShortVersionString"), "0.4.0");
    EXPECT_EQ(info.value("CFBundleDisplayName"), "Tavimo Capture");
    EXPECT_FALSE(info.value("CFBundleVersion").isEmpty());
    for (const char *key :
         {"TavimoMoxterEndpoint", "TavimoMoxterKey", "SUFeedURL", "SUPublicEDKey", "TavimoReviewLibrary"})
        EXPECT_TRUE(info.contains(key)) << key;

    const BundleInfo injected({{"SUFeedURL", "https://example.invalid/feed.xml"}});
    EXPECT_EQ(injected.value("SUFeedURL"), "https://example.invalid/feed.xml");
    EXPECT_TRUE(injected.value("TavimoMoxterKey").isEmpty());
    EXPECT_FALSE(injected.contains("TavimoMoxterKey"));
}
