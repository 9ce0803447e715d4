#include "CaptureToolTable.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

using Kind = CaptureToolControlKind;
using Condition = CaptureControlCondition;

constexpr const char *context = "CaptureTool";
constexpr const char *pixels = QT_TRANSLATE_NOOP("CaptureTool", "px");

constexpr CaptureStyleNumber styleNumberRows[] = {
    {"lineWidth", &CaptureStyle::lineWidth, {1, 80}},
    {"spotlightOpacity", &CaptureStyle::spotlightOpacity, {5, 95}},
    {"brushOpacity", &CaptureStyle::brushOpacity, {5, 80}},
    {"blurRadius", &CaptureStyle::blurRadius, {1, 80}},
    {"pixelSize", &CaptureStyle::pixelSize, {2, 128}},
    {"magnifierZoom", &CaptureStyle::magnifierZoom, {1, 8}},
    {"fontSize", &CaptureStyle::fontSize, {CaptureStyle::minimumFontSize, CaptureStyle::maximumFontSize}},
};

constexpr CaptureToolControl colorWell{.kind = Kind::color, .label = QT_TRANSLATE_NOOP("CaptureTool", "Color")};
constexpr CaptureToolControl lineWidth{.kind = Kind::slider,
                                       .label = QT_TRANSLATE_NOOP("CaptureTool", "Line width"),
                                       .field = &CaptureStyle::lineWidth,
                                       .range = {1, 80},
                                       .unit = pixels};
constexpr const char *effectOnly =
    QT_TRANSLATE_NOOP("CaptureTool", "Visual effect only. Use Black redaction or Secure mosaic for sensitive "
                                     "information.");

constexpr CaptureToolControl selectControls[] = {
    {.kind = Kind::help,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Select an annotation to change its color, shape or text.")},
};

constexpr CaptureToolControl arrowControls[] = {colorWell, lineWidth, {.kind = Kind::arrowControls}};

constexpr CaptureToolControl shapeControls[] = {
    colorWell,
    lineWidth,
    {.kind = Kind::shapeModePicker, .label = QT_TRANSLATE_NOOP("CaptureTool", "Appearance")},
    {.kind = Kind::slider,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Outside opacity"),
     .field = &CaptureStyle::spotlightOpacity,
     .range = {5, 95},
     .unit = "%",
     .condition = Condition::spotlight},
    {.kind = Kind::help,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Hold Shift to draw a square or circle. Use Select and the corner "
                                               "handles to adjust the area afterward.")},
};

constexpr CaptureToolControl freehandControls[] = {
    colorWell,
    lineWidth,
    {.kind = Kind::brushPicker, .label = QT_TRANSLATE_NOOP("CaptureTool", "Brush")},
    {.kind = Kind::slider,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Opacity"),
     .field = &CaptureStyle::brushOpacity,
     .range = {5, 80},
     .unit = "%",
     .condition = Condition::highlighter},
};

constexpr CaptureToolControl magnifierControls[] = {
    {.kind = Kind::ovalLensToggle, .label = QT_TRANSLATE_NOOP("CaptureTool", "Oval lens")},
    {.kind = Kind::lensFigures},
    {.kind = Kind::slider,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Outline width"),
     .field = &CaptureStyle::lineWidth,
     .range = {1, 20},
     .unit = pixels},
    {.kind = Kind::color, .label = QT_TRANSLATE_NOOP("CaptureTool", "Outline")},
    {.kind = Kind::help,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Draw the source first, then draw the enlarged destination. In Select, "
                                               "drag either area to move it or its corner handles to resize it "
                                               "independently.")},
};

constexpr CaptureToolControl textControls[] = {
    colorWell,
    {.kind = Kind::fontPicker, .label = QT_TRANSLATE_NOOP("CaptureTool", "Font")},
    {.kind = Kind::slider,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Size"),
     .field = &CaptureStyle::fontSize,
     .range = {10, 120},
     .unit = QT_TRANSLATE_NOOP("CaptureTool", "pt")},
    {.kind = Kind::textTraits},
    {.kind = Kind::textBackground, .label = QT_TRANSLATE_NOOP("CaptureTool", "Text background")},
};

constexpr CaptureToolControl numberControls[] = {
    colorWell,
    {.kind = Kind::numberShapePicker, .label = QT_TRANSLATE_NOOP("CaptureTool", "Shape")},
    {.kind = Kind::slider,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Size"),
     .field = &CaptureStyle::fontSize,
     .range = {12, 96},
     .unit = QT_TRANSLATE_NOOP("CaptureTool", "pt")},
};

