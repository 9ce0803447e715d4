#include "CaptureShortcuts.h"
#include "FakeDesktopPortal.h"
#include "PortalGlobalHotKeys.h"
#include "PrivateSessionBus.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QString unsupported = QStringLiteral("Global shortcuts could not be registered. Use the menu bar commands.");

class CaptureShortcutsPortalTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning() && portal.isServing());
        shortcuts.setOnPress([this](CaptureMode mode) { pressed.push_back(mode); });
        portal.script(QStringLiteral("CreateSession"), 0);
        portal.script(QStringLiteral("BindShortcuts"), 0);
    }

    // Registers and returns the warnings once the desktop has answered.
    QStringList registerAndWait()
    {
        QSignalSpy changes(&shortcuts, &CaptureShortcuts::warningsChanged);
        const qsizetype before = boundCalls();
        EXPECT_EQ(shortcuts.registerShortcuts(), QStringList());
        EXPECT_TRUE(QTest::qWaitFor([&] { return boundCalls() == before + 1; }, 5000));
        changes.wait(300);
        return shortcuts.warnings();
    }

    qsizetype boundCalls() const
    {
        return std::ranges::count(portal.calls(), QStringLiteral("BindShortcuts"), &FakeDesktopPortal::Call::method);
    }

    void activateAll()
    {
        for (const char *id : {"TCAP-1", "TCAP-2", "TCAP-3"})
            portal.activate(QString::fromLatin1(id));
        portal.activate(QStringLiteral("TCAP-1"), QStringLiteral("/org/freedesktop/portal/desktop/session/other"));
        portal.activate(QStringLiteral("TCAP-9"));
        QTest::qWait(300);
    }

    PrivateSessionBus bus;
    FakeDesktopPortal portal{bus.connect()};
    PortalGlobalHotKeys hotKeys{bus.connect(), 2s};
    CaptureShortcuts shortcuts{hotKeys};
    std::vector<CaptureMode> pressed;
};

} // namespace

TEST_F(CaptureShortcutsPortalTest, BoundKeysStartTheirCaptures)
{
    EXPECT_EQ(registerAndWait(), QStringList());
    const FakeDesktopPortal::Call bind = portal.calls().last();
    ASSERT_EQ(bind.shortcuts.size(), 3);
    const std::tuple<const char *, const char *, CaptureMode> expected[] = {
        {"TCAP-1", "CTRL+SHIFT+2", CaptureMode::area},
        {"TCAP-2", "CTRL+SHIFT+O", CaptureMode::ocr},
        {"TCAP-3", "CTRL+SHIFT+1", CaptureMode::screen}};
    for (qsizetype index = 0; index < 3; ++index) {
        const auto &[id, trigger, mode] = expected[index];
        EXPECT_EQ(bind.shortcuts[index].id, id);
        EXPECT_EQ(bind.shortcuts[index].properties.value("preferred_trigger"), trigger);
        EXPECT_EQ(bind.shortcuts[index].properties.value("description"), captureModeTitle(mode));
    }
    activateAll();
    EXPECT_EQ(pressed, (std::vector{CaptureMode::area, CaptureMode::ocr, CaptureMode::screen}));

    // Registering again binds the same three keys in the same session.
    pressed.clear();
    EXPECT_EQ(shortcuts.registerShortcuts(), QStringList());
    EXPECT_TRUE(QTest::qWaitFor([&] { return boundCalls() == 2; }, 5000));
    EXPECT_EQ(std::ranges::count(portal.calls(), QStringLiteral("CreateSession"), &FakeDesktopPortal::Call::method), 1);
    EXPECT_EQ(portal.calls().last().shortcuts.size(), 3);
    QTest::qWait(100);
    activateAll();
    EXPECT_EQ(pressed, (std::vector{CaptureMode::area, CaptureMode::ocr, CaptureMode::screen}));
}

TEST_F(CaptureShortcutsPortalTest, RefusedBindingsGiveTheirWarningLines)
{
    portal.refuseShortcut(QStringLiteral("TCAP-1"));
    EXPECT_EQ(registerAndWait(),
              QStringList{"Capture area or window: shortcut Ctrl+Shift+2 is unavailable. Use the menu bar command."});
    activateAll();
    EXPECT_EQ(pressed, (std::vector{CaptureMode::ocr, CaptureMode::screen}));

    portal.script(QStringLiteral("BindShortcuts"), 2);
    EXPECT_EQ(registerAndWait().size(), 3);
}

TEST_F(CaptureShortcutsPortalTest, WithoutThePortalTheDesktopsOwnShortcutsAreSuggested)
{
    PrivateSessionBus empty;
    PortalGlobalHotKeys lonely{empty.connect(), 2s};
    CaptureShortcuts alone{lonely};
    QSignalSpy changes(&alone, &CaptureShortcuts::warningsChanged);
    EXPECT_EQ(alone.registerShortcuts(), QStringList());
    ASSERT_TRUE(changes.wait(5000));
    const QStringList warnings = alone.warnings();
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_EQ(warnings[0], unsupported);
    EXPECT_TRUE(warnings[1].contains("tavimo-capture --area")) << warnings[1].toStdString();
}
