#pragma once

#include <QString>

// Checks a downloaded archive and puts it in place of the installed app.
namespace UpdateInstaller {

// Throws UpdaterFailure unless the file at `archivePath` has `length` bytes,
// carries a valid signature under the raw `publicKey` and is a program (ELF).
// Safe to call off the GUI thread.
void verify(const QString &archivePath, qint64 length, const QByteArray &signatureBase64, const QByteArray &publicKey);

// Replaces the file at `installedPath` (through symbolic links) with a copy
// of `archivePath`, keeping its permissions: the copy is written beside it,
// flushed to disk and renamed over it, so the old app stays until the new
// one is complete. Throws UpdaterFailure (installFailed). Safe to call off
// the GUI thread.
void replace(const QString &installedPath, const QString &archivePath);

// Removes the hidden copies that installations cut short by a crash left
// beside the installed file; run when the updater starts.
void removeLeftovers(const QString &installedPath);

// Whether an update could replace the file at `installedPath`.
bool canReplace(const QString &installedPath);

} // namespace UpdateInstaller
