#include "CaptureSaveFolderFailure.h"

#include <QCoreApplication>
#include <QDir>

QString description(CaptureSaveFolderFailure failure)
{
    switch (failure) {
    case CaptureSaveFolderFailure::notSet:
        return QCoreApplication::translate("CaptureSaveFolderFailure",
                                           "No folder is chosen for automatic saves. Choose one in Capture Settings.");
    case CaptureSaveFolderFailure::notAbsolute:
        return QCoreApplication::translate(
            "CaptureSaveFolderFailure",
            "The folder for automatic saves is not a full path. Choose one in Capture Settings.");
    }
    return {};
}

QString expandedSaveFolder(const QString &folder)
{
    QString path = folder;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path.replace(0, 1, QDir::homePath());
    if (path.isEmpty())
        throw CaptureSaveFolderError(CaptureSaveFolderFailure::notSet);
    if (QDir::isRelativePath(path))
        throw CaptureSaveFolderError(CaptureSaveFolderFailure::notAbsolute);
    return path;
}
