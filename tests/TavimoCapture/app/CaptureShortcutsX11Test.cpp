#include "CaptureShortcuts.h"
#include "TestX11Client.h"
#include "X11GlobalHotKeys.h"

#include <QCoreApplication>
#include <QTest>

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace {

constexpr int timeoutMs = 5000;

class CaptureShortcutsX11Test : public testing::Test {
protected:
    X11GlobalHotKeys hotKeys;
    CaptureShortcuts shortcuts{hotKeys};
    std::vector<CaptureMode> pressed;

    void SetUp() override
    {
        shortcuts.setOnPress([this](CaptureMode mode) { pressed.push_back(mode); });
    }

    // Presses `keys` and returns the modes reported for it.
    std::vector<CaptureMode> press(const QString &keys)
    {
        pressed.clear();
        EXPECT_TRUE(TestX11Client::press(keys));
        if (QTest::qWaitFor([this] { return !pressed.empty(); }, timeoutMs))
            QCoreApplication::processEvents();
        return pressed;
    }
};

} // namespace

TEST_F(CaptureShortcutsX11Test, KeysStartTheirCapturesAlsoWithNumLockOn)
{
    ASSERT_TRUE(shortcuts.registerShortcuts().isEmpty());
    EXPECT_EQ(press("ctrl+shift+2"), std::vector{CaptureMode::area});
    EXPECT_EQ(press("ctrl+shift+o"), std::vector{CaptureMode::ocr});
    EXPECT_EQ(press("ctrl+shift+1"), std::vector{CaptureMode::screen});

    TestX11Client observer;
    const uint16_t unlocked = observer.modifierState();
    ASSERT_TRUE(TestX11Client::press("Num_Lock"));
    ASSERT_NE(observer.modifierState(), unlocked);
    EXPECT_EQ(press("ctrl+shift+2"), std::vector{CaptureMode::area});
}

TEST_F(CaptureShortcutsX11Test, KeyHeldByAnotherProgramIsReportedAndTheOthersWork)
{
    TestX11Client rival;
    ASSERT_TRUE(rival.grabKey(XK_2, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
    EXPECT_EQ(shortcuts.registerShortcuts(),
              QStringList{"Capture area or window: shortcut Ctrl+Shift+2 is unavailable. Use the menu bar command."});
    EXPECT_EQ(press("ctrl+shift+o"), std::vector{CaptureMode::ocr});
    EXPECT_EQ(press("ctrl+shift+1"), std::vector{CaptureMode::screen});
}

TEST_F(CaptureShortcutsX11Test, RegisteringTwiceHoldsEachKeyOnceAndUnregisteringFreesThem)
{
    ASSERT_TRUE(shortcuts.registerShortcuts().isEmpty());
    ASSERT_TRUE(shortcuts.registerShortcuts().isEmpty());
    EXPECT_EQ(press("ctrl+shift+2"), std::vector{CaptureMode::area});

    shortcuts.unregisterShortcuts();
    pressed.clear();
    TestX11Client other;
    ASSERT_TRUE(other.grabKey(XK_2, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
    EXPECT_TRUE(other.grabKey(XK_o, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
    EXPECT_TRUE(other.grabKey(XK_1, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
    ASSERT_TRUE(TestX11Client::press("ctrl+shift+2"));
    EXPECT_TRUE(other.waitForKeyPress(XK_2, timeoutMs));
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.empty());
}
