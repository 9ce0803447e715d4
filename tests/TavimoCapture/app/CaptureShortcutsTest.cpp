#include "CaptureShortcuts.h"
#include "X11GlobalHotKeys.h"

#include <gtest/gtest.h>

// Without an X11 display: the offscreen platform these tests run on.
class CaptureShortcutsWithoutX11 : public testing::Test {
protected:
    X11GlobalHotKeys hotKeys;
    CaptureShortcuts shortcuts{hotKeys};
    std::vector<CaptureMode> pressed;

    void SetUp() override
    {
        shortcuts.setOnPress([this](CaptureMode mode) { pressed.push_back(mode); });
    }
};

TEST_F(CaptureShortcutsWithoutX11, OneWarningAndNothingRegistered)
{
    EXPECT_FALSE(hotKeys.isSupported());
    EXPECT_EQ(hotKeys.registerHotKey(Qt::CTRL | Qt::SHIFT | Qt::Key_2, {CaptureShortcuts::signature, 1}),
              GlobalHotKeys::Status::unsupported);
    EXPECT_EQ(shortcuts.registerShortcuts(),
              QStringList{"Global shortcuts could not be registered. Use the menu bar commands."});
    shortcuts.unregisterShortcuts();
}

TEST_F(CaptureShortcutsWithoutX11, HandlesOnlyItsOwnIdentifiers)
{
    const quint32 capture = CaptureShortcuts::signature;
    for (quint32 id = 1; id <= 4; ++id)
        EXPECT_TRUE(shortcuts.handlePress({capture, id}));
    EXPECT_EQ(pressed,
              (std::vector{CaptureMode::area, CaptureMode::ocr, CaptureMode::screen, CaptureMode::allDisplays}));

    pressed.clear();
    for (const GlobalHotKeys::Identifier foreign :
         {GlobalHotKeys::Identifier{capture, 0}, {capture, 5}, {capture, 0xffffffff}, {capture + 1, 1}})
        EXPECT_FALSE(shortcuts.handlePress(foreign));
    EXPECT_TRUE(pressed.empty());

    CaptureShortcuts withoutCallback(hotKeys);
    EXPECT_TRUE(withoutCallback.handlePress({capture, 1}));
}
