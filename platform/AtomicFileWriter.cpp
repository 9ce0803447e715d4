#include "AtomicFileWriter.h"

#include "HiddenTemporaries.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

constexpr mode_t ownerOnlyMode = S_IRUSR | S_IWUSR;
constexpr mode_t usualMode = S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
constexpr int temporaryNameAttempts = 100;

// A hidden file beside the target, so the rename stays on one file system.
// Removed on destruction unless it was published.
class HiddenFile {
public:
    explicit HiddenFile(const QFileInfo &target) : m_prefix(hiddenPrefix(target)) {}
    ~HiddenFile()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        if (!m_path.isEmpty())
            ::unlink(m_path.constData());
    }
    HiddenFile(const HiddenFile &) = delete;
    HiddenFile &operator=(const HiddenFile &) = delete;

    int create(mode_t mode)
    {
        for (int attempt = 0; attempt < temporaryNameAttempts; ++attempt) {
            const QByteArray path = m_prefix + QByteArray::number(QRandomGenerator::global()->generate(), 36);
            m_descriptor = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (m_descriptor >= 0) {
                m_path = path;
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
        return EEXIST;
    }

    int descriptor() const { return m_descriptor; }
    const QByteArray &path() const { return m_path; }

    // Closes the file; 0 or the system's reason.
    int close()
    {
        const int result = ::close(std::exchange(m_descriptor, -1));
        return result == 0 ? 0 : errno;
    }

    // The file now lives under another name, or is gone.
    void published() { m_path.clear(); }

private:
    static QByteArray hiddenPrefix(const QFileInfo &target)
    {
        return QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                                 QLatin1Char('.') + HiddenTemporaries::writerMark);
    }

    QByteArray m_prefix;
    QByteArray m_path;
    int m_descriptor = -1;
};

// Writes everything and flushes it to the disk; 0 or the first errno.
int fill(int descriptor, const QByteArray &data)
{
    const char *next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, next, size_t(left));
        if (written >= 0) {
            next += written;
            left -= written;
        } else if (errno != EINTR) {
            return errno;
        }
    }
    return ::fsync(descriptor) == 0 ? 0 : errno;
}

int applyPermissions(int descriptor, const QByteArray &target, AtomicFileWriter::Permissions permissions)
{
    using AtomicFileWriter::Permissions;
    mode_t mode = 0;
    struct stat replaced {};
    if (permissions == Permissions::ownerOnly)
        mode = ownerOnlyMode;
    else if (permissions == Permissions::keepReplaced && ::stat(target.constData(), &replaced) == 0)
        mode = replaced.st_mode & 07777;
    else
        return 0;
    return ::fchmod(descriptor, mode) == 0 ? 0 : errno;
}

bool unsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP || error == EPERM;
}

// For file systems with neither an exclusive rename nor links: the target is
// created exclusively and filled in place, and removed again when that fails.
int writeExclusively(const QByteArray &target, const QByteArray &data, mode_t mode)
{
    const int descriptor = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0)
        return errno;
    int error = fill(descriptor, data);
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error != 0)
        ::unlink(target.constData());
    return error;
}

// Gives `hidden` the target's name unless that name is taken.
int publishNew(HiddenFile &hidden, const QByteArray &target, const QByteArray &data)
{
    if (::renameat2(AT_FDCWD, hidden.path().constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) {
        hidden.published();
        return 0;
    }
    if (!unsupported(errno))
        return errno;
    // A second name, then the hidden one goes.
    if (::link(hidden.path().constData(), target.constData()) == 0)
        return 0;
    if (!unsupported(errno))
        return errno;
    struct stat written {};
    const mode_t mode = ::stat(hidden.path().constData(), &written) == 0 ? written.st_mode & 07777 : ownerOnlyMode;
    return writeExclusively(target, data, mode);
}

int publishReplacing(HiddenFile &hidden, const QByteArray &target)
{
    if (::rename(hidden.path().constData(), target.constData()) != 0)
        return errno;
    hidden.published();
    return 0;
}

// Makes the new name itself durable; the file's bytes already are.
void syncFolder(const QFileInfo &target)
{
    const int folder = ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    ::fsync(folder);
    ::close(folder);
}

int writeAtomically(const QString &path, const QByteArray &data, AtomicFileWriter::Existing existing,
                    AtomicFileWriter::Permissions permissions)
{
    using AtomicFileWriter::Existing;
    const QFileInfo target(path);
    const QByteArray nativeTarget = QFile::encodeName(target.absoluteFilePath());
    // Spares writing the whole file for a name that is plainly taken.
    struct stat existingFile {};
    if (existing == Existing::keep && ::lstat(nativeTarget.constData(), &existingFile) == 0)
        return EEXIST;
    HiddenFile hidden(target);
    const mode_t mode = permissions == AtomicFileWriter::Permissions::ownerOnly ? ownerOnlyMode : usualMode;
    if (const int error = hidden.create(mode))
        return error;
    if (const int error = applyPermissions(hidden.descriptor(), nativeTarget, permissions))
        return error;
    if (const int error = fill(hidden.descriptor(), data))
        return error;
    if (const int error = hidden.close())
        return error;
    const int error =
        existing == Existing::keep ? publishNew(hidden, nativeTarget, data) : publishReplacing(hidden, nativeTarget);
    if (error == 0)
        syncFolder(target);
    return error;
}

} // namespace

std::error_code AtomicFileWriter::write(const QString &path, const QByteArray &data, Existing existing,
                                        Permissions permissions)
{
    return std::error_code(writeAtomically(path, data, existing, permissions), std::generic_category());
}
