#include "CaptureFailure.h"
#include "CaptureService.h"
#include "FutureWait.h"

#include <QThread>

#include <gtest/gtest.h>

#include <mutex>

namespace {

// Monitors as a test lays them out; each grab is a small image whose colour
// tells which monitor it came from.
struct FakeDesktop {
    QList<ScreenGrabber::Monitor> monitors;
    bool failGrabs = false;
    mutable std::mutex mutex;
    mutable QList<QRect> grabbed;
};

class FakeGrabber : public ScreenGrabber {
public:
    explicit FakeGrabber(const FakeDesktop &desktop) : m_desktop(desktop) {}

    QList<Monitor> monitors() const override { return m_desktop.monitors; }

    QImage grab(const QRect &area) const override
    {
        std::lock_guard lock(m_desktop.mutex);
        m_desktop.grabbed.append(area);
        if (m_desktop.failGrabs)
            return QImage();
        QImage image(area.width() % 64 + 1, area.height() % 64 + 1, QImage::Format_RGB32);
        image.fill(QColor::fromRgb(area.x() % 256, area.y() % 256, 7));
        return image;
    }

private:
    const FakeDesktop &m_desktop;
};

CaptureService::GrabberFactory grabbersOf(const FakeDesktop &desktop)
{
    return [&desktop] {
        return std::make_unique<FakeGrabber>(desktop);
    };
}

CaptureFailure failureOf(QFuture<QList<CaptureDisplayImage>> future)
{
    try {
        settled(future).waitForFinished();
    } catch (const CaptureError &error) {
        return error.code();
    }
    ADD_FAILURE() << "no CaptureError";
    return CaptureFailure::write;
}

TEST(CaptureServiceDisplays, OneImagePerDisplayInIdentifierOrder)
{
    FakeDesktop desktop;
    desktop.monitors = {{70, QRect(0, 0, 2560, 1440), true},
                        {30, QRect(2560, 0, 1920, 1080), false},
                        {50, QRect(-1280, 200, 1280, 1024), false}};
    CaptureService service(grabbersOf(desktop));
    const QList<CaptureDisplayImage> displays = resultOf(service.captureAllDisplays());
    ASSERT_EQ(displays.size(), 3);
    const QRect expectedOrder[] = {desktop.monitors[1].geometry, desktop.monitors[2].geometry,
                                   desktop.monitors[0].geometry};
    for (int i = 0; i < 3; ++i) {
        const QRect &frame = expectedOrder[i];
        EXPECT_EQ(displays[i].logicalSize, QSizeF(frame.size()));
        EXPECT_EQ(displays[i].pixelSize, QSizeF(displays[i].image.size()));
        EXPECT_EQ(displays[i].image.pixelColor(0, 0), QColor::fromRgb(frame.x() % 256, frame.y() % 256, 7));
    }
    EXPECT_EQ(desktop.grabbed, (QList<QRect>{expectedOrder[0], expectedOrder[1], expectedOrder[2]}));

    // The grabs run off the GUI thread; the outcome is handled back on it.
    QThread *handledOn = nullptr;
    settled(service.captureAllDisplays().then(&service, [&](const QList<CaptureDisplayImage> &) {
        handledOn = QThread::currentThread();
    })).waitForFinished();
    EXPECT_EQ(handledOn, service.thread());
}

TEST(CaptureServiceDisplays, PixelLimitIsCheckedBeforeAnyGrab)
{
    FakeDesktop desktop;
    CaptureService service(grabbersOf(desktop));

    desktop.monitors = {{1, QRect(0, 0, 10000, 8000), true}};
    EXPECT_EQ(resultOf(service.captureAllDisplays()).size(), 1);

    desktop.grabbed.clear();
    desktop.monitors.append({2, QRect(10000, 0, 1, 1), false});
    EXPECT_EQ(failureOf(service.captureAllDisplays()), CaptureFailure::displaysTooLarge);
    EXPECT_TRUE(desktop.grabbed.isEmpty());

    desktop.monitors = {{1, QRect(0, 0, 0, 0), true}};
    EXPECT_EQ(failureOf(service.captureAllDisplays()), CaptureFailure::displaysTooLarge);

    desktop.monitors = {};
    EXPECT_EQ(failureOf(service.captureAllDisplays()), CaptureFailure::failed);
    EXPECT_TRUE(desktop.grabbed.isEmpty());
}

TEST(CaptureServiceDisplays, FailedGrabOrMissingScreenFailsTheWhole)
{
    FakeDesktop desktop;
    desktop.monitors = {{1, QRect(0, 0, 100, 100), true}, {2, QRect(100, 0, 100, 100), false}};
    desktop.failGrabs = true;
    CaptureService service(grabbersOf(desktop));
    EXPECT_EQ(failureOf(service.captureAllDisplays()), CaptureFailure::failed);
    EXPECT_EQ(desktop.grabbed.size(), 1);

    CaptureService withoutScreen([] { return std::unique_ptr<ScreenGrabber>(); });
    EXPECT_EQ(failureOf(withoutScreen.captureAllDisplays()), CaptureFailure::failed);
}

} // namespace
