#include "CaptureAnnotation.h"
#include "CaptureAnnotationDefaults.h"
#include "CaptureDecorationDefaults.h"
#include "UserDefaults.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

class StyleDefaultsTest : public testing::Test {
protected:
    QTemporaryDir folder;
    UserDefaults defaults{folder.filePath("defaults.json")};

    void storeAnnotation(QJsonObject record)
    {
        record.insert("version", 1);
        defaults.setValue(CaptureAnnotationDefaults::key, record);
    }

    void storeDecoration(QJsonObject record, const QJsonValue &version = 1)
    {
        record.insert("version", version);
        defaults.setValue(CaptureDecorationDefaults::key, record);
    }
};

} // namespace

TEST_F(StyleDefaultsTest, AnnotationRoundTrip)
{
    CaptureStyle style;
    style.shapeMode = CaptureShapeMode::spotlight;
    style.spotlightOpacity = 70;
    style.brush = CaptureBrush::highlighter;
    style.lineWidth = 12.5;
    style.fontName = "DejaVu Sans";
    style.fontSize = 48;
    style.bold = false;
    style.underline = true;
    style.textBackgroundEnabled = true;
    style.textBackgroundColor = QColor::fromRgbF(0, 0, 0, 0.5f);
    style.arrowHead = CaptureArrowHead::both;
    style.arrowDash = CaptureArrowDash::dotted;
    style.arrowCurved = true;
    style.numberShape = CaptureNumberShape::teardrop;
    style.pixelSize = 64;
    style.magnifierZoom = 3;
    style.magnifierOval = false;
    const QColor green = QColor::fromRgbF(0, 1, 0, 1);

    CaptureAnnotationDefaults::save(style, green, defaults);
    EXPECT_EQ(defaults.objectValue(CaptureAnnotationDefaults::key)->size(), 22);

    const UserDefaults reopened(defaults.filePath());
    const CaptureAnnotationDefaults::Loaded loaded = CaptureAnnotationDefaults::load(reopened);
    EXPECT_EQ(loaded.style, style);
    EXPECT_EQ(loaded.color, green);
}

TEST_F(StyleDefaultsTest, AnnotationMissingOrOtherVersionGivesStartValues)
{
    CaptureAnnotationDefaults::Loaded loaded = CaptureAnnotationDefaults::load(defaults);
    EXPECT_EQ(loaded.style, CaptureStyle());
    EXPECT_EQ(loaded.color, CaptureAnnotation::systemRed());

    for (const QJsonValue &version : {QJsonValue(2), QJsonValue("1"), QJsonValue(1.5), QJsonValue()}) {
        QJsonObject record{{"lineWidth", 40}};
        if (!version.isNull())
            record.insert("version", version);
        defaults.setValue(CaptureAnnotationDefaults::key, record);
        EXPECT_EQ(CaptureAnnotationDefaults::load(defaults).style.lineWidth, 5);
    }
    defaults.setValue(CaptureAnnotationDefaults::key, "not a record");
    EXPECT_EQ(CaptureAnnotationDefaults::load(defaults).style, CaptureStyle());
}

TEST_F(StyleDefaultsTest, AnnotationNumbersAreClampedOrFallBack)
{
    const auto lineWidth = [&](const QJsonValue &stored) {
        storeAnnotation({{"lineWidth", stored}});
        return CaptureAnnotationDefaults::load(defaults).style.lineWidth;
    };
    EXPECT_EQ(lineWidth(500), 80);
    EXPECT_EQ(lineWidth(0.2), 1);
    EXPECT_EQ(lineWidth("12"), 5);
    EXPECT_EQ(lineWidth(true), 5);
    EXPECT_EQ(lineWidth(std::numeric_limits<double>::infinity()), 5);
    EXPECT_EQ(lineWidth(7), 7);

    storeAnnotation({{"spotlightOpacity", 1},
                     {"brushOpacity", 99},
                     {"blurRadius", 0},
                     {"pixelSize", 1000},
                     {"magnifierZoom", 0.5},
                     {"fontSize", 2}});
    const CaptureStyle style = CaptureAnnotationDefaults::load(defaults).style;
    EXPECT_EQ(style.spotlightOpacity, 5);
    EXPECT_EQ(style.brushOpacity, 80);
    EXPECT_EQ(style.blurRadius, 1);
    EXPECT_EQ(style.pixelSize, 128);
    EXPECT_EQ(style.magnifierZoom, 1);
    EXPECT_EQ(style.fontSize, 8);
}