constexpr CaptureToolControl redactControls[] = {
    {.kind = Kind::help,
     .label =
         QT_TRANSLATE_NOOP("CaptureTool", "Opaque black permanently hides the covered pixels in exported images.")},
    {.kind = Kind::detectionControls},
};

constexpr CaptureToolControl mosaicControls[] = {
    {.kind = Kind::help, .label = QT_TRANSLATE_NOOP("CaptureTool", "Opaque mosaic contains no original pixels.")},
    {.kind = Kind::slider,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Block size"),
     .field = &CaptureStyle::pixelSize,
     .range = {4, 48},
     .unit = pixels},
    {.kind = Kind::detectionControls},
};

constexpr CaptureToolControl blurControls[] = {
    {.kind = Kind::slider,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Blur radius"),
     .field = &CaptureStyle::blurRadius,
     .range = {1, 80},
     .unit = pixels},
    {.kind = Kind::help, .label = effectOnly},
};

constexpr CaptureToolControl pixelateControls[] = {
    {.kind = Kind::slider,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Block size"),
     .field = &CaptureStyle::pixelSize,
     .range = {2, 128},
     .unit = pixels},
    {.kind = Kind::help, .label = effectOnly},
};

constexpr CaptureToolControl cropControls[] = {
    {.kind = Kind::help,
     .label = QT_TRANSLATE_NOOP("CaptureTool", "Drag on the image to crop. Your annotations stay editable.")},
};

constexpr const char *shapeInstruction = QT_TRANSLATE_NOOP(
    "CaptureTool",
    "Drag a shape. Hold Shift for a square or circle. Choose outline, fill or spotlight in the inspector.");

constexpr CaptureToolRow toolRows[] = {
    {CaptureTool::select, QT_TRANSLATE_NOOP("CaptureTool", "Select"), "cursorarrow", "", 'V',
     QT_TRANSLATE_NOOP("CaptureTool", "Click an annotation to select it. Drag to move; use arrow handles to reshape."),
     nullptr, selectControls},
    {CaptureTool::arrow, QT_TRANSLATE_NOOP("CaptureTool", "Arrow"), "arrow.up.right", "", 'A',
     QT_TRANSLATE_NOOP("CaptureTool", "Drag from tail to tip. Select the arrow to adjust its ends or curve."), nullptr,
     arrowControls},
    {CaptureTool::rectangle, QT_TRANSLATE_NOOP("CaptureTool", "Rectangle"), "rectangle", "", 'R', shapeInstruction,
     nullptr, shapeControls},
    {CaptureTool::oval, QT_TRANSLATE_NOOP("CaptureTool", "Oval"), "oval", "", 'O', shapeInstruction, nullptr,
     shapeControls},
    {CaptureTool::freehand, QT_TRANSLATE_NOOP("CaptureTool", "Freehand"), "pencil.tip", "draw-freehand", 'P',
     QT_TRANSLATE_NOOP("CaptureTool", "Drag to draw. Choose Pen or Highlighter and adjust width in the inspector."),
     nullptr, freehandControls},
    {CaptureTool::magnifier, QT_TRANSLATE_NOOP("CaptureTool", "Magnifier"), "plus.magnifyingglass", "zoom-in", 'M',
     QT_TRANSLATE_NOOP("CaptureTool", "First, drag over the source area to magnify."),
     QT_TRANSLATE_NOOP("CaptureTool",
                       "Now drag the enlarged destination. Escape cancels. Move and resize both areas independently "
                       "with Select."),
     magnifierControls},
    {CaptureTool::text, QT_TRANSLATE_NOOP("CaptureTool", "Text"), "textformat", "insert-text", 'T',
     QT_TRANSLATE_NOOP("CaptureTool", "Click anywhere to type. Click outside the text to finish."), nullptr,
     textControls},
    {CaptureTool::number, QT_TRANSLATE_NOOP("CaptureTool", "Number"), "1.circle", "", 'N',
     QT_TRANSLATE_NOOP("CaptureTool",
                       "Click to place the next marker. Add descriptions in the inspector\u2019s legend."),
     nullptr, numberControls},
    {CaptureTool::redact, QT_TRANSLATE_NOOP("CaptureTool", "Redact"), "rectangle.fill", "", 'X',
     QT_TRANSLATE_NOOP("CaptureTool",
                       "Drag over private content, or detect text and click a highlighted region to hide it."),
     nullptr, redactControls},
    {CaptureTool::pixelate, QT_TRANSLATE_NOOP("CaptureTool", "Secure mosaic"), "square.grid.3x3.fill", "", 'S',
     QT_TRANSLATE_NOOP("CaptureTool",
                       "Drag to hide an area with an opaque pixel pattern. Adjust block size in the inspector."),
     nullptr, mosaicControls},
    {CaptureTool::blur, QT_TRANSLATE_NOOP("CaptureTool", "Blur"), "drop.halffull", "", 'B',
     QT_TRANSLATE_NOOP("CaptureTool",
                       "Drag to soften an area. For private content, use Black redaction or Secure mosaic."),
     nullptr, blurControls},
    {CaptureTool::imagePixelate, QT_TRANSLATE_NOOP("CaptureTool", "Pixelate"), "square.grid.3x3", "", 'G',
     QT_TRANSLATE_NOOP("CaptureTool", "Drag to pixelate the image. This visual effect is not secure redaction."),
     nullptr, pixelateControls},
    {CaptureTool::crop, QT_TRANSLATE_NOOP("CaptureTool", "Crop"), "crop", "transform-crop", 'C',
     QT_TRANSLATE_NOOP("CaptureTool", "Drag to keep an area. Use Undo to restore the previous crop."), nullptr,
     cropControls},
};

