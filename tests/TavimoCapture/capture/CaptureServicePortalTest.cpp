#include "CaptureFailure.h"
#include "CaptureService.h"
#include "FakeDesktopPortal.h"
#include "FutureWait.h"
#include "PrivateSessionBus.h"
#include "SelectionOverlay.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

using Monitor = ScreenGrabber::Monitor;
using Timing = FakeDesktopPortal::Timing;

// "image", "nothing", or what the capture failed with.
std::string outcomeOf(QFuture<std::optional<QImage>> future)
{
    try {
        return resultOf(future) ? "image" : "nothing";
    } catch (const std::exception &error) {
        return error.what();
    }
}

// Waits for our overlay over the desktop's picture, then drags `area` on it, or presses Escape when it is empty.
void chooseOnOverlay(const CaptureService &service, const QRect &area)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.pictureSelection() != nullptr; }, 10000)) << "no overlay";
    SelectionOverlay *overlay = service.pictureSelection();
    if (area.isEmpty())
        return overlay->key(Qt::Key_Escape);
    const QPoint end = area.topLeft() + QPoint(area.width(), area.height());
    overlay->press(area.topLeft(), Qt::LeftButton);
    overlay->move(end);
    overlay->release(end, Qt::LeftButton);
}

class CaptureServicePortalTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bus.isRunning() && m_temporary.isValid() && m_foreign.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temporary.path()));
        m_picture.fill(Qt::red);
        QPainter(&m_picture).fillRect(1000, 0, 2000, 1000, Qt::blue);
    }

    void TearDown() override { qunsetenv("TMPDIR"); }

    // The portal saves the desktop picture to `path` and answers with its URI.
    void answerWithFile(const QString &path, Timing timing = Timing::afterReply)
    {
        ASSERT_TRUE(m_picture.save(path));
        portal.script(QStringLiteral("Screenshot"), 0, {{"uri", QUrl::fromLocalFile(path).toString()}}, timing);
    }

    QString temporaryFile() const { return m_temporary.filePath(QStringLiteral("Screenshot.png")); }

    PrivateSessionBus bus;
    FakeDesktopPortal portal{bus.connect()};
    QList<Monitor> screens{{1, QRect(1000, 0, 2000, 1000), true, {}}, {0, QRect(0, 0, 1000, 1000), false, {}}};
    CaptureService service{bus.connect(), 2s, [this] {
                               return screens;
                           }};
    QTemporaryDir m_temporary;
    QTemporaryDir m_foreign{QDir::currentPath() + QStringLiteral("/foreign-XXXXXX")};
    QImage m_picture{3000, 1000, QImage::Format_RGB32};
};

} // namespace

TEST_F(CaptureServicePortalTest, InteractiveModesChooseOnOurOverlayOverTheWholeDesktop)
{
    ASSERT_TRUE(portal.isServing());
    answerWithFile(temporaryFile());
    // As for --area --output: PNG bytes of what is chosen on our overlay.
    QFuture<std::optional<QByteArray>> area = service.capturePng(CaptureMode::area);
    EXPECT_EQ(outcomeOf(service.capture(CaptureMode::ocr)), "nothing");
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.pictureSelection() != nullptr; }, 10000));
    EXPECT_EQ(service.pictureSelection()->hintRects().size(), 2) << "no window picking here, and it says so";
    EXPECT_TRUE(service.busy());
    chooseOnOverlay(service, QRect(990, 10, 20, 30));
    const std::optional<QByteArray> png = resultOf(area);
    ASSERT_TRUE(png);
    const QImage image = QImage::fromData(*png, "PNG");
    EXPECT_EQ(image.size(), QSize(20, 30));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(19, 29), qRgb(0, 0, 255));
    EXPECT_EQ(service.pictureSelection(), nullptr);
    EXPECT_FALSE(service.busy());
    EXPECT_FALSE(QFile::exists(temporaryFile()));

    // Escape gives nothing; a picture the desktop saved elsewhere stays.
    const QString foreign = m_foreign.filePath(QStringLiteral("Screenshot.png"));
    answerWithFile(foreign);
    QFuture<std::optional<QImage>> text = service.capture(CaptureMode::ocr);
    chooseOnOverlay(service, QRect());
    EXPECT_EQ(outcomeOf(text), "nothing");
    EXPECT_TRUE(QFile::exists(foreign));

    // Cancelling the service ends a selection too.
    answerWithFile(temporaryFile());
    QFuture<std::optional<QImage>> abandoned = service.capture(CaptureMode::area);
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.pictureSelection() != nullptr; }, 10000));
    service.cancel();
    EXPECT_EQ(outcomeOf(abandoned), "nothing");

    const QList<FakeDesktopPortal::Call> calls = portal.calls();
    ASSERT_EQ(calls.size(), 3);
    for (const FakeDesktopPortal::Call &call : calls) {
        EXPECT_EQ(call.options.value("interactive"), false);
        EXPECT_FALSE(call.options.value("handle_token").toString().isEmpty());
    }
    EXPECT_NE(calls[0].requestPath, calls[1].requestPath);
}