TEST_F(StyleDefaultsTest, AnnotationTextEnumerationsBooleansAndColours)
{
    storeAnnotation({{"fontName", QString(300, 'a')},
                     {"shapeMode", "Fill"},
                     {"brush", "highlighter"},
                     {"arrowDash", 2},
                     {"bold", 0},
                     {"italic", true},
                     {"color", QJsonArray{1, 0, 0}},
                     {"textBackgroundColor", QJsonArray{0, 0, 1.5, 1}}});
    CaptureAnnotationDefaults::Loaded loaded = CaptureAnnotationDefaults::load(defaults);
    EXPECT_EQ(loaded.style.fontName, "System");
    EXPECT_EQ(loaded.style.shapeMode, CaptureShapeMode::outline);
    EXPECT_EQ(loaded.style.brush, CaptureBrush::highlighter);
    EXPECT_EQ(loaded.style.arrowDash, CaptureArrowDash::solid);
    EXPECT_TRUE(loaded.style.bold);
    EXPECT_TRUE(loaded.style.italic);
    EXPECT_EQ(loaded.color, CaptureAnnotation::systemRed());
    EXPECT_EQ(loaded.style.textBackgroundColor, CaptureStyle().textBackgroundColor);

    storeAnnotation({{"fontName", ""}, {"color", QJsonArray{0, 0.5, 1, 0.25}}});
    loaded = CaptureAnnotationDefaults::load(defaults);
    EXPECT_EQ(loaded.style.fontName, "System");
    EXPECT_EQ(loaded.color, QColor::fromRgbF(0, 0.5f, 1, 0.25f));

    storeAnnotation({{"fontName", QString(256, 'b')}});
    EXPECT_EQ(CaptureAnnotationDefaults::load(defaults).style.fontName, QString(256, 'b'));
}

TEST_F(StyleDefaultsTest, DecorationRoundTripAndVersion)
{
    CaptureComposition composition;
    composition.background = CaptureBackground::gradient;
    composition.backgroundColor = QColor::fromRgbF(0.1f, 0.2f, 0.3f, 1);
    composition.gradientColor = QColor::fromRgbF(0.4f, 0.5f, 0.6f, 1);
    composition.borderColor = QColor::fromRgbF(0, 0, 0, 0.5f);
    composition.padding = 40;
    composition.cornerRadius = 24;
    composition.shadow = 30;
    composition.borderWidth = 2;
    composition.legend.placement = CaptureLegendPlacement::left;
    CaptureDecorationDefaults::save(composition, defaults);
    EXPECT_EQ(defaults.objectValue(CaptureDecorationDefaults::key)->size(), 9);

    CaptureComposition expected = composition;
    expected.legend = CaptureLegendSettings();
    EXPECT_EQ(CaptureDecorationDefaults::load(defaults), expected);

    storeDecoration({{"padding", 40}}, 2);
    EXPECT_EQ(CaptureDecorationDefaults::load(defaults), CaptureComposition());
}

TEST_F(StyleDefaultsTest, DecorationFieldsFallBackToZeroAndTransparent)
{
    storeDecoration({{"padding", 5000}, {"radius", -3}, {"shadow", "20"}, {"background", "solid"}});
    CaptureComposition composition = CaptureDecorationDefaults::load(defaults);
    EXPECT_EQ(composition.padding, 1024);
    EXPECT_EQ(composition.cornerRadius, 0);
    EXPECT_EQ(composition.shadow, 0);
    EXPECT_EQ(composition.borderWidth, 0);
    EXPECT_EQ(composition.background, CaptureBackground::solid);

    storeDecoration({{"background", "Solid"}, {"border", 500}, {"color", QJsonArray{1, 0, 0}}});
    composition = CaptureDecorationDefaults::load(defaults);
    EXPECT_EQ(composition.background, CaptureBackground::transparent);
    EXPECT_EQ(composition.borderWidth, 100);
    EXPECT_EQ(composition.backgroundColor, CaptureComposition().backgroundColor);
}
