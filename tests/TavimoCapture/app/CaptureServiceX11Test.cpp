#include "CaptureService.h"
#include "FutureWait.h"
#include "X11PatternWindow.h"
#include "X11ScreenGrabber.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QRect windowArea(200, 120, 320, 240);
const QSize displaySize(1280, 800);

void xdotool(const QStringList &arguments)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
}

class CaptureServiceX11Test : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_screen);
        ASSERT_TRUE(m_window.showOn(*m_screen));
    }

    std::unique_ptr<X11ScreenGrabber> m_screen = X11ScreenGrabber::connect();
    X11PatternWindow m_window{windowArea};
    CaptureService m_service;
};

TEST_F(CaptureServiceX11Test, AllDisplaysGrabsWhatTheScreenShows)
{
    const QList<CaptureDisplayImage> displays = resultOf(m_service.captureAllDisplays());
    ASSERT_EQ(displays.size(), 1);
    EXPECT_EQ(displays[0].logicalSize, QSizeF(displaySize));
    EXPECT_EQ(displays[0].pixelSize, QSizeF(displaySize));
    EXPECT_EQ(displays[0].image.copy(windowArea).convertToFormat(QImage::Format_RGB32), m_window.pattern());
    // X leaves the padding byte of each pixel unset; drawn, the image must still be opaque.
    const QImage painted = [&] {
        QImage canvas(8, 8, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter(&canvas).drawImage(0, 0, displays[0].image, 600, 500, 8, 8);
        return canvas;
    }();
    EXPECT_EQ(qAlpha(painted.pixel(3, 3)), 255);
}

TEST_F(CaptureServiceX11Test, MainDisplayThroughTheScreenshotTool)
{
    const std::optional<QImage> image = resultOf(m_service.capture(CaptureMode::screen));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), displaySize);
    EXPECT_EQ(image->copy(windowArea).convertToFormat(QImage::Format_RGB32), m_window.pattern());
}

TEST_F(CaptureServiceX11Test, HeldShiftDelaysTheCaptureUntilReleased)
{
    xdotool({"keydown", "shift"});
    QTimer::singleShot(400, [] { xdotool({"keyup", "shift"}); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(resultOf(m_service.waitForModifierRelease()), CaptureService::ModifierRelease::released);
    EXPECT_GE(clock.elapsed(), 400 + 200);
}

TEST_F(CaptureServiceX11Test, ShiftHeldPastFiveSecondsGivesUp)
{
    xdotool({"keydown", "shift"});
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(resultOf(m_service.waitForModifierRelease()), CaptureService::ModifierRelease::modifiersHeld);
    EXPECT_GE(clock.elapsed(), 5000);
    EXPECT_LT(clock.elapsed(), 5500);
    xdotool({"keyup", "shift"});
}

} // namespace
