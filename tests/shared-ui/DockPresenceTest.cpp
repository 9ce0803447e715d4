#include "DockPresence.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using Policy = ActivationPolicy::Policy;
using State = DockPresence::WindowState;

TEST(DockPresenceTest, RegularOnlyWhileAnOrdinaryForegroundWindowIsOnScreen)
{
    EXPECT_EQ(DockPresence::wantedPolicy({}), Policy::accessory);
    EXPECT_EQ(DockPresence::wantedPolicy({State{false, false, true}}), Policy::accessory);
    EXPECT_EQ(DockPresence::wantedPolicy({State{true, true, true}}), Policy::accessory);
    EXPECT_EQ(DockPresence::wantedPolicy({State{true, false, false}}), Policy::accessory);
    EXPECT_EQ(DockPresence::wantedPolicy({State{false, false, true}, State{true, false, true}}), Policy::regular);
}

TEST(DockPresenceTest, FollowsTheAppsWindowsOneTurnLater)
{
    ActivationPolicy policy;
    DockPresence presence(policy);
    QWidget panel(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    QWidget editor;
    editor.setWindowTitle("Editor");

    presence.start();
    panel.show();
    QTest::qWait(10);
    EXPECT_EQ(policy.policy(), Policy::accessory) << "floating panels never count";

    presence.prepareToShow();
    EXPECT_EQ(policy.policy(), Policy::regular);
    editor.show();
    editor.close();
    EXPECT_EQ(policy.policy(), Policy::regular) << "not while the close is still being processed";
    QTest::qWait(10);
    EXPECT_EQ(policy.policy(), Policy::accessory);

    editor.showMinimized();
    QTest::qWait(10);
    EXPECT_EQ(policy.policy(), Policy::regular);
    presence.didChooseBackground();
    EXPECT_EQ(policy.policy(), Policy::accessory);

    presence.registerEditorWindow(&panel);
    QTest::qWait(10);
    EXPECT_EQ(policy.policy(), Policy::regular);
}

} // namespace
