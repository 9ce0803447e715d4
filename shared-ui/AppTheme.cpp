#include "AppTheme.h"

#include "BundleInfo.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleHints>

namespace {

QColor hex(const char *value)
{
    return QColor(QString::fromLatin1(value));
}

QColor rgb(double red, double green, double blue)
{
    return QColor::fromRgbF(float(red), float(green), float(blue), 1);
}

// The desktop's palette as it was before the app forced an appearance.
QPalette &systemPalette()
{
    static QPalette palette = QGuiApplication::palette();
    return palette;
}

QPalette darkPalette()
{
    QPalette palette;
    const QColor window(45, 45, 48), base(30, 30, 32), text(235, 235, 235), disabled(128, 128, 128);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, disabled);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(58, 58, 62));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Light, QColor(80, 80, 84));
    palette.setColor(QPalette::Midlight, QColor(66, 66, 70));
    palette.setColor(QPalette::Mid, QColor(40, 40, 42));
    palette.setColor(QPalette::Dark, QColor(20, 20, 22));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, AppTheme::controlAccentColor(AppTheme::Product::capture, true));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, AppTheme::accentColor(AppTheme::Product::capture, true));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabled);
    return palette;
}

QPalette lightPalette()
{
    QPalette palette = QApplication::style() ? QApplication::style()->standardPalette() : QPalette();
    palette.setColor(QPalette::Highlight, AppTheme::controlAccentColor(AppTheme::Product::capture, false));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

bool paletteIsDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5;
}

} // namespace

QString AppTheme::rawValue(Product product)
{
    return product == Product::capture ? QStringLiteral("capture") : QStringLiteral("suite");
}

QString AppTheme::bundleIdentifier(Product product)
{
    return QStringLiteral("local.tavimo.") + rawValue(product);
}

AppTheme::Product AppTheme::resolve(const QString &identifier)
{
    for (Product member : {Product::suite, Product::capture}) {
        const QString own = bundleIdentifier(member);
        if (identifier == own || identifier.startsWith(own + QLatin1Char('.')))
            return member;
    }
    return Product::suite;
}

AppTheme::Product AppTheme::product()
{
    static const Product resolved = resolve(BundleInfo::main().value(QStringLiteral("CFBundleIdentifier")));
    return resolved;
}

QColor AppTheme::accentColor(Product product, bool dark)
{
    Q_UNUSED(product);
    return dark ? hex("#32D6CC") : hex("#00767D");
}

QColor AppTheme::controlAccentColor(Product product, bool dark)
{
    Q_UNUSED(product);
    return dark ? hex("#007C83") : hex("#00767D");
}

QColor AppTheme::warningColor(bool dark)
{
    return dark ? rgb(1.0, 0.65, 0.3) : rgb(0.58, 0.28, 0.04);
}

QColor AppTheme::canvasColor(bool dark)
{
    return dark ? rgb(0.102, 0.11, 0.122) : rgb(0.965, 0.973, 0.98);
}

bool AppTheme::isDark()
{
    return paletteIsDark(QGuiApplication::palette());
}

QColor AppTheme::accent()
{
    return accentColor(product(), isDark());
}

QColor AppTheme::controlAccent()
{
    return controlAccentColor(product(), isDark());
}

QColor AppTheme::warning()
{
    return warningColor(isDark());
}

QColor AppTheme::canvas()
{
    return canvasColor(isDark());
}

std::optional<AppTheme::ColorScheme> AppTheme::scheme(const QString &appearance)
{
    if (appearance == QLatin1String("light"))
        return ColorScheme::light;
    if (appearance == QLatin1String("dark"))
        return ColorScheme::dark;
    return std::nullopt;
}

bool AppTheme::systemIsDark()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    const Qt::ColorScheme reported = QGuiApplication::styleHints()->colorScheme();
    if (reported != Qt::ColorScheme::Unknown)
        return reported == Qt::ColorScheme::Dark;
#endif
    return paletteIsDark(systemPalette());
}

void AppTheme::apply(const QString &appearance)
{
    systemPalette(); // remember the desktop's palette before the first change
    const std::optional<ColorScheme> forced = scheme(appearance);
    if (!forced)
        QApplication::setPalette(systemPalette());
    else
        QApplication::setPalette(*forced == ColorScheme::dark ? darkPalette() : lightPalette());
}
