#include "CaptureService.h"
#include "DesktopGlobalHotKeys.h"
#include "FakeDesktopPortal.h"
#include "FutureWait.h"
#include "PortalGlobalHotKeys.h"
#include "PrivateSessionBus.h"
#include "SelectionOverlay.h"
#include "SessionType.h"
#include "X11GlobalHotKeys.h"

#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

const char *const sessionVariables[] = {"TAVIMO_SESSION_TYPE", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE",
                                        "DBUS_SESSION_BUS_ADDRESS"};

// Sets the session's variables for one test and gives the old ones back.
class SessionBackendTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : sessionVariables)
            if (qEnvironmentVariableIsSet(name))
                m_saved.insert(name, qgetenv(name));
        clearVariables();
    }

    void TearDown() override
    {
        clearVariables();
        for (const auto &[name, value] : m_saved.asKeyValueRange())
            qputenv(name.constData(), value);
    }

    static void clearVariables()
    {
        for (const char *name : sessionVariables)
            qunsetenv(name);
    }

    QMap<QByteArray, QByteArray> m_saved;
};

} // namespace

TEST_F(SessionBackendTest, SessionTypeFromTheEnvironmentOrForced)
{
    using Variables = QList<std::pair<const char *, const char *>>;
    const std::pair<Variables, SessionType> cases[] = {
        {{}, SessionType::x11},
        {{{"XDG_SESSION_TYPE", "x11"}}, SessionType::x11},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, SessionType::wayland},
        {{{"XDG_SESSION_TYPE", "wayland"}}, SessionType::wayland},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"TAVIMO_SESSION_TYPE", "x11"}}, SessionType::x11},
        {{{"TAVIMO_SESSION_TYPE", "wayland"}}, SessionType::wayland},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"TAVIMO_SESSION_TYPE", "mir"}}, SessionType::wayland},
    };
    for (const auto &[variables, expected] : cases) {
        clearVariables();
        for (const auto &[name, value] : variables)
            qputenv(name, value);
        EXPECT_EQ(currentSessionType(), expected) << variables.size();
    }
    qputenv("TAVIMO_SESSION_TYPE", "x11");
    EXPECT_NE(dynamic_cast<X11GlobalHotKeys *>(desktopGlobalHotKeys().get()), nullptr);
}

TEST_F(SessionBackendTest, WaylandCapturesAndKeysGoToTheSessionPortal)
{
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeDesktopPortal portal{bus.connect()};
    QTemporaryDir folder;
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(folder.filePath("shot.png")));
    portal.script("Screenshot", 0, {{"uri", QUrl::fromLocalFile(folder.filePath("shot.png")).toString()}});
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
    qputenv("WAYLAND_DISPLAY", "wayland-0");

    CaptureService service;
    QFuture<std::optional<QImage>> capture = service.capture(CaptureMode::area);
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.pictureSelection() != nullptr; }, 10000));
    service.pictureSelection()->press(QPoint(0, 0), Qt::LeftButton);
    service.pictureSelection()->move(QPoint(5, 5));
    service.pictureSelection()->release(QPoint(5, 5), Qt::LeftButton);
    const std::optional<QImage> image = resultOf(capture);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(portal.calls().size(), 1);
    EXPECT_NE(dynamic_cast<PortalGlobalHotKeys *>(desktopGlobalHotKeys().get()), nullptr);
    QDBusConnection::disconnectFromBus(QDBusConnection::sessionBus().name());
}
