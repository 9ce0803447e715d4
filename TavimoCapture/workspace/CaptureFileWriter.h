#pragma once

#include <QByteArray>
#include <QString>

// Whole-file writes that never leave a partial file under the final name.
// Both throw CaptureFileSystemError with the system's reason.
namespace CaptureFileWriter {

// Creates `path` holding `data`, only when nothing has that name yet (the
// error's nameTaken() then holds). A file it could not fill is removed again.
void writeNew(const QString &path, const QByteArray &data);

// Replaces `path` in one step with a private (0600) file holding `data`; on
// failure `path` keeps what it held.
void replace(const QString &path, const QByteArray &data);

} // namespace CaptureFileWriter
