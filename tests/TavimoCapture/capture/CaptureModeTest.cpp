#include "CaptureMode.h"
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