// The table lists every tool once, in case order, so a tool's row is found by its value.
constexpr bool rowsFollowTheCases()
{
    const auto cases = allCases<CaptureTool>();
    if (std::size(toolRows) != cases.size())
        return false;
    for (std::size_t index = 0; index < cases.size(); ++index) {
        if (toolRows[index].tool != cases[index])
            return false;
    }
    return true;
}
static_assert(rowsFollowTheCases(), "the tool table needs one row per tool, in case order");

QString translated(const char *text)
{
    return QCoreApplication::translate(context, text);
}

} // namespace

double CaptureValueRange::clamped(double value, double fallback) const
{
    return std::isfinite(value) ? std::clamp(value, low, high) : fallback;
}

QString CaptureToolControl::labelText() const
{
    return label ? translated(label) : QString();
}

QString CaptureToolControl::unitText() const
{
    return unit ? translated(unit) : QString();
}

bool CaptureToolControl::shownFor(const CaptureStyle &style) const
{
    switch (condition) {
    case CaptureControlCondition::always:
        return true;
    case CaptureControlCondition::spotlight:
        return style.shapeMode == CaptureShapeMode::spotlight;
    case CaptureControlCondition::highlighter:
        return style.brush == CaptureBrush::highlighter;
    }
    return true;
}

std::span<const CaptureToolRow> CaptureToolTable::rows()
{
    return toolRows;
}

const CaptureToolRow &CaptureToolTable::row(CaptureTool tool)
{
    return toolRows[std::size_t(tool)];
}

QString CaptureToolTable::title(CaptureTool tool)
{
    return translated(row(tool).title);
}

QString CaptureToolTable::instruction(CaptureTool tool, bool magnifierPending)
{
    const CaptureToolRow &entry = row(tool);
    return translated(magnifierPending && entry.pendingInstruction ? entry.pendingInstruction : entry.instruction);
}

QChar CaptureToolTable::key(CaptureTool tool)
{
    return QLatin1Char(row(tool).key);
}

std::optional<CaptureTool> CaptureToolTable::toolForKey(int key)
{
    const auto found =
        std::find_if(toolRows, std::end(toolRows), [key](const CaptureToolRow &entry) { return entry.key == key; });
    return found == std::end(toolRows) ? std::nullopt : std::optional(found->tool);
}

std::span<const CaptureStyleNumber> CaptureToolTable::styleNumbers()
{
    return styleNumberRows;
}

CaptureValueRange CaptureToolTable::storedRange(double CaptureStyle::*field)
{
    const auto found = std::find_if(std::begin(styleNumberRows), std::end(styleNumberRows),
                                    [field](const CaptureStyleNumber &number) { return number.field == field; });
    return found->stored;
}

CaptureValueRange CaptureToolTable::range(CaptureTool tool, double CaptureStyle::*field)
{
    for (const CaptureToolControl &control : row(tool).controls) {
        if (control.kind == CaptureToolControlKind::slider && control.field == field)
            return control.range;
    }
    return storedRange(field);
}

double CaptureToolTable::clamped(CaptureTool tool, double CaptureStyle::*field, double value)
{
    return range(tool, field).clamped(value, CaptureStyle().*field);
}

CaptureStyle CaptureToolTable::clampedStyle(CaptureTool tool, CaptureStyle style)
{
    for (const CaptureStyleNumber &number : styleNumberRows)
        style.*number.field = clamped(tool, number.field, style.*number.field);
    return style;
}
