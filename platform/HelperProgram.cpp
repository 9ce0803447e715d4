#include "HelperProgram.h"

#include <QDir>
#include <QFileInfo>

QString HelperProgram::path(const QString &name, const QString &executableFolder)
{
    const QString beside = executableFolder + QLatin1Char('/') + name;
    if (QFileInfo(beside).isExecutable())
        return beside;
    // The relative way from the installed bin folder to the helpers' folder.
    return QDir::cleanPath(executableFolder + QStringLiteral("/" TAVIMO_HELPERS_FROM_BINARIES "/") + name);
}
