#include "CaptureAutoSave.h"

#include "CaptureFileSystemFailure.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace {

using Operation = CaptureFileSystemFailure::Operation;

void createFolder(const QString &path)
{
    std::error_code error;
    std::filesystem::create_directories(path.toStdString(), error);
    if (error)
        throw CaptureFileSystemError(
            CaptureFileSystemFailure::fromErrorNumber(Operation::createFolder, path, error.value()));
}

int writeAll(int descriptor, const QByteArray &data)
{
    const char *next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        next += written;
        left -= written;
    }
    return ::fsync(descriptor) == 0 ? 0 : errno;
}

// Creates `path` only when no file of that name exists. Returns 0 or the errno
// of the failure; a file it created but could not fill is removed again.
int writeNewFile(const QString &path, const QByteArray &data)
{
    const QByteArray nativePath = QFile::encodeName(path);
    const int descriptor = ::open(nativePath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return errno;
    int error = writeAll(descriptor, data);
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error != 0)
        ::unlink(nativePath.constData());
    return error;
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
        const int error = writeNewFile(path, png);
        if (error == 0)
            return path;
        if (error != EEXIST)
            throw CaptureFileSystemError(CaptureFileSystemFailure::fromErrorNumber(Operation::write, path, error));
    }
    throw CaptureFileSystemError(CaptureFileSystemFailure::fromErrorNumber(Operation::write, path, EEXIST));
}
