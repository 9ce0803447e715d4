#pragma once

#include <QByteArray>
#include <QString>

// Whole-file writes that never leave a partial file under the final name.
// All throw CaptureFileSystemError with the system's reason.
namespace CaptureFileWriter {

// Creates `path` holding `data`, only when nothing has that name yet (the
// error's nameTaken() then holds), with the user's usual permissions.
void writeNew(const QString &path, const QByteArray &data);

// Replaces `path` in one step with a private (0600) file holding `data`; on
// failure `path` keeps what it held.
void replace(const QString &path, const QByteArray &data);

// Replaces `path` in one step, keeping the permissions of the file it
// replaces, or with the user's usual ones when new; on failure `path` keeps
// what it held. First removes what an earlier export to `path` cut short by
// a crash left beside it.
void exportFile(const QString &path, const QByteArray &data);

} // namespace CaptureFileWriter
