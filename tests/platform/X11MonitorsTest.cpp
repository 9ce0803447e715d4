#include "X11Monitors.h"

#include <gtest/gtest.h>

TEST(X11Monitors, MainDisplayIsThePrimaryOrElseTheFirst)
{
    const ScreenGrabber::Monitor left{5, QRect(0, 0, 100, 100), false};
    const ScreenGrabber::Monitor middle{7, QRect(100, 0, 100, 100), true};
    const ScreenGrabber::Monitor right{9, QRect(200, 0, 100, 100), false};
    EXPECT_EQ(X11Monitors::main({left, middle, right}).id, 7u);
    EXPECT_EQ(X11Monitors::main({right, left}).id, 9u);
}
