#include "X11GlobalHotKeys.h"
#include "TestX11Client.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace {

using Identifier = GlobalHotKeys::Identifier;
using Status = GlobalHotKeys::Status;

constexpr Identifier area{GlobalHotKeys::fourCharCode("TCAP"), 1};
constexpr quint32 thumbnailSignature = GlobalHotKeys::fourCharCode("TCTH");
constexpr QKeyCombination altE = Qt::ALT | Qt::Key_E;

class X11GlobalHotKeysTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(hotKeys.isSupported() && rival.isConnected()); }

    // The one identifier reported for a press of `keys`.
    std::optional<Identifier> pressAndWait(const QString &keys)
    {
        presses.clear();
        if (!TestX11Client::press(keys) || !presses.wait(5000))
            return std::nullopt;
        QCoreApplication::processEvents();
        EXPECT_EQ(presses.count(), 1) << keys.toStdString();
        return presses.first().first().value<Identifier>();
    }

    X11GlobalHotKeys hotKeys;
    QSignalSpy presses{&hotKeys, &GlobalHotKeys::pressed};
    TestX11Client rival;
};

} // namespace

TEST_F(X11GlobalHotKeysTest, OwnersSideBySideAlsoWithCapsLockAndRegisteringAgain)
{
    const Identifier thumbnail{thumbnailSignature, 1};
    ASSERT_EQ(hotKeys.registerHotKey(altE, thumbnail, QString()), Status::registered);
    EXPECT_EQ(hotKeys.registerHotKey(altE, area, QString()), Status::taken);
    ASSERT_EQ(hotKeys.registerHotKey(Qt::CTRL | Qt::SHIFT | Qt::Key_2, area, QString()), Status::registered);
    EXPECT_EQ(pressAndWait("alt+e"), thumbnail);

    const uint16_t unlocked = rival.modifierState();
    ASSERT_TRUE(TestX11Client::press("Caps_Lock"));
    ASSERT_NE(rival.modifierState(), unlocked);
    EXPECT_EQ(pressAndWait("alt+e"), thumbnail);
    EXPECT_EQ(pressAndWait("ctrl+shift+2"), area);

    // The same identifier with other keys lets go of the old ones.
    ASSERT_EQ(hotKeys.registerHotKey(Qt::Key_E, thumbnail, QString()), Status::registered);
    EXPECT_TRUE(rival.grabKey(XK_e, XCB_MOD_MASK_1));
    EXPECT_EQ(pressAndWait("e"), thumbnail);
    EXPECT_EQ(hotKeys.registerHotKey(Qt::Key_F35, thumbnail, QString()), Status::noSuchKey);
}

TEST_F(X11GlobalHotKeysTest, RefusedForOneLockCombinationKeepsNoneOfTheOthers)
{
    TestX11Client numLockRival;
    ASSERT_TRUE(numLockRival.grabKey(XK_e, XCB_MOD_MASK_1 | XCB_MOD_MASK_2));
    EXPECT_EQ(hotKeys.registerHotKey(altE, {thumbnailSignature, 1}, QString()), Status::taken);
    EXPECT_TRUE(rival.grabKey(XK_e, XCB_MOD_MASK_1));
    EXPECT_TRUE(rival.grabKey(XK_e, XCB_MOD_MASK_1 | XCB_MOD_MASK_LOCK));
}

TEST_F(X11GlobalHotKeysTest, ALayoutChangeTakesTheKeysAgainOnTheirNewKeyCodes)
{
    const auto remap = [](const QString &from, const QString &to) {
        return QProcess::execute("xmodmap",
                                 {"-e", "keycode " + from + " = NoSymbol", "-e", "keycode " + to + " = 2 at"}) == 0;
    };
    ASSERT_EQ(hotKeys.registerHotKey(Qt::CTRL | Qt::SHIFT | Qt::Key_2, area, QString()), Status::registered);
    const int defaultKeycode = 11;
    const int movedKeycode = 200;
    ASSERT_TRUE(remap(QString::number(defaultKeycode), QString::number(movedKeycode)));
    QTest::qWait(500);
    EXPECT_EQ(pressAndWait("ctrl+shift+2"), area) << "the key where the new layout puts it";
    ASSERT_TRUE(remap(QString::number(movedKeycode), QString::number(defaultKeycode)));
    QTest::qWait(500);
    EXPECT_EQ(pressAndWait("ctrl+shift+2"), area) << "and back";
}
