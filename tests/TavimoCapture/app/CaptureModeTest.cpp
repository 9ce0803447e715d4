#include "CaptureMode.h"
#include "CaptureFailure.h"

#include <gtest/gtest.h>

TEST(CaptureMode, RawValuesAndLabels)
{
    EXPECT_FALSE(captureModeFromRaw(0));
    EXPECT_FALSE(captureModeFromRaw(5));
    for (quint32 raw = 1; raw <= 4; ++raw)
        EXPECT_EQ(quint32(*captureModeFromRaw(raw)), raw);

    EXPECT_EQ(shortcutLabel(CaptureMode::area), "Ctrl+Shift+2");
    EXPECT_EQ(shortcutLabel(CaptureMode::ocr), "Ctrl+Shift+O");
    EXPECT_EQ(shortcutLabel(CaptureMode::screen), "Ctrl+Shift+1");
    EXPECT_EQ(shortcutLabel(CaptureMode::allDisplays), "");
    EXPECT_TRUE(isInteractive(CaptureMode::area));
    EXPECT_TRUE(isInteractive(CaptureMode::ocr));
    EXPECT_FALSE(isInteractive(CaptureMode::screen));
    EXPECT_FALSE(isInteractive(CaptureMode::allDisplays));
}

TEST(CaptureFailure, ThrownWithItsDescription)
{
    try {
        throw CaptureError(CaptureFailure::permission);
    } catch (const CaptureError &error) {
        EXPECT_EQ(error.code(), CaptureFailure::permission);
        EXPECT_EQ(error.description(),
                  "Allow Tavimo Capture to take screenshots when your desktop asks, then try again.");
        EXPECT_STREQ(error.what(), error.description().toUtf8().constData());
    }
    EXPECT_EQ(description(CaptureFailure::displaysTooLarge),
              "The connected displays exceed the 80-megapixel limit. Capture fewer displays separately.");
}
