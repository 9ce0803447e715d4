#pragma once

#include <QString>

// Menus and buttons take "&" as the mark of the accelerator key after it.
namespace AcceleratorText {

// `text` shown exactly as it stands in a menu or on a button: every "&" doubled.
QString literal(const QString &text);

} // namespace AcceleratorText
