#include "CaptureHistory.h"

#include "CaptureFailure.h"
#include "CaptureFileSystemFailure.h"
#include "CaptureFileWriter.h"
#include "CapturePngEncoder.h"
#include "HiddenTemporaries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUuid>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <memory>

namespace {

using Operation = CaptureFileSystemFailure::Operation;

constexpr qint64 maximumSidecarSize = 64 * 1024;

[[noreturn]] void fail(Operation operation, const QString &path, int errorNumber)
{
    throw CaptureFileSystemError(CaptureFileSystemFailure::fromErrorNumber(operation, path, errorNumber));
}

QString standardised(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString sidecarOf(const QString &entryPath)
{
    return entryPath.chopped(QLatin1String(".png").size()) + QStringLiteral(".json");
}

bool exists(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

void removeFile(const QString &path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0)
        fail(Operation::remove, path, errno);
}

// The file's birth time where the file system records one (ext4, btrfs, xfs,
// tmpfs), else its modification time; invalid when neither can be read.
QDateTime creationDate(const QFileInfo &file)
{
    const QDateTime born = file.birthTime();
    return born.isValid() ? born : file.lastModified();
}

qint64 sortKey(const QDateTime &date)
{
    return date.isValid() ? date.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
}

// The one JSON string a sidecar holds; a bare string is read as the only
// element of an array.
std::optional<QString> readSidecar(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maximumSidecarSize)
        return std::nullopt;
    const QByteArray wrapped = '[' + file.readAll() + ']';
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(wrapped, &error);
    if (error.error != QJsonParseError::NoError || document.array().size() != 1 || !document.array().first().isString())
        return std::nullopt;
    return document.array().first().toString();
}

QByteArray sidecarJson(const QString &savedPath)
{
    const QByteArray array = QJsonDocument(QJsonArray{savedPath}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

} // namespace

CaptureHistory::CaptureHistory(const QString &directory, int limit)
    : m_directory(standardised(directory.isEmpty() ? defaultDirectory() : directory)), m_limit(std::max(limit, 1))
{
}

QString CaptureHistory::defaultDirectory()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data + QStringLiteral("/TavimoCapture/History");
}

QList<CaptureHistoryItem> CaptureHistory::items() const
{
    QList<CaptureHistoryItem> items;
    // readdir and names first: Qt's and the standard library's iterators
    // build a file object per foreign file and take twice as long.
    const std::unique_ptr<DIR, int (*)(DIR *)> folder(::opendir(QFile::encodeName(m_directory).constData()),
                                                      ::closedir);
    if (!folder)
        return items;
    while (const dirent *entry = ::readdir(folder.get())) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!isEntryName(name))
            continue;
        const QFileInfo file(m_directory + QLatin1Char('/') + name);
        if (file.isFile())
            items.append(CaptureHistoryItem(file.filePath(), creationDate(file)));
    }
    sortNewestFirst(items);
    return items;
}

QString CaptureHistory::save(const QImage &image, const QString &replacing, const QString &savedPath) const
{
    return savePng(png(image), replacing, savedPath);
}

QString CaptureHistory::savePng(const QByteArray &png, const QString &replacing, const QString &savedPath) const
{
    createDirectory();
    const QString name = isEntryName(replacing)
                             ? replacing
                             : QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".png");
    const QString entry = QDir(m_directory).filePath(name);
    CaptureFileWriter::replace(entry, png);
    writeSidecar(sidecarOf(entry), savedPath);
    prune(name);
    return name;
}

void CaptureHistory::remove(const CaptureHistoryItem &item) const
{
    const QFileInfo entry(item.path());
    if (standardised(entry.absolutePath()) != m_directory || !isEntryName(entry.fileName()))
        return;
    removeFile(entry.absoluteFilePath());
    const QString sidecar = sidecarOf(entry.absoluteFilePath());
    if (exists(sidecar))
        removeFile(sidecar);
}

