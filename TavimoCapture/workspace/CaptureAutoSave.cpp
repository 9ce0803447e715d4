#include "CaptureAutoSave.h"

#include "CaptureFileSystemFailure.h"
#include "CaptureFileWriter.h"
#include "HiddenTemporaries.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include <cerrno>
#include <filesystem>

namespace {

using Operation = CaptureFileSystemFailure::Operation;

void createFolder(const QString &path)
{
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(path).toStdString(), error);
    if (error)
        throw CaptureFileSystemError(
            CaptureFileSystemFailure::fromErrorNumber(Operation::createFolder, path, error.value()));
}

// The dated folder of `date`, by local time in Western digits whatever the locale.
QDir dayFolder(const QString &folder, const QDateTime &date)
{
    return QDir(QDir(folder).filePath(QLocale::c().toString(date.toLocalTime(), u"yyyyMMdd")));
}

QString candidateName(const QString &base, int suffix)
{
    if (suffix == 0)
        return base + QStringLiteral(".png");
    return base + QLatin1Char('-') + QString::number(suffix) + QStringLiteral(".png");
}

} // namespace

QString CaptureAutoSave::save(const QByteArray &png, const QString &folder, const QString &source,
                              const QDateTime &date)
{
    const QDir day = dayFolder(folder, date);
    createFolder(day.path());
    removeLeftovers(folder, date);

    // The C locale writes Western digits and the Gregorian calendar whatever the user's locale.
    const QString base = source + QLatin1Char('-') + QLocale::c().toString(date.toLocalTime(), u"HHmmss");
    QString path;
    for (int suffix = 0; suffix <= lastSuffix; ++suffix) {
        path = day.filePath(candidateName(base, suffix));
        try {
            CaptureFileWriter::writeNew(path, png);
            return path;
        } catch (const CaptureFileSystemError &error) {
            if (!error.code().nameTaken())
                throw;
        }
    }
    throw CaptureFileSystemError(CaptureFileSystemFailure::fromErrorNumber(Operation::write, path, EEXIST));
}

void CaptureAutoSave::removeLeftovers(const QString &folder, const QDateTime &date)
{
    static const QRegularExpression savedName(QStringLiteral("^[A-Za-z]+-[0-9]{6}(-[0-9]{1,4})?\\.png$"));
    HiddenTemporaries::remove(dayFolder(folder, date).path(), [](QStringView target, QStringView suffix) {
        return savedName.match(target.toString()).hasMatch() && HiddenTemporaries::isWriterSuffix(suffix);
    });
}
