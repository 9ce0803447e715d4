#include "CaptureStyle.h"

#include <QFontDatabase>

#include <algorithm>
#include <cmath>

namespace {

QFont systemFont()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
}

QFont baseFont(const QString &name)
{
    if (name == CaptureStyle::systemFontName || !QFontDatabase::hasFamily(name))
        return systemFont();
    return QFont(name);
}

} // namespace

QFont CaptureStyle::font() const
{
    const double size = std::isfinite(fontSize) ? fontSize : CaptureStyle().fontSize;
    QFont result = baseFont(fontName);
    result.setPixelSize(qRound(std::clamp(size, minimumFontSize, maximumFontSize)));
    result.setBold(bold);
    result.setItalic(italic);
    return result;
}

QTextCharFormat CaptureStyle::textAttributes(const QColor &color) const
{
    QTextCharFormat format;
    format.setFont(font(), QTextCharFormat::FontPropertiesSpecifiedOnly);
    format.setForeground(color);
    if (underline)
        format.setFontUnderline(true);
    return format;
}
