#include "CaptureShortcuts.h"
#include "X11GlobalHotKeys.h"

#include <gtest/gtest.h>

// Without an X11 display: the offscreen platform these tests run on.
class CaptureShortcutsWithoutX11 : public testing::Test {
protected:
    void SetUp() override
    {
        shortcuts.setOnPress([this](CaptureMode mode) { pressed.push_back(mode); });
    }

    X11GlobalHotKeys hotKeys;
    CaptureShortcuts shortcuts{hotKeys};
    std::vector<CaptureMode> pressed;
};

TEST_F(CaptureShortcutsWithoutX11, OneWarningAndOnlyItsOwnIdentifiersHandled)
{
    EXPECT_EQ(shortcuts.registerShortcuts(),
              QStringList{"Global shortcuts could not be registered. Use the menu bar commands."});
    shortcuts.unregisterShortcuts();

    const quint32 capture = CaptureShortcuts::signature;
    for (const GlobalHotKeys::Identifier foreign :
         {GlobalHotKeys::Identifier{capture, 0}, {capture, 5}, {capture, 0xffffffff}, {capture + 1, 1}})
        EXPECT_FALSE(shortcuts.handlePress(foreign));
    for (quint32 id = 1; id <= 4; ++id)
        EXPECT_TRUE(shortcuts.handlePress({capture, id}));
    EXPECT_EQ(pressed,
              (std::vector{CaptureMode::area, CaptureMode::ocr, CaptureMode::screen, CaptureMode::allDisplays}));
    EXPECT_TRUE(CaptureShortcuts(hotKeys).handlePress({capture, 1}));
}
