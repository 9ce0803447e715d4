#include "PixelLimit.h"

#include <gtest/gtest.h>

#include <limits>

TEST(PixelLimit, EightyMegapixelsIsTheLastAllowedSize)
{
    EXPECT_TRUE(withinPixelLimit(80'000'000));
    EXPECT_FALSE(withinPixelLimit(80'000'001));
    EXPECT_FALSE(withinPixelLimit(0));
    EXPECT_TRUE(withinPixelLimit(QSize(10'000, 8'000)));
    EXPECT_FALSE(withinPixelLimit(QSize(80'000'001, 1)));
    EXPECT_TRUE(withinPixelLimit(QSize(80'000'000, 1)));
    EXPECT_TRUE(withinPixelLimit(QSizeF(10'000, 8'000)));
    EXPECT_FALSE(withinPixelLimit(QSizeF(10'000, 8'000.0001)));
}

TEST(PixelLimit, EmptyAndNonFiniteSizesAreRefused)
{
    EXPECT_FALSE(withinPixelLimit(QSize()));
    EXPECT_FALSE(withinPixelLimit(QSize(0, 10)));
    EXPECT_FALSE(withinPixelLimit(QSize(-4, -4)));
    EXPECT_FALSE(withinPixelLimit(QSizeF(0.5, 100)));
    EXPECT_FALSE(withinPixelLimit(QSizeF(std::numeric_limits<double>::infinity(), 1)));
    EXPECT_FALSE(withinPixelLimit(QSizeF(std::numeric_limits<double>::quiet_NaN(), 1)));
}

TEST(PixelLimit, ProductsThatOverflowAreRefused)
{
    // 65,536 x 65,536 wraps to 0 in 32 bits; 2^31-1 squared wraps in 64 bits without the side checks.
    EXPECT_FALSE(withinPixelLimit(QSize(65'536, 65'536)));
    EXPECT_FALSE(withinPixelLimit(QSize(std::numeric_limits<int>::max(), std::numeric_limits<int>::max())));
    EXPECT_FALSE(withinPixelLimit(std::numeric_limits<qint64>::max(), 2));
    EXPECT_FALSE(withinPixelLimit(4'294'967'296, 4'294'967'296));
    EXPECT_FALSE(withinPixelLimit(QSizeF(1e300, 1e300)));
}
