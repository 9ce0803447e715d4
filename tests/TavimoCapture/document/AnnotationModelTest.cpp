#include "CaptureAnnotation.h"
#include "CaptureComposition.h"
#include "CaptureStyle.h"
#include "CaptureTool.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

TEST(CaptureTool, DecodingTitlesAndGroups)
{
    EXPECT_EQ(fromRawValue<CaptureTool>("imagePixelate"), CaptureTool::imagePixelate);
    EXPECT_FALSE(fromRawValue<CaptureTool>("Select"));
    EXPECT_FALSE(fromRawValue<CaptureTool>(""));
    EXPECT_EQ(allCases<CaptureTool>().size(), 13u);
    EXPECT_EQ(allCases<CaptureTool>().front(), CaptureTool::select);
    EXPECT_EQ(allCases<CaptureTool>().back(), CaptureTool::crop);

    EXPECT_EQ(toolTitle(CaptureTool::pixelate), "Secure mosaic");
    EXPECT_EQ(toolTitle(CaptureTool::imagePixelate), "Pixelate");
    EXPECT_EQ(toolTitle(CaptureTool::freehand), "Freehand");
    EXPECT_EQ(toolTitle(CaptureTool::select), "Select");
    EXPECT_EQ(toolSymbol(CaptureTool::blur), "drop.halffull");
    EXPECT_EQ(toolSymbol(CaptureTool::number), "1.circle");

    for (CaptureTool tool : allCases<CaptureTool>()) {
        EXPECT_EQ(fromRawValue<CaptureTool>(rawValue(tool)), tool);
        EXPECT_FALSE(toolSymbol(tool).isEmpty());
    }
    EXPECT_TRUE(isSecureTool(CaptureTool::redact));
    EXPECT_TRUE(isSecureTool(CaptureTool::pixelate));
    EXPECT_FALSE(isSecureTool(CaptureTool::imagePixelate));
    EXPECT_TRUE(isEffectTool(CaptureTool::blur));
    EXPECT_TRUE(isEffectTool(CaptureTool::imagePixelate));
    EXPECT_FALSE(isEffectTool(CaptureTool::pixelate));
}

TEST(CaptureEnumerations, CaseSensitiveRawValuesAndInspectorNames)
{
    EXPECT_EQ(fromRawValue<CaptureShapeMode>("spotlight"), CaptureShapeMode::spotlight);
    EXPECT_FALSE(fromRawValue<CaptureShapeMode>("Outline"));
    EXPECT_FALSE(fromRawValue<CaptureNumberShape>("TEARDROP"));
    EXPECT_EQ(capitalizedRawValue(CaptureBrush::highlighter), "Highlighter");
    EXPECT_EQ(capitalizedRawValue(CaptureNumberShape::teardrop), "Teardrop");
    EXPECT_EQ(rawValue(CaptureLegendPlacement::left), "left");
    EXPECT_EQ(rawValue(CaptureArrowHead::none), "none");
}

TEST(CaptureAnnotation, RectangleAndDefaultControlPoint)
{
    CaptureAnnotation arrow;
    arrow.start = QPointF(100, 50);
    arrow.end = QPointF(20, 150);
    EXPECT_EQ(arrow.rect(), QRectF(20, 50, 80, 100));
    EXPECT_EQ(arrow.resolvedControl(), QPointF(60, 40));
    arrow.control = QPointF(5, 6);
    EXPECT_EQ(arrow.resolvedControl(), QPointF(5, 6));

    const CaptureAnnotation other;
    EXPECT_NE(arrow.id, other.id);
    CaptureAnnotation copy = arrow;
    copy.style.lineWidth = 40;
    EXPECT_EQ(arrow.style.lineWidth, 5);
    EXPECT_EQ(copy.id, arrow.id);
}

TEST(CaptureStyle, FontClampsSizeAndKeepsTraitsOnFallback)
{
    CaptureStyle style;
    style.fontSize = 4;
    EXPECT_EQ(style.font().pixelSize(), 8);
    style.fontSize = 500;
    EXPECT_EQ(style.font().pixelSize(), 300);

    const QString systemFamily = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    style.fontName = "No Such Font Family 4711";
    style.bold = true;
    style.italic = true;
    const QFont fallback = style.font();
    EXPECT_EQ(fallback.family(), systemFamily);
    EXPECT_TRUE(fallback.bold());
    EXPECT_TRUE(fallback.italic());
    EXPECT_EQ(fallback.pixelSize(), 300);

    style.fontName = "DejaVu Serif";
    style.bold = false;
    style.italic = false;
    style.fontSize = 32;
    if (QFontDatabase::hasFamily("DejaVu Serif")) {
        EXPECT_EQ(QFontInfo(style.font()).family(), "DejaVu Serif");
    }
    EXPECT_FALSE(style.font().bold());
}

TEST(CaptureStyle, TextAttributesCarryUnderlineOnlyWhenSet)
{
    CaptureStyle style;
    const QColor blue = QColor::fromRgbF(0, 0, 1, 1);
    const QTextCharFormat plain = style.textAttributes(blue);
    EXPECT_FALSE(plain.hasProperty(QTextFormat::TextUnderlineStyle));
    EXPECT_FALSE(plain.hasProperty(QTextFormat::FontUnderline));
    EXPECT_EQ(plain.foreground().color(), blue);
    EXPECT_EQ(plain.font().pixelSize(), 32);
    EXPECT_TRUE(plain.font().bold());

    style.underline = true;
    EXPECT_TRUE(style.textAttributes(blue).fontUnderline());
}

TEST(CaptureComposition, EqualityComparesEveryFieldAndColourAlpha)
{
    CaptureComposition first;
    CaptureComposition second;
    EXPECT_EQ(first, second);
    second.borderColor = QColor::fromRgbF(1, 1, 1, 0.5f);
    EXPECT_NE(first, second);
    second = first;
    second.legend.fitToContent = false;
    EXPECT_NE(first, second);
    second = first;
    second.padding = 0.5;
    EXPECT_NE(first, second);

    CaptureStyle style;
    CaptureStyle restyled = style;
    restyled.textBackgroundColor = QColor::fromRgbF(1, 1, 1, 0.99f);
    EXPECT_NE(style, restyled);
}
