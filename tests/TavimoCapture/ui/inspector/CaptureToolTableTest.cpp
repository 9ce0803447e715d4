#include "ImageInk.h"
#include "InspectorFixture.h"

#include "CaptureAnnotationDefaults.h"
#include "CaptureToolButton.h"
#include "CaptureToolTable.h"
#include "UserDefaults.h"

#include <QFile>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

// Detail everywhere, so that blur radius and block sizes show.
QImage stripes()
{
    QImage image(240, 180, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, ((x / 3 + y / 7) % 2) ? QColor(20, 40, 200) : QColor(240, 220, 30 + y));
    return image;
}

// The style a slider is shown in: its condition met, `field` set to `value`.
CaptureStyle styleFor(const CaptureToolControl &slider, double value)
{
    CaptureStyle style;
    if (slider.condition == CaptureControlCondition::spotlight)
        style.shapeMode = CaptureShapeMode::spotlight;
    if (slider.condition == CaptureControlCondition::highlighter)
        style.brush = CaptureBrush::highlighter;
    style.*slider.field = value;
    return style;
}

// One mark of `tool` in that style, exported.
QImage drawn(CaptureTool tool, const CaptureToolControl &slider, double value)
{
    CaptureDocument document(stripes());
    document.setStyle(styleFor(slider, value));
    document.setTool(tool);
    document.setText(QStringLiteral("Hg"));
    if (tool == CaptureTool::magnifier) {
        document.beginMagnifier(QPointF(20, 20), QPointF(60, 60));
        document.finishMagnifier(QPointF(110, 70), QPointF(220, 170));
    } else {
        document.finishGesture(QPointF(40, 40), QPointF(200, 140));
    }
    EXPECT_EQ(document.annotations().size(), 1) << rawValue(tool).toStdString();
    return document.flattenedImage();
}

} // namespace

TEST_F(InspectorTest, EveryToolHasAKeyATitleAnIconAndAnInstruction)
{
    ASSERT_EQ(CaptureToolTable::rows().size(), allCases<CaptureTool>().size());
    QSet<QChar> keys;
    QSet<QString> titles;
    for (const CaptureTool tool : allCases<CaptureTool>()) {
        SCOPED_TRACE(rawValue(tool).toStdString());
        const CaptureToolRow &row = CaptureToolTable::row(tool);
        EXPECT_EQ(row.tool, tool);
        const QChar key = CaptureToolTable::key(tool);
        EXPECT_TRUE(key >= QLatin1Char('A') && key <= QLatin1Char('Z'));
        EXPECT_FALSE(keys.contains(key));
        keys.insert(key);
        EXPECT_EQ(CaptureToolTable::toolForKey(key.unicode()), tool);
        const QString title = CaptureToolTable::title(tool);
        EXPECT_FALSE(title.isEmpty());
        EXPECT_FALSE(titles.contains(title));
        titles.insert(title);
        EXPECT_EQ(CaptureToolButton(document, tool).toolTip(), QStringLiteral("%1 (%2)").arg(title, QString(key)));

        const QString icon = QStringLiteral(":/icons/%1.svg").arg(QLatin1String(row.symbol));
        EXPECT_TRUE(QFile::exists(icon)) << icon.toStdString();
        EXPECT_TRUE(hasInk(QIcon(icon).pixmap(24, 24).toImage())) << icon.toStdString();
        EXPECT_TRUE(hasInk(CaptureToolButton::icon(tool).pixmap(24, 24).toImage()));

        EXPECT_FALSE(CaptureToolTable::instruction(tool, false).isEmpty());
        EXPECT_EQ(CaptureToolTable::instruction(tool, true) != CaptureToolTable::instruction(tool, false),
                  tool == CaptureTool::magnifier)
            << "only the magnifier has a second step";
    }
    EXPECT_FALSE(CaptureToolTable::toolForKey(Qt::Key_Z)) << "a letter no tool uses";
}

