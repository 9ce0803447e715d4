#include "CaptureShortcuts.h"
#include "TestX11Client.h"
#include "X11GlobalHotKeys.h"

#include <QCoreApplication>
#include <QTest>

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace {

constexpr uint16_t ctrlShift = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;

class CaptureShortcutsX11Test : public testing::Test {
protected:
    void SetUp() override
    {
        shortcuts.setOnPress([this](CaptureMode mode) { pressed.push_back(mode); });
    }

    std::vector<CaptureMode> press(const QString &keys)
    {
        pressed.clear();
        EXPECT_TRUE(TestX11Client::press(keys));
        if (QTest::qWaitFor([this] { return !pressed.empty(); }, 5000))
            QCoreApplication::processEvents();
        return pressed;
    }

    X11GlobalHotKeys hotKeys;
    CaptureShortcuts shortcuts{hotKeys};
    std::vector<CaptureMode> pressed;
};

} // namespace

TEST_F(CaptureShortcutsX11Test, KeysStartTheirCapturesAndUnregisteringFreesEveryGrab)
{
    ASSERT_TRUE(shortcuts.registerShortcuts().isEmpty());
    ASSERT_TRUE(shortcuts.registerShortcuts().isEmpty());
    EXPECT_EQ(press("ctrl+shift+2"), std::vector{CaptureMode::area});
    EXPECT_EQ(press("ctrl+shift+o"), std::vector{CaptureMode::ocr});
    EXPECT_EQ(press("ctrl+shift+1"), std::vector{CaptureMode::screen});

    // Every grab, also of the lock combinations and the second registration, is let go.
    shortcuts.unregisterShortcuts();
    pressed.clear();
    TestX11Client other;
    const uint16_t lockCombinations[] = {0, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2 | XCB_MOD_MASK_LOCK};
    for (const xcb_keysym_t key : {XK_2, XK_o, XK_1})
        for (const uint16_t locks : lockCombinations)
            EXPECT_TRUE(other.grabKey(key, uint16_t(ctrlShift | locks))) << key << " " << locks;
    ASSERT_TRUE(TestX11Client::press("ctrl+shift+2"));
    EXPECT_TRUE(other.waitForKeyPress(XK_2, 5000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(pressed.empty());
}

TEST_F(CaptureShortcutsX11Test, KeyHeldByAnotherProgramIsReportedAndTheOthersWork)
{
    TestX11Client rival;
    ASSERT_TRUE(rival.grabKey(XK_2, ctrlShift));
    EXPECT_EQ(shortcuts.registerShortcuts(),
              QStringList{"Capture area or window: shortcut Ctrl+Shift+2 is unavailable. Use the menu bar command."});
    EXPECT_EQ(press("ctrl+shift+o"), std::vector{CaptureMode::ocr});
    EXPECT_EQ(press("ctrl+shift+1"), std::vector{CaptureMode::screen});
}
