#pragma once

#include <QFont>
#include <QSizeF>
#include <QString>
#include <QTextCharFormat>

class QPainter;
class QPaintDevice;

// Text of marks and of the legend, laid out with one engine for measuring and
// drawing. Sizes are pixels of the device the text is drawn on.
namespace CaptureText {

// A device with the metrics of the export bitmap, for measuring outside a paint.
QPaintDevice *measuringDevice();

// A text mark: one line per line break, never wrapped, origin at the top-left of the first line.
QSizeF markSize(const QString &text, const QTextCharFormat &format, QPaintDevice *device);
void drawMark(QPainter &painter, const QString &text, const QTextCharFormat &format, const QPointF &origin);

// The legend font: the system font, 18 pixels.
QFont legendFont();
// A legend row wrapped at words into `width`, lines 3 pixels apart.
double legendRowHeight(const QString &row, double width, QPaintDevice *device);
void drawLegendRow(QPainter &painter, const QString &row, const QRectF &box);

} // namespace CaptureText