// What the table lists, the inspector shows for the tool: conditional
// controls only while the style asks for them.
TEST_F(InspectorTest, TheInspectorShowsTheControlsTheTableLists)
{
    const auto helpShown = [this](const QString &text) {
        const QList<QLabel *> labels = inspector->findChildren<QLabel *>();
        return std::any_of(labels.cbegin(), labels.cend(), [&](const QLabel *label) {
            return label->text() == text && label->isVisibleTo(inspector.get());
        });
    };
    for (const CaptureTool tool : allCases<CaptureTool>()) {
        SCOPED_TRACE(rawValue(tool).toStdString());
        for (const bool conditionsMet : {false, true}) {
            CaptureStyle style;
            if (conditionsMet) {
                style.shapeMode = CaptureShapeMode::spotlight;
                style.brush = CaptureBrush::highlighter;
            }
            document->setStyle(style);
            document->setTool(tool);
            for (const CaptureToolControl &listed : CaptureToolTable::row(tool).controls) {
                if (listed.kind == CaptureToolControlKind::help) {
                    EXPECT_TRUE(helpShown(listed.labelText())) << listed.label;
                    continue;
                }
                if (!listed.label)
                    continue;
                const bool shown = listed.condition == CaptureControlCondition::always || conditionsMet;
                EXPECT_EQ(control(listed.labelText()) != nullptr, shown) << listed.label;
            }
        }
    }
}

// A value beyond a tool's range shows in the inspector, draws, and loads
// from the stored defaults as the range's end; within the range it counts.
TEST_F(InspectorTest, EachRangeAgreesInTheInspectorTheRendererAndTheStoredDefaults)
{
    for (const CaptureTool tool : allCases<CaptureTool>()) {
        for (const CaptureToolControl &slider : CaptureToolTable::row(tool).controls) {
            if (slider.kind != CaptureToolControlKind::slider)
                continue;
            SCOPED_TRACE(rawValue(tool).toStdString() + " " + slider.label);
            const CaptureValueRange range = slider.range;
            ASSERT_TRUE(slider.field && range.low < range.high);
            EXPECT_EQ(CaptureToolTable::range(tool, slider.field).low, range.low);
            EXPECT_EQ(CaptureToolTable::range(tool, slider.field).high, range.high);
            const CaptureValueRange stored = CaptureToolTable::storedRange(slider.field);
            EXPECT_TRUE(stored.contains(range)) << "a stored value every tool can show";

            const struct {
                double value;
                double shown;
            } beyond[] = {{range.low / 2, range.low}, {range.high * 2, range.high}};
            for (const auto &[value, shown] : beyond) {
                document->setStyle(styleFor(slider, value));
                document->setTool(tool);
                ASSERT_TRUE(this->slider(slider.labelText()));
                EXPECT_EQ(this->slider(slider.labelText())->minimum(), int(range.low));
                EXPECT_EQ(this->slider(slider.labelText())->maximum(), int(range.high));
                EXPECT_EQ(this->slider(slider.labelText())->value(), int(shown));
                EXPECT_EQ(control<QLabel>(slider.labelText() + QStringLiteral(":value"))->text(),
                          QStringLiteral("%1 %2").arg(qint64(shown)).arg(slider.unitText()));
                EXPECT_EQ(drawn(tool, slider, value), drawn(tool, slider, shown)) << value;
            }
            const double middle = std::round((range.low + range.high) / 2);
            EXPECT_NE(drawn(tool, slider, middle), drawn(tool, slider, range.high)) << "the value is drawn";
        }
    }

    for (const CaptureStyleNumber &number : CaptureToolTable::styleNumbers()) {
        SCOPED_TRACE(number.key);
        for (const double value : {number.stored.low - 100, number.stored.high * 2}) {
            defaults->setValue(CaptureAnnotationDefaults::key,
                               QJsonObject{{QStringLiteral("version"), 1}, {QLatin1String(number.key), value}});
            EXPECT_EQ(CaptureAnnotationDefaults::load(*defaults).style.*number.field, number.stored.clamped(value, 0));
        }
    }
}
