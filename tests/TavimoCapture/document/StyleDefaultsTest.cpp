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
    CaptureAnnotationDefaults::Loaded loadAnnotation(QJsonObject record)
    {
        record.insert("version", 1);
        defaults.setValue(CaptureAnnotationDefaults::key, record);
        return CaptureAnnotationDefaults::load(defaults);
    }
    CaptureComposition loadDecoration(QJsonObject record, const QJsonValue &version = 1)
    {
        record.insert("version", version);
        defaults.setValue(CaptureDecorationDefaults::key, record);
        return CaptureDecorationDefaults::load(defaults);
    }
};

} // namespace

TEST_F(StyleDefaultsTest, AnnotationRoundTrip)
{
    const CaptureStyle style{.shapeMode = CaptureShapeMode::spotlight,
                             .spotlightOpacity = 70,
                             .brush = CaptureBrush::highlighter,
                             .brushOpacity = 50,
                             .blurRadius = 30,
                             .magnifierOval = false,
                             .magnifierZoom = 3,
                             .lineWidth = 12.5,
                             .fontName = "DejaVu Sans",
                             .fontSize = 48,
                             .bold = false,
                             .italic = true,
                             .underline = true,
                             .textBackgroundEnabled = true,
                             .textBackgroundColor = QColor::fromRgbF(0, 0, 0, 0.5f),
                             .arrowHead = CaptureArrowHead::both,
                             .arrowDash = CaptureArrowDash::dotted,
                             .arrowCurved = true,
                             .numberShape = CaptureNumberShape::teardrop,
                             .pixelSize = 64};
    const QColor green = QColor::fromRgbF(0, 1, 0, 1);
    CaptureAnnotationDefaults::save(style, green, defaults);
    const CaptureAnnotationDefaults::Loaded loaded = CaptureAnnotationDefaults::load(UserDefaults(defaults.filePath()));
    EXPECT_EQ(loaded.style, style);
    EXPECT_EQ(loaded.color, green);
}

TEST_F(StyleDefaultsTest, AnnotationRecordOfAnotherVersionGivesStartValues)
{
    for (const QJsonValue &version :
         {QJsonValue(2), QJsonValue("1"), QJsonValue(1.5), QJsonValue(QJsonValue::Undefined)}) {
        defaults.setValue(CaptureAnnotationDefaults::key, QJsonObject{{"lineWidth", 40}, {"version", version}});
        EXPECT_EQ(CaptureAnnotationDefaults::load(defaults).style, CaptureStyle())
            << version.toVariant().toString().toStdString();
    }
    defaults.setValue(CaptureAnnotationDefaults::key, "not a record");
    EXPECT_EQ(CaptureAnnotationDefaults::load(defaults).color, CaptureAnnotation::systemRed());
}

TEST_F(StyleDefaultsTest, AnnotationFieldsAreClampedOrIgnored)
{
    const std::pair<QJsonValue, double> lineWidths[] = {
        {500, 80}, {0.2, 1}, {"12", 5}, {true, 5}, {std::numeric_limits<double>::infinity(), 5}, {7, 7}};
    for (const auto &[stored, expected] : lineWidths)
        EXPECT_EQ(loadAnnotation({{"lineWidth", stored}}).style.lineWidth, expected)
            << stored.toVariant().toString().toStdString();
    const std::pair<QString, QString> fontNames[] = {
        {QString(300, 'a'), "System"}, {"", "System"}, {QString(256, 'b'), QString(256, 'b')}};
    for (const auto &[stored, expected] : fontNames)
        EXPECT_EQ(loadAnnotation({{"fontName", stored}}).style.fontName, expected) << stored.size();
    const CaptureAnnotationDefaults::Loaded loaded = loadAnnotation({{"shapeMode", "Fill"},
                                                                     {"brush", "highlighter"},
                                                                     {"arrowDash", 2},
                                                                     {"fontSize", 2},
                                                                     {"bold", 0},
                                                                     {"color", QJsonArray{1, 0, 0}}});
    EXPECT_EQ(loaded.style.shapeMode, CaptureShapeMode::outline);
    EXPECT_EQ(loaded.style.brush, CaptureBrush::highlighter);
    EXPECT_EQ(loaded.style.arrowDash, CaptureArrowDash::solid);
    EXPECT_EQ(loaded.style.fontSize, 8);
    EXPECT_TRUE(loaded.style.bold);
    EXPECT_EQ(loaded.color, CaptureAnnotation::systemRed());
    EXPECT_EQ(loadAnnotation({{"color", QJsonArray{0, 0.5, 1, 0.25}}}).color, QColor::fromRgbF(0, 0.5f, 1, 0.25f));
}

TEST_F(StyleDefaultsTest, DecorationRoundTripAndVersion)
{
    const CaptureComposition composition{.legend = {.placement = CaptureLegendPlacement::left},
                                         .background = CaptureBackground::gradient,
                                         .backgroundColor = QColor::fromRgbF(0.1f, 0.2f, 0.3f, 1),
                                         .gradientColor = QColor::fromRgbF(0.4f, 0.5f, 0.6f, 1),
                                         .padding = 40,
                                         .cornerRadius = 24,
                                         .shadow = 30,
                                         .borderWidth = 2,
                                         .borderColor = QColor::fromRgbF(0, 0, 0, 0.5f)};
    CaptureDecorationDefaults::save(composition, defaults);
    CaptureComposition expected = composition;
    expected.legend = CaptureLegendSettings();
    EXPECT_EQ(CaptureDecorationDefaults::load(UserDefaults(defaults.filePath())), expected);
    EXPECT_EQ(loadDecoration({{"padding", 40}}, 2), CaptureComposition());
}

TEST_F(StyleDefaultsTest, DecorationFieldsFallBackToZeroAndTransparent)
{
    CaptureComposition composition =
        loadDecoration({{"padding", 5000}, {"radius", -3}, {"shadow", "20"}, {"background", "solid"}});
    EXPECT_EQ(composition.padding, 1024);
    EXPECT_EQ(composition.cornerRadius, 0);
    EXPECT_EQ(composition.shadow, 0);
    EXPECT_EQ(composition.background, CaptureBackground::solid);
    composition = loadDecoration({{"background", "Solid"}, {"border", 500}, {"color", QJsonArray{1, 0, 0}}});
    EXPECT_EQ(composition.background, CaptureBackground::transparent);
    EXPECT_EQ(composition.padding, 0);
    EXPECT_EQ(composition.borderWidth, 100);
    EXPECT_EQ(composition.backgroundColor, CaptureComposition().backgroundColor);
}
