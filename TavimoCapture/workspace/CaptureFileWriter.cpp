#include "CaptureFileWriter.h"

#include "AtomicFileWriter.h"
#include "CaptureFileSystemFailure.h"
#include "HiddenTemporaries.h"

#include <QFileInfo>

namespace {

using AtomicFileWriter::Existing;
using AtomicFileWriter::Permissions;

void writeOrThrow(const QString &path, const QByteArray &data, Existing existing, Permissions permissions)
{
    if (const std::error_code error = AtomicFileWriter::write(path, data, existing, permissions))
        throw CaptureFileSystemError(
            CaptureFileSystemFailure::fromErrorNumber(CaptureFileSystemFailure::Operation::write, path, error.value()));
}

} // namespace

void CaptureFileWriter::writeNew(const QString &path, const QByteArray &data)
{
    writeOrThrow(path, data, Existing::keep, Permissions::usual);
}

void CaptureFileWriter::replace(const QString &path, const QByteArray &data)
{
    writeOrThrow(path, data, Existing::replace, Permissions::ownerOnly);
}

void CaptureFileWriter::exportFile(const QString &path, const QByteArray &data)
{
    const QFileInfo target(path);
    HiddenTemporaries::remove(target.absolutePath(), HiddenTemporaries::writerTemporariesOf(target.fileName()));
    writeOrThrow(path, data, Existing::replace, Permissions::keepReplaced);
}
