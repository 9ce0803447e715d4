#include "BundleInfo.h"

#include <gtest/gtest.h>

TEST(BundleInfo, BuildValuesNameTheAppAndMissingKeysAreEmpty)
{
    const BundleInfo &info = BundleInfo::main();
    EXPECT_EQ(info.value("CFBundleDisplayName"), "Tavimo Capture");
    EXPECT_FALSE(info.value("CFBundleVersion").isEmpty());

    const BundleInfo injected({{"SUFeedURL", "https://example.invalid/feed.xml"}});
    EXPECT_EQ(injected.value("SUFeedURL"), "https://example.invalid/feed.xml");
    EXPECT_TRUE(injected.value("TavimoMoxterKey").isEmpty());
    EXPECT_FALSE(injected.contains("TavimoMoxterKey"));
}
