#pragma once

#include <QByteArray>
#include <QString>

// Where a command-line capture's PNG goes: a file, or standard output for "-".
namespace CaptureOutputFile {

// Throws CaptureFileSystemError; an existing file stays untouched unless
// `overwrite`, and is then replaced in one step.
void write(const QString &target, const QByteArray &png, bool overwrite);

// The sentence for a file that is there already.
QString existsMessage(const QString &target);

} // namespace CaptureOutputFile
