#include "CaptureDisplayAssembly.h"
#include "CaptureFailure.h"
#include "CaptureService.h"
#include "FutureWait.h"
#include "ScriptedScreenGrabber.h"

#include <gtest/gtest.h>

namespace {

class CaptureServiceDisplaysTest : public testing::Test {
protected:
    CaptureFailure failure() { return failureOf<CaptureError>(service.captureAllDisplays()).code(); }

    ScriptedDesktop desktop;
    CaptureService service{[this] {
        return std::make_unique<ScriptedScreenGrabber>(desktop);
    }};
};

TEST_F(CaptureServiceDisplaysTest, OneImagePerDisplayInIdentifierOrder)
{
    desktop.monitors = {{70, QRect(0, 0, 2560, 1440), true},
                        {30, QRect(2560, 0, 1920, 1080), false},
                        {50, QRect(-1280, 200, 1280, 1024), false}};
    const QList<CaptureDisplayImage> displays = resultOf(service.captureAllDisplays());
    const QList<QRect> expectedOrder{desktop.monitors[1].geometry, desktop.monitors[2].geometry,
                                     desktop.monitors[0].geometry};
    ASSERT_EQ(displays.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QRect &frame = expectedOrder[i];
        EXPECT_EQ(displays[i].logicalSize, QSizeF(frame.size()));
        EXPECT_EQ(displays[i].pixelSize, QSizeF(displays[i].image.size()));
        EXPECT_EQ(displays[i].image.pixelColor(0, 0), QColor::fromRgb(frame.x() % 256, frame.y() % 256, 7));
    }
}

TEST_F(CaptureServiceDisplaysTest, PixelLimitIsCheckedBeforeAnyGrabAndAnyFailureFailsTheWhole)
{
    desktop.monitors = {{1, QRect(0, 0, 10000, 8000), true}};
    EXPECT_EQ(resultOf(service.captureAllDisplays()).size(), 1);

    desktop.grabbed.clear();
    desktop.monitors.append({2, QRect(10000, 0, 1, 1), false});
    EXPECT_EQ(failure(), CaptureFailure::displaysTooLarge);
    desktop.monitors = {{1, QRect(0, 0, 0, 0), true}};
    EXPECT_EQ(failure(), CaptureFailure::displaysTooLarge);
    desktop.monitors = {};
    EXPECT_EQ(failure(), CaptureFailure::failed);
    EXPECT_TRUE(desktop.grabbed.isEmpty());

    desktop.monitors = {{1, QRect(0, 0, 100, 100), true}, {2, QRect(100, 0, 100, 100), false}};
    desktop.failGrabs = true;
    EXPECT_EQ(failure(), CaptureFailure::failed);
    CaptureService withoutScreen([] { return std::unique_ptr<ScreenGrabber>(); });
    EXPECT_EQ(failureOf<CaptureError>(withoutScreen.captureAllDisplays()).code(), CaptureFailure::failed);
}

// Placing the images on a board: the session test checks two displays of different density.
TEST(CaptureDisplayAssembly, NoDisplayIsScaleOneAndAZeroWidthDisplayCountsAsOnePoint)
{
    EXPECT_DOUBLE_EQ(CaptureDisplayAssembly::scale({}), 1.0);
    EXPECT_TRUE(CaptureDisplayAssembly::boardSizes({}).isEmpty());
    EXPECT_DOUBLE_EQ(CaptureDisplayAssembly::scale({{QImage(), QSizeF(0, 0), QSizeF(3, 3)}}), 3.0);
}

} // namespace
