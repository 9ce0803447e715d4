#pragma once

#include "CaptureArrowDash.h"
#include "CaptureArrowHead.h"
#include "CaptureBrush.h"
#include "CaptureNumberShape.h"
#include "CaptureShapeMode.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextCharFormat>

// How marks are drawn. The document holds the current style; every annotation
// keeps its own copy. Sizes are image pixels.
struct CaptureStyle {
    static constexpr double minimumFontSize = 8;
    static constexpr double maximumFontSize = 300;
    static inline const QString systemFontName = QStringLiteral("System");

    CaptureShapeMode shapeMode = CaptureShapeMode::outline;
    double spotlightOpacity = 45;
    CaptureBrush brush = CaptureBrush::pen;
    double brushOpacity = 35;
    double blurRadius = 16;
    bool magnifierOval = true;
    double magnifierZoom = 2;
    double lineWidth = 5;
    QString fontName = systemFontName;
    double fontSize = 32;
    bool bold = true;
    bool italic = false;
    bool underline = false;
    bool textBackgroundEnabled = false;
    QColor textBackgroundColor = QColor::fromRgbF(1, 1, 1, 1);
    CaptureArrowHead arrowHead = CaptureArrowHead::end;
    CaptureArrowDash arrowDash = CaptureArrowDash::solid;
    bool arrowCurved = false;
    CaptureNumberShape numberShape = CaptureNumberShape::circle;
    double pixelSize = 12;

    // The text font: `fontSize` clamped into 8...300 as a pixel size; "System"
    // or a family that is not installed gives the desktop's sans-serif font;
    // bold and italic are applied in every case.
    QFont font() const;
    // Font and colour, and underline only when `underline` is set.
    QTextCharFormat textAttributes(const QColor &color) const;

    bool operator==(const CaptureStyle &) const = default;
};
