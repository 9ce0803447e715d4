#include "CaptureDisplayAssembly.h"

#include <gtest/gtest.h>

namespace {

CaptureDisplayImage display(QSizeF pixels, QSizeF logical)
{
    return {QImage(), logical, pixels};
}

TEST(CaptureDisplayAssembly, EveryDisplayAtTheDensestScale)
{
    const QList<CaptureDisplayImage> displays{display({2880, 1800}, {1440, 900}), display({1920, 1080}, {1920, 1080})};
    EXPECT_DOUBLE_EQ(CaptureDisplayAssembly::scale(displays), 2.0);
    EXPECT_EQ(CaptureDisplayAssembly::boardSizes(displays), (QList<QSizeF>{{2880, 1800}, {3840, 2160}}));

    EXPECT_DOUBLE_EQ(CaptureDisplayAssembly::scale({}), 1.0);
    EXPECT_TRUE(CaptureDisplayAssembly::boardSizes({}).isEmpty());
    // A display without width counts as one point wide.
    EXPECT_DOUBLE_EQ(CaptureDisplayAssembly::scale({display({3, 3}, {0, 0})}), 3.0);
}

} // namespace
