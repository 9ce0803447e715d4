#pragma once

#include "CaptureStyle.h"
#include "CaptureTool.h"

#include <QChar>
#include <QString>

#include <optional>
#include <span>

// The range of a style value as one tool uses it. Every tool shares the
// document's style, but each shows and draws a value clamped into its own
// range: a 30-pixel highlighter leaves the next magnifier outline at 20.
struct CaptureValueRange {
    double low = 0;
    double high = 0;

    // `value` within the range; `fallback` when it is not a finite number.
    double clamped(double value, double fallback) const;
    bool contains(const CaptureValueRange &other) const { return low <= other.low && other.high <= high; }
};

// A number of the style as the annotation defaults store it: its key in the
// stored record and the range a loaded value is clamped into, the widest any
// tool offers.
struct CaptureStyleNumber {
    const char *key;
    double CaptureStyle::*field;
    CaptureValueRange stored;
};

// What the inspector shows for a tool, in the order listed.
enum class CaptureToolControlKind {
    help,
    color,
    slider,
    shapeModePicker,
    brushPicker,
    numberShapePicker,
    ovalLensToggle,
    lensFigures,
    arrowControls,
    fontPicker,
    textTraits,
    textBackground,
    detectionControls,
};

// Some controls only matter while the style asks for them.
enum class CaptureControlCondition {
    always,
    spotlight,
    highlighter,
};

struct CaptureToolControl {
    CaptureToolControlKind kind;
    // The control's title, or a help line's text; untranslated.
    const char *label = nullptr;
    // Sliders: the style field, its range and unit.
    double CaptureStyle::*field = nullptr;
    CaptureValueRange range{};
    const char *unit = nullptr;
    CaptureControlCondition condition = CaptureControlCondition::always;

    QString labelText() const;
    QString unitText() const;
    bool shownFor(const CaptureStyle &style) const;
};

// Everything a tool is, in one row: its name, icon, key, instruction and
// the inspector controls with their ranges.
struct CaptureToolRow {
    CaptureTool tool;
    const char *title;
    // The SVG the app ships as :/icons/<symbol>.svg.
    const char *symbol;
    // A freedesktop icon name that fits, preferred when the theme has it; empty where none does.
    const char *themeIcon;
    // The letter that picks the tool while the canvas has focus.
    char key;
    const char *instruction;
    // The magnifier's second step, once its source is drawn; else null.
    const char *pendingInstruction;
    std::span<const CaptureToolControl> controls;
};

namespace CaptureToolTable {

// One row per tool, in tool-bar order.
std::span<const CaptureToolRow> rows();
const CaptureToolRow &row(CaptureTool tool);

// The translated label, tooltip and accessibility name.
QString title(CaptureTool tool);
// The one-line hint under the tool bar for the current tool.
QString instruction(CaptureTool tool, bool magnifierPending);
QChar key(CaptureTool tool);
// The tool a single key picks; none for other keys.
std::optional<CaptureTool> toolForKey(int key);

// The numbers of the style with their stored keys and clamps.
std::span<const CaptureStyleNumber> styleNumbers();
CaptureValueRange storedRange(double CaptureStyle::*field);
// The range `tool` shows and draws `field` in: its slider's range, else
// the stored range.
CaptureValueRange range(CaptureTool tool, double CaptureStyle::*field);
// `value` of `field` as `tool` draws it; a value that is not a number
// gives the default style's.
double clamped(CaptureTool tool, double CaptureStyle::*field, double value);
// `style` with every number clamped into the ranges of `tool`.
CaptureStyle clampedStyle(CaptureTool tool, CaptureStyle style);

} // namespace CaptureToolTable
