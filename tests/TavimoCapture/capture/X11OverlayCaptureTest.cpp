#include "X11OverlayCapture.h"
#include "CaptureDecoding.h"
#include "CaptureService.h"
#include "FutureWait.h"
#include "TestX11Client.h"
#include "X11PatternWindow.h"
#include "X11ScreenGrabber.h"
#include "X11SharedDesktop.h"

#include <QDeadlineTimer>

#include <gtest/gtest.h>

namespace {

const QRect windowArea(100, 80, 400, 300);

class X11OverlayCaptureTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The overlay's windows are made first: shown, they must still come above later windows.
        m_service.keepWarm();
        ASSERT_TRUE(m_screen && m_window.showOn(*m_screen));
        ASSERT_TRUE(TestX11Client::xdotool({"mousemove", "700", "600"}));
    }

    // As the session asks: the screen is read while the keys come up, then the overlay shows.
    QFuture<std::optional<QImage>> startArea(CaptureMode mode = CaptureMode::area)
    {
        EXPECT_EQ(resultOf(m_service.waitForModifierRelease(CaptureService::modifiers, mode)),
                  CaptureService::ModifierRelease::released);
        QFuture<std::optional<QImage>> capture = m_service.capture(mode);
        EXPECT_TRUE(overlayShows()) << "no overlay";
        return capture;
    }

    // The overlay dims the pattern (the pointer stays off the window, which would light it).
    bool overlayShows(bool shows = true)
    {
        const QImage pattern = m_window.pattern().copy(10, 10, 1, 1);
        const QRect probe(windowArea.topLeft() + QPoint(10, 10), QSize(1, 1));
        return QTest::qWaitFor([&] { return (m_screen->grab(probe) != pattern) == shows; }, 10000);
    }

    static QImage rgb(const std::optional<QImage> &image)
    {
        return image ? image->convertToFormat(QImage::Format_RGB32) : QImage();
    }

    std::unique_ptr<X11ScreenGrabber> m_screen = X11ScreenGrabber::connect();
    X11PatternWindow m_window{windowArea};
    CaptureService m_service;
};

TEST_F(X11OverlayCaptureTest, DraggedRegionComesBackExactlyWithoutDecodingAndOutlivesTheNextGrab)
{
    const quint64 decodes = CaptureDecoding::count();
    QFuture<std::optional<QImage>> capture = startArea();
    EXPECT_TRUE(m_service.busy());
    EXPECT_TRUE(TestX11Client::xdotool({"mousemove", "150", "100", "mousedown", "1", "mousemove", "250", "180",
                                        "mousemove", "350", "260", "mouseup", "1"}));
    const std::optional<QImage> first = resultOf(capture);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(qAlpha(first->pixel(5, 5)), 255);
    EXPECT_EQ(rgb(first), m_window.pattern().copy(50, 20, 200, 160));
    EXPECT_EQ(CaptureDecoding::count(), decodes) << "an in-process capture decodes nothing";
    EXPECT_FALSE(m_service.busy());

    // The next capture reads the changed screen into the same memory; the first result keeps its pixels.
    const QImage kept = first->copy();
    m_window.hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_screen->grab(windowArea) != m_window.pattern(); }, 10000));
    QFuture<std::optional<QImage>> second = startArea(CaptureMode::ocr);
    EXPECT_TRUE(TestX11Client::xdotool(
        {"mousemove", "150", "100", "mousedown", "1", "mousemove", "350", "260", "mouseup", "1"}));
    const std::optional<QImage> other = resultOf(second);
    ASSERT_TRUE(other);
    EXPECT_NE(rgb(other), m_window.pattern().copy(50, 20, 200, 160));
    EXPECT_EQ(*first, kept);
}

TEST_F(X11OverlayCaptureTest, ClickedWindowIsTakenEscapeGivesNothingAndMainDisplayIsTheWholeScreen)
{
    QFuture<std::optional<QImage>> window = startArea();
    EXPECT_TRUE(TestX11Client::xdotool({"mousemove", "300", "200", "click", "1"}));
    EXPECT_EQ(rgb(resultOf(window)), m_window.pattern());

    EXPECT_TRUE(TestX11Client::xdotool({"mousemove", "700", "600"}));
    QFuture<std::optional<QImage>> cancelled = startArea();
    EXPECT_TRUE(TestX11Client::press(QStringLiteral("Escape")));
    EXPECT_EQ(resultOf(cancelled), std::nullopt);
    EXPECT_FALSE(m_service.busy());
    EXPECT_TRUE(overlayShows(false)) << "the overlay stays";

    const quint64 decodes = CaptureDecoding::count();
    const std::optional<QImage> screen = resultOf(m_service.capture(CaptureMode::screen));
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->size(), QSize(1280, 800));
    EXPECT_EQ(rgb(screen).copy(windowArea), m_window.pattern());
    EXPECT_EQ(CaptureDecoding::count(), decodes);
}

TEST(X11SharedDesktop, OneSegmentSizedForTheDesktopServesEveryGrab)
{
    const std::unique_ptr<X11SharedDesktop> desktop = X11SharedDesktop::connect();
    ASSERT_TRUE(desktop && desktop->prepare());
    EXPECT_EQ(desktop->segmentBytes(), 1280 * 800 * 4);
    const QImage whole = desktop->grab(desktop->desktopGeometry());
    const QImage part = desktop->grab(QRect(10, 10, 100, 50));
    EXPECT_EQ(whole.constBits(), part.constBits()) << "both grabs read into the same memory";
    EXPECT_EQ(part.size(), QSize(100, 50));
    EXPECT_TRUE(desktop->prepare());
    EXPECT_EQ(desktop->grab(QRect(10, 10, 100, 50)).constBits(), part.constBits()) << "kept while the size holds";
}

TEST(X11OverlayCapture, RegionCopyIsOpaqueExactAndClippedToTheDesktop)
{
    // As the server leaves them: the padding byte of each pixel is zero.
    QImage desktop(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < desktop.height(); ++y) {
        auto *pixel = reinterpret_cast<quint32 *>(desktop.scanLine(y));
        for (int x = 0; x < desktop.width(); ++x)
            pixel[x] = quint32(x << 16 | y << 8 | 7);
    }
    const QImage copy = X11OverlayCapture::opaqueCopy(desktop, QRect(30, 20, 20, 20));
    ASSERT_EQ(copy.size(), QSize(10, 10));
    EXPECT_EQ(copy.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(copy.pixel(0, 0), qRgb(30, 20, 7));
    EXPECT_EQ(copy.pixel(9, 9), qRgb(39, 29, 7));
    EXPECT_NE(copy.constBits(), desktop.constBits());
}

} // namespace
