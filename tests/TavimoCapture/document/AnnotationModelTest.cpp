#include "CaptureComposition.h"
#include "CaptureStyle.h"
#include "CaptureToolTable.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

namespace {

enum class Fruit { apple, pear, plum };

} // namespace

template <> struct RawEnum<Fruit> {
    static constexpr std::array cases{Fruit::apple, Fruit::pear};
    static constexpr std::array rawValues{"apple", "pear"};
};

// The checks every raw value table passes where it is used.
static_assert(everyCaseHasARawValue<CaptureTool>());
static_assert(everyCaseHasARawValue<CaptureNumberShape>());
static_assert(!everyCaseHasARawValue<Fruit>(), "a case without a raw value is caught");

TEST(CaptureEnumerations, DecodeCaseSensitivelyAndTitleTwoToolsSpecially)
{
    for (CaptureTool tool : allCases<CaptureTool>())
        EXPECT_EQ(fromRawValue<CaptureTool>(rawValue(tool)), tool);
    EXPECT_FALSE(fromRawValue<CaptureTool>("Select"));
    EXPECT_FALSE(fromRawValue<CaptureShapeMode>("Outline"));
    EXPECT_FALSE(fromRawValue<CaptureNumberShape>("TEARDROP"));
    EXPECT_EQ(capitalizedRawValue(CaptureNumberShape::teardrop), "Teardrop");
    EXPECT_EQ(CaptureToolTable::title(CaptureTool::pixelate), "Secure mosaic");
    EXPECT_EQ(CaptureToolTable::title(CaptureTool::imagePixelate), "Pixelate");
    for (CaptureTool tool : allCases<CaptureTool>()) {
        if (tool != CaptureTool::pixelate && tool != CaptureTool::imagePixelate) {
            EXPECT_EQ(CaptureToolTable::title(tool), capitalizedRawValue(tool));
        }
    }
}

TEST(CaptureStyle, FontClampsSizeAndKeepsTraitsOnFallback)
{
    CaptureStyle style;
    style.fontSize = 4;
    EXPECT_EQ(style.font().pixelSize(), 8);
    style.fontSize = 500;
    style.fontName = "No Such Font Family 4711";
    style.italic = true;
    const QFont fallback = style.font();
    EXPECT_EQ(fallback.pixelSize(), 300);
    EXPECT_EQ(fallback.family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    EXPECT_TRUE(fallback.bold());
    EXPECT_TRUE(fallback.italic());
}

TEST(CaptureStyle, TextAttributesCarryUnderlineOnlyWhenSet)
{
    CaptureStyle style;
    const QColor blue = QColor::fromRgbF(0, 0, 1, 1);
    const QTextCharFormat plain = style.textAttributes(blue);
    EXPECT_FALSE(plain.hasProperty(QTextFormat::TextUnderlineStyle));
    EXPECT_FALSE(plain.hasProperty(QTextFormat::FontUnderline));
    EXPECT_EQ(plain.foreground().color(), blue);
    style.underline = true;
    EXPECT_TRUE(style.textAttributes(blue).fontUnderline());
}

TEST(CaptureComposition, EqualityComparesColourAlpha)
{
    const CaptureComposition first;
    CaptureComposition second;
    second.borderColor = QColor::fromRgbF(1, 1, 1, 0.5f);
    EXPECT_NE(first, second);
    CaptureStyle restyled;
    restyled.textBackgroundColor = QColor::fromRgbF(1, 1, 1, 0.99f);
    EXPECT_NE(CaptureStyle(), restyled);
}
