#include "CaptureService.h"
#include "FutureWait.h"
#include "TestX11Client.h"
#include "X11PatternWindow.h"
#include "X11ScreenGrabber.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(CaptureServiceX11, AllDisplaysGrabsWhatTheScreenShows)
{
    const QRect windowArea(200, 120, 320, 240);
    const std::unique_ptr<X11ScreenGrabber> screen = X11ScreenGrabber::connect();
    X11PatternWindow window(windowArea);
    ASSERT_TRUE(screen && window.showOn(*screen));
    const QList<CaptureDisplayImage> displays = resultOf(CaptureService().captureAllDisplays());
    ASSERT_EQ(displays.size(), 1);
    EXPECT_EQ(displays[0].logicalSize, QSizeF(1280, 800));
    EXPECT_EQ(displays[0].pixelSize, QSizeF(1280, 800));
    EXPECT_EQ(displays[0].image.copy(windowArea).convertToFormat(QImage::Format_RGB32), window.pattern());
    // X leaves the padding byte of each pixel unset; drawn, the image must still be opaque.
    QImage canvas(8, 8, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter(&canvas).drawImage(0, 0, displays[0].image, 600, 500, 8, 8);
    EXPECT_EQ(qAlpha(canvas.pixel(3, 3)), 255);
}

TEST(CaptureServiceX11, HeldShiftDelaysTheCaptureAndPastFiveSecondsGivesUp)
{
    CaptureService service;
    ASSERT_TRUE(TestX11Client::xdotool({"keydown", "shift"}));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(resultOf(service.waitForModifierRelease()), CaptureService::ModifierRelease::modifiersHeld);
    EXPECT_GE(clock.elapsed(), 5000);
    EXPECT_LT(clock.elapsed(), 5500);

    QTimer::singleShot(400, [] { EXPECT_TRUE(TestX11Client::xdotool({"keyup", "shift"})); });
    clock.restart();
    EXPECT_EQ(resultOf(service.waitForModifierRelease()), CaptureService::ModifierRelease::released);
    EXPECT_GE(clock.elapsed(), 400 + 200);
}

} // namespace