TEST_F(CaptureServicePortalTest, EveryAnswerOfThePortal)
{
    QFile notPicture(m_temporary.filePath(QStringLiteral("text.png")));
    ASSERT_TRUE(notPicture.open(QIODevice::WriteOnly) && notPicture.write("no picture") > 0);
    notPicture.close();
    const QString picture = m_foreign.filePath(QStringLiteral("picture.png"));
    ASSERT_TRUE(m_picture.save(picture));
    const QString pictureUri = QUrl::fromLocalFile(picture).toString();
    const std::tuple<uint, QVariantMap, Timing, QString> cases[] = {
        {1, {}, Timing::afterReply, "nothing"},
        {2, {}, Timing::afterReply, description(CaptureFailure::permission)},
        {3, {}, Timing::afterReply, description(CaptureFailure::failed)},
        {0, {{"uri", "https://example.com/shot.png"}}, Timing::afterReply, description(CaptureFailure::failed)},
        {0, {}, Timing::afterReply, description(CaptureFailure::failed)},
        {0,
         {{"uri", QUrl::fromLocalFile(notPicture.fileName()).toString()}},
         Timing::afterReply,
         description(CaptureFailure::invalidImage)},
        {0, {{"uri", pictureUri}}, Timing::beforeReply, "image"},
        {2, {}, Timing::beforeReply, description(CaptureFailure::permission)},
    };
    for (const auto &[response, results, timing, outcome] : cases) {
        SCOPED_TRACE(outcome.toStdString());
        portal.script(QStringLiteral("Screenshot"), response, results, timing);
        QFuture<std::optional<QImage>> capture = service.capture(CaptureMode::area);
        if (outcome == "image")
            chooseOnOverlay(service, QRect(0, 0, 10, 10));
        EXPECT_EQ(outcomeOf(capture), outcome.toStdString());
        EXPECT_FALSE(service.busy());
    }
}

TEST_F(CaptureServicePortalTest, MissingOrSilentPortalFailsWithinTheTimeoutAndCancelClosesTheRequest)
{
    PrivateSessionBus empty;
    CaptureService alone{empty.connect(), 2s, [this] {
                             return screens;
                         }};
    EXPECT_EQ(outcomeOf(alone.capture(CaptureMode::area)), description(CaptureFailure::failed).toStdString());

    CaptureService impatient{bus.connect(), 300ms, [this] {
                                 return screens;
                             }};
    portal.script(QStringLiteral("Screenshot"), 0, {}, Timing::never);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(outcomeOf(impatient.capture(CaptureMode::screen)), description(CaptureFailure::failed).toStdString());
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return portal.closedRequests().size() == 1; }, 5000));
    EXPECT_EQ(portal.closedRequests(), QStringList{portal.calls().last().requestPath});

    QFuture<std::optional<QImage>> pending = service.capture(CaptureMode::area);
    ASSERT_TRUE(QTest::qWaitFor([&] { return portal.calls().size() == 2; }, 5000));
    EXPECT_TRUE(service.busy());
    service.cancel();
    EXPECT_EQ(outcomeOf(pending), "nothing");
    EXPECT_FALSE(service.busy());
    EXPECT_TRUE(QTest::qWaitFor([&] { return portal.closedRequests().size() == 2; }, 5000));
}

