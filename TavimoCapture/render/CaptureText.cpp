#include "CaptureText.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTextLayout>

namespace {

constexpr double legendLineSpacing = 3;
constexpr int legendFontPixelSize = 18;
constexpr double unboundedWidth = 1e7;

struct LaidOut {
    double width = 0;
    double height = 0;
};

LaidOut layOut(QTextLayout &layout, double width, double spacing, bool leadingIncluded)
{
    LaidOut size;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(leadingIncluded);
        line.setLineWidth(width);
        if (size.height > 0)
            size.height += spacing;
        line.setPosition(QPointF(0, size.height));
        size.height += line.height();
        size.width = std::max(size.width, line.naturalTextWidth());
    }
    layout.endLayout();
    return size;
}

void prepareMark(QTextLayout &layout, const QTextCharFormat &format)
{
    QString text = layout.text();
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    layout.setText(text);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    QTextLayout::FormatRange range;
    range.start = 0;
    range.length = int(text.size());
    range.format = format;
    layout.setFormats({range});
}

void prepareLegendRow(QTextLayout &layout)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
}

} // namespace

QPaintDevice *CaptureText::measuringDevice()
{
    thread_local QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    return &device;
}

QSizeF CaptureText::markSize(const QString &text, const QTextCharFormat &format, QPaintDevice *device)
{
    QTextLayout layout(text, format.font(), device);
    prepareMark(layout, format);
    const LaidOut size = layOut(layout, unboundedWidth, 0, false);
    return QSizeF(size.width, size.height);
}

void CaptureText::drawMark(QPainter &painter, const QString &text, const QTextCharFormat &format, const QPointF &origin)
{
    QTextLayout layout(text, format.font(), painter.device());
    prepareMark(layout, format);
    layOut(layout, unboundedWidth, 0, false);
    painter.save();
    painter.setPen(format.foreground().color());
    layout.draw(&painter, origin);
    painter.restore();
}

QFont CaptureText::legendFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(legendFontPixelSize);
    return font;
}

double CaptureText::legendRowHeight(const QString &row, double width, QPaintDevice *device)
{
    QTextLayout layout(row, legendFont(), device);
    prepareLegendRow(layout);
    return layOut(layout, width, legendLineSpacing, true).height;
}

void CaptureText::drawLegendRow(QPainter &painter, const QString &row, const QRectF &box)
{
    QTextLayout layout(row, legendFont(), painter.device());
    prepareLegendRow(layout);
    layOut(layout, box.width(), legendLineSpacing, true);
    painter.save();
    painter.setPen(Qt::black);
    layout.draw(&painter, box.topLeft());
    painter.restore();
}
