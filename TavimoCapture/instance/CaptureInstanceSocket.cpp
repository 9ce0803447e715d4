#include "CaptureInstanceSocket.h"

#include "CaptureInstanceFailure.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool isPrivateFolder(const QByteArray &path)
{
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
           (status.st_mode & 077) == 0;
}

QString folderPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return QDir::cleanPath(runtime + QStringLiteral("/tavimo-capture"));
    return QDir::cleanPath(QDir::tempPath() + QStringLiteral("/tavimo-capture-%1").arg(::geteuid()));
}

} // namespace

QString CaptureInstanceSocket::path()
{
    const QString folder = folderPath();
    const QByteArray native = QFile::encodeName(folder);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        throw CaptureInstanceError(CaptureInstanceFailure{CaptureInstanceFailure::Kind::folderNotMade, folder,
                                                          QString::fromLocal8Bit(std::strerror(errno))});
    if (!isPrivateFolder(native))
        throw CaptureInstanceError(CaptureInstanceFailure{CaptureInstanceFailure::Kind::unsafeFolder, folder, {}});
    return folder + QStringLiteral("/instance");
}
