#include "CaptureThumbnail.h"
#include "ScriptedHotKeys.h"
#include "ScriptedThumbnailSurface.h"

#include <QTest>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

const QKeyCombination altE(Qt::AltModifier, Qt::Key_E);

class CaptureThumbnailTest : public testing::Test {
protected:
    CaptureThumbnailTest() { thumbnail.setSurface(&surface); }

    bool show(double seconds = 5, CaptureThumbnailShortcut shortcut = CaptureThumbnailShortcut::optionE,
              bool withAction = true)
    {
        const int number = ++shows;
        std::function<void()> open;
        if (withAction)
            open = [this, number] {
                opened.append(number);
            };
        return thumbnail.show(QImage(40, 30, QImage::Format_RGB32), seconds, shortcut, QStringLiteral("Copied"), open);
    }
    void advance(double seconds) { now = now.addMSecs(qint64(seconds * 1000)); }
    // Lets the 0.1-second countdown look at the clock.
    void tick() { QTest::qWait(CaptureThumbnail::pollMilliseconds * 2); }
    QUuid current() const { return thumbnail.lifetime()->id; }

    QDateTime now = QDateTime(QDate(2026, 12, 6), QTime(9, 0), QTimeZone::utc());
    ScriptedHotKeys hotKeys;
    ScriptedThumbnailSurface surface;
    CaptureThumbnail thumbnail{hotKeys, [this] {
                                   return now;
                               }};
    QList<int> opened;
    int shows = 0;
};

TEST_F(CaptureThumbnailTest, DisplayTimeIsClamped)
{
    const std::pair<double, double> cases[] = {{0.2, 1},     {0, 1},      {-3, 1},     {45, 30},
                                               {12.5, 12.5}, {qInf(), 5}, {qQNaN(), 5}};
    for (const auto &[given, shown] : cases) {
        show(given);
        EXPECT_DOUBLE_EQ(thumbnail.lifetime()->remaining, shown) << given;
        EXPECT_EQ(*thumbnail.lifetime()->deadline, now.addMSecs(qint64(shown * 1000))) << given;
    }
    show(0.2);
    advance(0.95);
    tick();
    EXPECT_TRUE(thumbnail.isShown());
    advance(0.05);
    tick();
    EXPECT_FALSE(thumbnail.isShown());
    EXPECT_FALSE(surface.shown);
    EXPECT_TRUE(hotKeys.held.isEmpty());
}

TEST_F(CaptureThumbnailTest, HoverPausesTheCountdownUntilThePointerLeaves)
{
    show(5);
    const QUuid id = current();
    advance(2);
    thumbnail.hover(id, true);
    EXPECT_FALSE(thumbnail.lifetime()->deadline);
    advance(10);
    tick();
    EXPECT_TRUE(thumbnail.isShown());
    thumbnail.hover(id, true);
    thumbnail.hover(id, false);
    advance(2.9);
    tick();
    EXPECT_TRUE(thumbnail.isShown());
    advance(0.1);
    tick();
    EXPECT_FALSE(thumbnail.isShown());

    // A stale window's hover does not pause the next thumbnail.
    show(5);
    thumbnail.hover(id, true);
    EXPECT_TRUE(thumbnail.lifetime()->deadline);
}

TEST_F(CaptureThumbnailTest, HotKeyBelongsToTheThumbnailShownAndOnlyWhileVisible)
{
    EXPECT_TRUE(show(5, CaptureThumbnailShortcut::optionE));
    const quint32 first = thumbnail.generation();
    ASSERT_EQ(hotKeys.held.size(), 1);
    EXPECT_EQ(hotKeys.held[0].first, altE);
    EXPECT_EQ(hotKeys.held[0].second, (GlobalHotKeys::Identifier{CaptureThumbnail::signature, first}));
    EXPECT_EQ(surface.shown->text, "Click or Alt+E to edit");

    EXPECT_TRUE(show(5, CaptureThumbnailShortcut::e));
    EXPECT_EQ(surface.shown->text, "Click or E to edit");
    ASSERT_EQ(hotKeys.held.size(), 1);
    hotKeys.press({CaptureThumbnail::signature, first});
    hotKeys.press({CaptureThumbnail::signature + 1, thumbnail.generation()});
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(thumbnail.isShown());

    hotKeys.press({CaptureThumbnail::signature, thumbnail.generation()});
    EXPECT_EQ(opened, QList<int>{2});
    EXPECT_FALSE(thumbnail.isShown());
    // Gone: E is free again for the application in front.
    EXPECT_TRUE(hotKeys.held.isEmpty());
    hotKeys.press({CaptureThumbnail::signature, thumbnail.generation()});
    EXPECT_EQ(opened, QList<int>{2});
}

TEST_F(CaptureThumbnailTest, ClickRunsTheActionOnceAndStaleClicksDoNothing)
{
    show();
    const QUuid first = current();
    show();
    thumbnail.click(first);
    EXPECT_TRUE(opened.isEmpty());
    thumbnail.click(current());
    EXPECT_EQ(opened, QList<int>{2});
    EXPECT_FALSE(thumbnail.isShown());
}

TEST_F(CaptureThumbnailTest, WithoutActionTheCaptionShowsAndNothingOpens)
{
    EXPECT_TRUE(show(5, CaptureThumbnailShortcut::off, false));
    EXPECT_EQ(surface.shown->text, "Copied");
    EXPECT_TRUE(hotKeys.held.isEmpty());
    thumbnail.click(current());
    EXPECT_TRUE(thumbnail.isShown());
    advance(5);
    tick();
    EXPECT_FALSE(thumbnail.isShown());
}

TEST_F(CaptureThumbnailTest, TakenKeyOrMissingScreen)
{
    hotKeys.taken = {altE};
    EXPECT_FALSE(show());
    EXPECT_TRUE(thumbnail.isShown());
    EXPECT_EQ(surface.shown->text, "Click to edit");
    thumbnail.click(current());
    EXPECT_EQ(opened, QList<int>{1});

    EXPECT_TRUE(show(5, CaptureThumbnailShortcut::off));
    EXPECT_EQ(surface.shown->text, "Click to edit");

    hotKeys.taken.clear();
    surface.screen = false;
    EXPECT_FALSE(show());
    EXPECT_FALSE(thumbnail.isShown());
    EXPECT_TRUE(hotKeys.held.isEmpty());
    thumbnail.dismiss();
}

} // namespace
