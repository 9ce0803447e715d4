#include "CaptureFileWriter.h"

#include "CaptureFileSystemFailure.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

namespace {

using Operation = CaptureFileSystemFailure::Operation;

[[noreturn]] void failWrite(const QString &path, int errorNumber)
{
    throw CaptureFileSystemError(CaptureFileSystemFailure::fromErrorNumber(Operation::write, path, errorNumber));
}

// Writes, flushes to the disk and closes; 0 or the first errno.
int fill(int descriptor, const QByteArray &data)
{
    const char *next = data.constData();
    qsizetype left = data.size();
    int error = 0;
    while (left > 0 && error == 0) {
        const ssize_t written = ::write(descriptor, next, size_t(left));
        if (written >= 0) {
            next += written;
            left -= written;
        } else if (errno != EINTR) {
            error = errno;
        }
    }
    if (error == 0 && ::fsync(descriptor) != 0)
        error = errno;
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    return error;
}

} // namespace

void CaptureFileWriter::writeNew(const QString &path, const QByteArray &data)
{
    const QByteArray nativePath = QFile::encodeName(path);
    const int descriptor = ::open(nativePath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0)
        failWrite(path, errno);
    if (const int error = fill(descriptor, data)) {
        ::unlink(nativePath.constData());
        failWrite(path, error);
    }
}

void CaptureFileWriter::replace(const QString &path, const QByteArray &data)
{
    const QFileInfo target(path);
    // Hidden beside the target, so the rename stays on one file system.
    QByteArray temporary =
        QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName()) + ".XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        failWrite(path, errno);
    int error = fill(descriptor, data);
    if (error == 0 && ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        failWrite(path, error);
    }
}
