#include "UpdateInstaller.h"

#include "HiddenTemporaries.h"
#include "UpdateSignature.h"
#include "UpdaterError.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 copyChunkSize = 1024 * 1024;

bool isProgram(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == QByteArrayLiteral("\x7f"
                                                                               "ELF");
}

bool copyContents(QFile &source, QFile &destination)
{
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(copyChunkSize);
        if (chunk.isEmpty() || destination.write(chunk) != chunk.size())
            return false;
    }
    return destination.flush() && ::fsync(destination.handle()) == 0;
}

// Makes the rename itself durable; the new file is already on disk.
void syncFolder(const QString &folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}

QString resolvedTarget(const QString &installedPath)
{
    return QFileInfo(installedPath).canonicalFilePath();
}

void failInstallation()
{
    throw UpdaterFailure(UpdaterError::installFailed);
}

} // namespace

namespace UpdateInstaller {

void verify(const QString &archivePath, qint64 length, const QByteArray &signatureBase64, const QByteArray &publicKey)
{
    if (QFileInfo(archivePath).size() != length)
        throw UpdaterFailure(UpdaterError::wrongLength);
    if (!UpdateSignature::verifiesFile(archivePath, signatureBase64, publicKey))
        throw UpdaterFailure(UpdaterError::badSignature);
    if (!isProgram(archivePath))
        throw UpdaterFailure(UpdaterError::notExecutable);
}

void replace(const QString &installedPath, const QString &archivePath)
{
    const QString target = resolvedTarget(installedPath);
    QFile source(archivePath);
    if (target.isEmpty() || !source.open(QIODevice::ReadOnly))
        failInstallation();
    const QFileInfo targetInfo(target);
    QTemporaryFile beside(targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName() +
                          QStringLiteral(".update-XXXXXX"));
    if (!beside.open() || !copyContents(source, beside) || !beside.setPermissions(targetInfo.permissions()))
        failInstallation();
    if (std::rename(QFile::encodeName(beside.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        failInstallation();
    beside.setAutoRemove(false);
    syncFolder(targetInfo.absolutePath());
}

void removeLeftovers(const QString &installedPath)
{
    const QFileInfo target(resolvedTarget(installedPath));
    if (target.fileName().isEmpty())
        return;
    HiddenTemporaries::remove(target.absolutePath(), [&](QStringView name, QStringView suffix) {
        return name == target.fileName() && suffix.startsWith(QLatin1String("update-"));
    });
}

bool canReplace(const QString &installedPath)
{
    const QFileInfo target(resolvedTarget(installedPath));
    return target.isFile() && QFileInfo(target.absolutePath()).isWritable();
}

} // namespace UpdateInstaller
