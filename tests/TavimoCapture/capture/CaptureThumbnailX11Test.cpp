#include "CaptureThumbnail.h"
#include "ScriptedThumbnailSurface.h"
#include "TestX11Client.h"
#include "X11GlobalHotKeys.h"

#include <QTest>

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace {

TEST(CaptureThumbnailX11Test, EOpensTheVisibleThumbnailAndTypesNormallyOnceItIsGone)
{
    X11GlobalHotKeys hotKeys;
    ScriptedThumbnailSurface surface;
    CaptureThumbnail thumbnail(hotKeys);
    thumbnail.setSurface(&surface);
    int opened = 0;
    const auto show = [&] {
        return thumbnail.show(QImage(8, 8, QImage::Format_RGB32), 30, CaptureThumbnailShortcut::e, "Copied",
                              [&] { ++opened; });
    };
    ASSERT_TRUE(show());
    TestX11Client other;
    EXPECT_FALSE(other.grabKey(XK_e, 0)) << "the thumbnail holds E while it is visible";
    ASSERT_TRUE(TestX11Client::press("e"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened == 1; }, 5000));
    EXPECT_FALSE(thumbnail.isShown());

    // Gone: E reaches the application in front again.
    EXPECT_TRUE(other.grabKey(XK_e, 0));
    ASSERT_TRUE(TestX11Client::press("e"));
    EXPECT_TRUE(other.waitForKeyPress(XK_e, 5000));
    QTest::qWait(100);
    EXPECT_EQ(opened, 1);

    // Taken by another program: the thumbnail still shows, to be clicked.
    EXPECT_FALSE(show());
    EXPECT_EQ(surface.shown->text, "Click to edit");
}

} // namespace
