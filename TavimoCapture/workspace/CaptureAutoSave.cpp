#include "CaptureAutoSave.h"

#include "CaptureFileSystemFailure.h"
#include "CaptureFileWriter.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <cerrno>
#include <filesystem>

namespace {

using Operation = CaptureFileSystemFailure::Operation;

void createFolder(const QString &path)
{
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(path).toStdString(), error);
    if (error)
        throw CaptureFileSystemError(
            CaptureFileSystemFailure::fromErrorNumber(Operation::createFolder, path, error.value()));
}

QString candidateName(const QString &base, int suffix)
{
    if (suffix == 0)
        return base + QStringLiteral(".png");
    return base + QLatin1Char('-') + QString::number(suffix) + QStringLiteral(".png");
}

} // namespace

QString CaptureAutoSave::save(const QByteArray &png, const QString &folder, const QString &source,
                              const QDateTime &date)
{
    // The C locale writes Western digits and the Gregorian calendar whatever the user's locale.
    const QLocale posix = QLocale::c();
    const QDateTime local = date.toLocalTime();
    const QDir day(QDir(folder).filePath(posix.toString(local, u"yyyyMMdd")));
    createFolder(day.path());

    const QString base = source + QLatin1Char('-') + posix.toString(local, u"HHmmss");
    QString path;
    for (int suffix = 0; suffix <= lastSuffix; ++suffix) {
        path = day.filePath(candidateName(base, suffix));
        try {
            CaptureFileWriter::writeNew(path, png);
            return path;
        } catch (const CaptureFileSystemError &error) {
            if (!error.code().nameTaken())
                throw;
        }
    }
    throw CaptureFileSystemError(CaptureFileSystemFailure::fromErrorNumber(Operation::write, path, EEXIST));
}
