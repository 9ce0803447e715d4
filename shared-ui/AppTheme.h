#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QApplication;

// The suite's palette and appearance switch. Colours are resolved
// for light or dark appearance; "dark" follows the application palette, which
// is the desktop's palette unless the user forced light or dark for this app.
namespace AppTheme {

// The members of the suite, in resolution order; `capture` is this app.
enum class Product { suite, capture };

// Light or dark; none means follow the system.
enum class ColorScheme { light, dark };

QString rawValue(Product product);
QString bundleIdentifier(Product product);
// The member whose bundle identifier equals `identifier` or starts it followed
// by "."; the first member when none matches.
Product resolve(const QString &bundleIdentifier);
// The running app's member, resolved once from BundleInfo::main().
Product product();

QColor accentColor(Product product, bool dark);
QColor controlAccentColor(Product product, bool dark);
QColor warningColor(bool dark);
QColor canvasColor(bool dark);

// Whether the application currently draws in dark appearance.
bool isDark();
// The running member's colours for the current appearance.
QColor accent();
QColor controlAccent();
QColor warning();
QColor canvas();

// "light" and "dark" force a scheme; anything else follows the system.
std::optional<ColorScheme> scheme(const QString &appearance);
// Whether the desktop itself is dark: QStyleHints::colorScheme() where Qt
// reports it, else the lightness of the system palette's window colour.
bool systemIsDark();
// Applies the stored appearance to the running application: a light or dark
// palette for this app only, or the desktop's palette for "system".
void apply(const QString &appearance);

} // namespace AppTheme
