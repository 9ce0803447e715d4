#include "CaptureMode.h"
#include "CaptureFailure.h"
#include "CaptureShortcuts.h"
#include "NativeKeyText.h"

#include <QKeySequence>

#include <gtest/gtest.h>

TEST(CaptureMode, RawValuesAndLabelsOfTheHotKeys)
{
    EXPECT_FALSE(captureModeFromRaw(0));
    EXPECT_FALSE(captureModeFromRaw(5));
    for (quint32 raw = 1; raw <= 4; ++raw)
        EXPECT_EQ(quint32(*captureModeFromRaw(raw)), raw);

    const std::pair<CaptureMode, QString> labels[] = {{CaptureMode::area, "Ctrl+Shift+2"},
                                                      {CaptureMode::ocr, "Ctrl+Shift+O"},
                                                      {CaptureMode::screen, "Ctrl+Shift+1"},
                                                      {CaptureMode::allDisplays, ""}};
    for (const auto &[mode, label] : labels) {
        EXPECT_EQ(shortcutLabel(mode), label);
        const std::optional<QKeyCombination> keys = CaptureShortcuts::hotKey(mode);
        EXPECT_EQ(keys ? nativeKeyText(QKeySequence(*keys)) : QString(), label);
    }
}

TEST(CaptureFailure, ThrownWithItsDescription)
{
    const CaptureError error(CaptureFailure::permission);
    EXPECT_EQ(error.description(), "The desktop refused the screenshot. Allow screenshots for Tavimo Capture in your "
                                   "desktop's settings and try again.");
    EXPECT_STREQ(error.what(), error.description().toUtf8().constData());
    EXPECT_EQ(description(CaptureFailure::failed), "The screen could not be read.");
    EXPECT_EQ(description(CaptureFailure::displaysTooLarge),
              "The connected displays exceed the 80-megapixel limit. Capture fewer displays separately.");
}
