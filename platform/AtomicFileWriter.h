#pragma once

#include <QByteArray>
#include <QString>

#include <system_error>

// Whole-file writes that never leave a partial file under the final name: the
// bytes go to a hidden file beside the target, reach the disk, and only then
// take the target's name; the folder is flushed after. Every failure removes
// the hidden file again.
namespace AtomicFileWriter {

enum class Existing {
    replace, // an existing file is replaced in one step, or kept as it was on failure
    keep,    // an existing file is never touched; the write fails with EEXIST
};

enum class Permissions {
    ownerOnly,    // 0600
    usual,        // what the user's umask gives a new file
    keepReplaced, // those of the file replaced, else the usual ones
};

// The system's reason when `data` could not be written to `path`.
[[nodiscard]] std::error_code write(const QString &path, const QByteArray &data, Existing existing,
                                    Permissions permissions);

} // namespace AtomicFileWriter
