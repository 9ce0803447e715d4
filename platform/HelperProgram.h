#pragma once

#include <QCoreApplication>
#include <QString>

// The app's private helper programs (tavimo-ocr): beside the executable in
// the build tree, in libexec/tavimo-capture of an installed tree.
namespace HelperProgram {

// The first of the two places that holds `name`; the installed place when
// neither does.
QString path(const QString &name, const QString &executableFolder = QCoreApplication::applicationDirPath());

} // namespace HelperProgram
