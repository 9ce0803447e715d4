#include "CaptureFileSystemFailure.h"

#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <system_error>

bool CaptureFileSystemFailure::nameTaken() const
{
    return errorNumber == EEXIST;
}

CaptureFileSystemFailure CaptureFileSystemFailure::fromErrorNumber(Operation operation, const QString &path,
                                                                   int errorNumber)
{
    const QString reason = QString::fromStdString(std::generic_category().message(errorNumber));
    return {operation, path, errorNumber, reason};
}

QString description(const CaptureFileSystemFailure &failure)
{
    const QString path = QDir::toNativeSeparators(failure.path);
    QString sentence;
    switch (failure.operation) {
    case CaptureFileSystemFailure::Operation::createFolder:
        sentence = QCoreApplication::translate("CaptureFileSystemFailure", "The folder “%1” could not be created: %2.");
        break;
    case CaptureFileSystemFailure::Operation::write:
        sentence = QCoreApplication::translate("CaptureFileSystemFailure", "The file “%1” could not be written: %2.");
        break;
    case CaptureFileSystemFailure::Operation::setPermissions:
        sentence =
            QCoreApplication::translate("CaptureFileSystemFailure", "The permissions of “%1” could not be set: %2.");
        break;
    case CaptureFileSystemFailure::Operation::remove:
        sentence = QCoreApplication::translate("CaptureFileSystemFailure", "The file “%1” could not be removed: %2.");
        break;
    }
    return sentence.arg(path, failure.reason);
}