void CaptureHistory::clear() const
{
    for (const CaptureHistoryItem &item : items())
        remove(item);
}

void CaptureHistory::removeLeftovers() const
{
    HiddenTemporaries::remove(m_directory, [](QStringView target, QStringView suffix) {
        const bool entryOrSidecar =
            isEntryName(target.toString()) ||
            (target.endsWith(QLatin1String(".json")) && isEntryName(target.chopped(5).toString() + QStringLiteral(".png")));
        return entryOrSidecar && HiddenTemporaries::isWriterSuffix(suffix);
    });
    const QDir folder(m_directory);
    for (const QString &sidecar : folder.entryList({QStringLiteral("*.json")}, QDir::Files | QDir::CaseSensitive)) {
        const QString entry = sidecar.chopped(5) + QStringLiteral(".png");
        if (isEntryName(entry) && !exists(folder.filePath(entry)))
            ::unlink(QFile::encodeName(folder.filePath(sidecar)).constData());
    }
}

std::optional<CaptureHistoryEntry> CaptureHistory::reopen(const CaptureHistoryItem &item) const
{
    const QImage image = item.image();
    if (image.isNull())
        return std::nullopt;
    const std::optional<QString> linked = readSidecar(sidecarOf(item.path()));
    return CaptureHistoryEntry{image, item.id(), linked ? existingExport(*linked) : std::nullopt};
}

QByteArray CaptureHistory::png(const QImage &image)
{
    try {
        return CapturePngEncoder::encode(image);
    } catch (const CapturePngEncodeFailure &) {
        throw CaptureError(CaptureFailure::write);
    }
}

std::optional<QString> CaptureHistory::existingExport(const QString &path)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return std::nullopt;
    std::error_code error;
    const auto status = std::filesystem::symlink_status(QFile::encodeName(path).toStdString(), error);
    if (error || !std::filesystem::is_regular_file(status))
        return std::nullopt;
    return path;
}

bool CaptureHistory::isEntryName(const QString &fileName)
{
    static const QRegularExpression entry(
        QStringLiteral("\\A[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\.png\\z"));
    constexpr qsizetype entryNameLength = 36 + 4;
    return fileName.size() == entryNameLength && entry.match(fileName).hasMatch();
}

void CaptureHistory::sortNewestFirst(QList<CaptureHistoryItem> &items)
{
    std::stable_sort(items.begin(), items.end(), [](const CaptureHistoryItem &left, const CaptureHistoryItem &right) {
        const qint64 leftDate = sortKey(left.date());
        const qint64 rightDate = sortKey(right.date());
        if (leftDate != rightDate)
            return leftDate > rightDate;
        return left.id() > right.id();
    });
}

void CaptureHistory::createDirectory() const
{
    if (QFileInfo(m_directory).isDir())
        return;
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(QFileInfo(m_directory).absolutePath()).toStdString(), error);
    if (error)
        fail(Operation::createFolder, m_directory, error.value());
    // Made private from the start: nobody else may list or read recent images.
    if (::mkdir(QFile::encodeName(m_directory).constData(), 0700) != 0 && errno != EEXIST)
        fail(Operation::createFolder, m_directory, errno);
    if (!QFileInfo(m_directory).isDir())
        fail(Operation::createFolder, m_directory, ENOTDIR);
}

void CaptureHistory::writeSidecar(const QString &sidecar, const QString &savedPath) const
{
    if (const std::optional<QString> exported = existingExport(savedPath))
        CaptureFileWriter::replace(sidecar, sidecarJson(*exported));
    else if (exists(sidecar))
        removeFile(sidecar);
}

void CaptureHistory::prune(const QString &keptName) const
{
    int kept = 1;
    for (const CaptureHistoryItem &item : items()) {
        if (item.id() == keptName)
            continue;
        if (kept < m_limit)
            ++kept;
        else
            remove(item);
    }
}
