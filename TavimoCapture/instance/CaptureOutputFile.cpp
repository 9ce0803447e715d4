#include "CaptureOutputFile.h"

#include "CaptureCommand.h"
#include "CaptureFileSystemFailure.h"
#include "CaptureFileWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

void writeStandardOutput(const QByteArray &png)
{
    QFile output;
    if (output.open(STDOUT_FILENO, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) &&
        output.write(png) == png.size() && output.flush())
        return;
    throw CaptureFileSystemError(CaptureFileSystemFailure{
        CaptureFileSystemFailure::Operation::write, QCoreApplication::translate("CaptureOutputFile", "standard output"),
        0, output.errorString()});
}

} // namespace

void CaptureOutputFile::write(const QString &target, const QByteArray &png, bool overwrite)
{
    if (target == CaptureCommand::standardOutput)
        writeStandardOutput(png);
    else if (overwrite)
        CaptureFileWriter::replace(target, png);
    else
        CaptureFileWriter::writeNew(target, png);
}

QString CaptureOutputFile::existsMessage(const QString &target)
{
    return QCoreApplication::translate("CaptureOutputFile",
                                       "The file “%1” already exists; add --overwrite to replace it.")
        .arg(QDir::toNativeSeparators(target));
}
