#include "CaptureShortcuts.h"
#include "NativeKeyText.h"
#include "X11GlobalHotKeys.h"

#include <QKeySequence>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using Identifier = GlobalHotKeys::Identifier;

constexpr quint32 capture = CaptureShortcuts::signature;
constexpr quint32 thumbnail = GlobalHotKeys::fourCharCode("TCTH");

// Hot keys of a desktop where `taken` belongs to another program.
class FakeHotKeys : public GlobalHotKeys {
public:
    std::map<std::pair<quint32, quint32>, QKeyCombination> held;
    std::set<int> taken;

    bool isSupported() const override { return true; }
    Status registerHotKey(QKeyCombination keys, Identifier identifier) override
    {
        unregisterHotKey(identifier);
        if (taken.contains(keys.toCombined()))
            return Status::taken;
        held.emplace(std::pair(identifier.signature, identifier.id), keys);
        return Status::registered;
    }
    void unregisterHotKey(Identifier identifier) override { held.erase({identifier.signature, identifier.id}); }
};

class CaptureShortcutsTest : public testing::Test {
protected:
    FakeHotKeys hotKeys;
    CaptureShortcuts shortcuts{hotKeys};
    std::vector<CaptureMode> pressed;

    void SetUp() override
    {
        shortcuts.setOnPress([this](CaptureMode mode) { pressed.push_back(mode); });
    }
};

} // namespace

TEST_F(CaptureShortcutsTest, RegistersTheThreeCaptureKeys)
{
    EXPECT_TRUE(shortcuts.registerShortcuts().isEmpty());
    const std::map<std::pair<quint32, quint32>, QKeyCombination> expected{
        {{capture, 1}, Qt::CTRL | Qt::SHIFT | Qt::Key_2},
        {{capture, 2}, Qt::CTRL | Qt::SHIFT | Qt::Key_O},
        {{capture, 3}, Qt::CTRL | Qt::SHIFT | Qt::Key_1},
    };
    EXPECT_EQ(hotKeys.held, expected);
    for (const CaptureMode mode : allCaptureModes) {
        const std::optional<QKeyCombination> keys = CaptureShortcuts::hotKey(mode);
        EXPECT_EQ(keys ? nativeKeyText(QKeySequence(*keys)) : QString(), shortcutLabel(mode));
    }

    EXPECT_TRUE(shortcuts.registerShortcuts().isEmpty());
    EXPECT_EQ(hotKeys.held.size(), 3u);

    emit hotKeys.pressed({capture, 3});
    EXPECT_EQ(pressed, std::vector{CaptureMode::screen});

    shortcuts.unregisterShortcuts();
    EXPECT_TRUE(hotKeys.held.empty());
    emit hotKeys.pressed({capture, 3});
    EXPECT_EQ(pressed.size(), 1u);
}

TEST_F(CaptureShortcutsTest, KeyTakenElsewhereGivesOneWarningAndTheOthersStay)
{
    hotKeys.taken.insert((Qt::CTRL | Qt::SHIFT | Qt::Key_2).toCombined());
    EXPECT_EQ(shortcuts.registerShortcuts(),
              QStringList{"Capture area or window: shortcut Ctrl+Shift+2 is unavailable. Use the menu bar command."});
    EXPECT_EQ(hotKeys.held.size(), 2u);

    hotKeys.taken.insert((Qt::CTRL | Qt::SHIFT | Qt::Key_1).toCombined());
    EXPECT_EQ(shortcuts.registerShortcuts(),
              (QStringList{"Capture area or window: shortcut Ctrl+Shift+2 is unavailable. Use the menu bar command.",
                           "Capture main display: shortcut Ctrl+Shift+1 is unavailable. Use the menu bar command."}));
    EXPECT_EQ(hotKeys.held.size(), 1u);
}

TEST_F(CaptureShortcutsTest, HandlesOnlyItsOwnIdentifiers)
{
    for (quint32 id = 1; id <= 4; ++id)
        EXPECT_TRUE(shortcuts.handlePress({capture, id}));
    EXPECT_EQ(pressed,
              (std::vector{CaptureMode::area, CaptureMode::ocr, CaptureMode::screen, CaptureMode::allDisplays}));

    pressed.clear();
    EXPECT_FALSE(shortcuts.handlePress({capture, 0}));
    EXPECT_FALSE(shortcuts.handlePress({capture, 5}));
    EXPECT_FALSE(shortcuts.handlePress({capture, 0xffffffff}));
    EXPECT_FALSE(shortcuts.handlePress({thumbnail, 1}));
    EXPECT_TRUE(pressed.empty());

    CaptureShortcuts withoutCallback(hotKeys);
    EXPECT_TRUE(withoutCallback.handlePress({capture, 1}));
}

TEST(CaptureShortcutsWithoutX11, OneWarningAndNothingRegistered)
{
    X11GlobalHotKeys hotKeys;
    CaptureShortcuts shortcuts(hotKeys);
    EXPECT_EQ(shortcuts.registerShortcuts(),
              QStringList{"Global shortcuts could not be registered. Use the menu bar commands."});
    shortcuts.unregisterShortcuts();
}