TEST_F(CaptureServicePortalTest, DesktopPictureIsCutIntoScreens)
{
    answerWithFile(temporaryFile());
    const QList<CaptureDisplayImage> displays = resultOf(service.captureAllDisplays());
    ASSERT_EQ(displays.size(), 2);
    EXPECT_EQ(displays[0].image.size(), QSize(1000, 1000));
    EXPECT_EQ(displays[0].image.pixel(999, 999), qRgb(255, 0, 0));
    EXPECT_EQ(displays[1].image.size(), QSize(2000, 1000));
    EXPECT_EQ(displays[1].image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(displays[1].logicalSize, QSizeF(2000, 1000));
    EXPECT_FALSE(QFile::exists(temporaryFile()));

    answerWithFile(temporaryFile());
    const std::optional<QImage> primary = resultOf(service.capture(CaptureMode::screen));
    ASSERT_TRUE(primary);
    EXPECT_EQ(primary->size(), QSize(2000, 1000));
    EXPECT_EQ(primary->pixel(1999, 999), qRgb(0, 0, 255));
    for (const FakeDesktopPortal::Call &call : portal.calls())
        EXPECT_EQ(call.options.value("interactive"), false);

    // A screen of device pixel ratio 2: 1500 x 500 on the desktop, 3000 x 1000 pixels.
    screens = {{0, QRect(0, 0, 3000, 1000), true, QSizeF(1500, 500)}};
    answerWithFile(temporaryFile());
    const QList<CaptureDisplayImage> scaled = resultOf(service.captureAllDisplays());
    ASSERT_EQ(scaled.size(), 1);
    EXPECT_EQ(scaled[0].pixelSize, QSizeF(3000, 1000));
    EXPECT_EQ(scaled[0].logicalSize, QSizeF(1500, 500));

    // Screens the picture does not hold, and more than 80,000,000 pixels in all.
    for (const auto &[layout, failure] :
         {std::pair(QList<Monitor>{{0, QRect(0, 0, 3000, 1001), true, {}}}, CaptureFailure::failed),
          std::pair(QList<Monitor>{{0, QRect(0, 0, 10000, 8001), true, {}}}, CaptureFailure::displaysTooLarge)}) {
        screens = layout;
        answerWithFile(temporaryFile());
        EXPECT_EQ(failureOf<CaptureError>(service.captureAllDisplays()).code(), failure);
    }
    EXPECT_FALSE(QFile::exists(temporaryFile()));
}

TEST_F(CaptureServicePortalTest, WithoutKnownScreensThePictureIsOneDisplay)
{
    screens.clear();
    answerWithFile(temporaryFile());
    const std::optional<QImage> screen = resultOf(service.capture(CaptureMode::screen));
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->size(), m_picture.size());
    EXPECT_EQ(screen->pixel(2999, 0), qRgb(0, 0, 255));

    answerWithFile(temporaryFile());
    const QList<CaptureDisplayImage> displays = resultOf(service.captureAllDisplays());
    ASSERT_EQ(displays.size(), 1);
    EXPECT_EQ(displays[0].image.size(), m_picture.size());
    EXPECT_EQ(displays[0].logicalSize, QSizeF(m_picture.size()));
    EXPECT_FALSE(QFile::exists(temporaryFile()));
}

TEST_F(CaptureServicePortalTest, ScreenListFollowsTheAppScreensAndWaitsEndAtOnce)
{
    const QList<Monitor> desktop = CaptureService::desktopScreens();
    ASSERT_FALSE(desktop.isEmpty());
    EXPECT_TRUE(desktop.first().primary);
    EXPECT_EQ(desktop.first().geometry.topLeft(), QPoint(0, 0));

    QFuture<CaptureService::ModifierRelease> release =
        service.waitForModifierRelease([] { return Qt::KeyboardModifiers(Qt::ShiftModifier); });
    ASSERT_TRUE(release.isFinished());
    EXPECT_EQ(release.result(), CaptureService::ModifierRelease::released);
    EXPECT_TRUE(service.waitForKeyboardFocus([] { return false; }).isFinished());
}
