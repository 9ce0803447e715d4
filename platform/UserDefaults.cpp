#include "UserDefaults.h"

#include "AtomicFileWriter.h"
#include "HiddenTemporaries.h"
#include "PlatformLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

#include <cmath>
#include <filesystem>
#include <vector>

namespace {

constexpr qint64 maximumFileSize = 64 * 1024 * 1024;

QJsonValue storable(const QJsonValue &value)
{
    if (value.isDouble() && !std::isfinite(value.toDouble()))
        return QJsonValue(QJsonValue::Null);
    return value;
}

// The stores open now, so that one opening a file first writes what another
// still holds for it.
std::vector<UserDefaults *> &openStores()
{
    static std::vector<UserDefaults *> stores;
    return stores;
}

} // namespace

UserDefaults::UserDefaults(QString filePath) : m_filePath(std::move(filePath))
{
    for (UserDefaults *store : openStores()) {
        if (store->m_filePath == m_filePath)
            store->flush();
    }
    openStores().push_back(this);
    load();
    m_pendingWrite.setSingleShot(true);
    QObject::connect(&m_pendingWrite, &QTimer::timeout, &m_pendingWrite, [this] { flush(); });
    if (const QCoreApplication *application = QCoreApplication::instance())
        QObject::connect(application, &QCoreApplication::aboutToQuit, &m_pendingWrite, [this] { flush(); });
}

UserDefaults::~UserDefaults()
{
    std::erase(openStores(), this);
    flush();
}

QString UserDefaults::standardFilePath()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QStringLiteral("/TavimoCapture/defaults.json");
}

UserDefaults &UserDefaults::standard()
{
    static UserDefaults defaults(standardFilePath());
    return defaults;
}

QJsonValue UserDefaults::value(const QString &key) const
{
    return m_values.value(key);
}

bool UserDefaults::contains(const QString &key) const
{
    return m_values.contains(key);
}

std::optional<bool> UserDefaults::boolValue(const QString &key) const
{
    const QJsonValue stored = value(key);
    if (!stored.isBool())
        return std::nullopt;
    return stored.toBool();
}

std::optional<double> UserDefaults::doubleValue(const QString &key) const
{
    const QJsonValue stored = value(key);
    if (!stored.isDouble() || !std::isfinite(stored.toDouble()))
        return std::nullopt;
    return stored.toDouble();
}

std::optional<QString> UserDefaults::stringValue(const QString &key) const
{
    const QJsonValue stored = value(key);
    if (!stored.isString())
        return std::nullopt;
    return stored.toString();
}

std::optional<QJsonObject> UserDefaults::objectValue(const QString &key) const
{
    const QJsonValue stored = value(key);
    if (!stored.isObject())
        return std::nullopt;
    return stored.toObject();
}

bool UserDefaults::setValue(const QString &key, const QJsonValue &value)
{
    if (value.isUndefined())
        return remove(key);
    m_values.insert(key, storable(value));
    return changed();
}

bool UserDefaults::remove(const QString &key)
{
    if (!m_values.contains(key))
        return true;
    m_values.remove(key);
    return changed();
}

void UserDefaults::setWriteFailureHandler(std::function<void(const QString &reason)> handler)
{
    m_writeFailed = std::move(handler);
}

bool UserDefaults::flush()
{
    m_pendingWrite.stop();
    if (!m_pending)
        return true;
    return write();
}

bool UserDefaults::changed()
{
    m_pending = true;
    if (m_quietUntil.hasExpired())
        return flush();
    if (!m_pendingWrite.isActive())
        m_pendingWrite.start(std::chrono::ceil<std::chrono::milliseconds>(m_quietUntil.remainingTimeAsDuration()));
    return true;
}

void UserDefaults::load()
{
    const QFileInfo stored(m_filePath);
    HiddenTemporaries::remove(stored.absolutePath(), HiddenTemporaries::writerTemporariesOf(stored.fileName()));
    QFile file(m_filePath);
    if (!file.exists())
        return;
    if (file.size() > maximumFileSize || !file.open(QIODevice::ReadOnly)) {
        moveAside();
        return;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    file.close();
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        moveAside();
        return;
    }
    m_values = document.object();
}

void UserDefaults::moveAside() const
{
    QString target = m_filePath + QStringLiteral(".corrupt");
    for (int attempt = 1; QFileInfo::exists(target); ++attempt)
        target = m_filePath + QStringLiteral(".corrupt-%1").arg(attempt);
    if (QFile::rename(m_filePath, target))
        qCWarning(platformLog) << "Unreadable settings moved aside to" << target;
    else
        qCWarning(platformLog) << "Unreadable settings could not be moved aside from" << m_filePath;
}

// A failed write stays pending, so the next change or flush tries again.
bool UserDefaults::write()
{
    m_quietUntil.setRemainingTime(writeInterval);
    const QFileInfo info(m_filePath);
    std::error_code folderError;
    std::filesystem::create_directories(QFile::encodeName(info.absolutePath()).toStdString(), folderError);
    if (folderError) {
        qCWarning(platformLog) << "Cannot create the settings folder" << info.absolutePath();
        failed(QString::fromStdString(folderError.message()));
        return false;
    }
    const QByteArray bytes = QJsonDocument(m_values).toJson(QJsonDocument::Indented);
    const std::error_code error = AtomicFileWriter::write(m_filePath, bytes, AtomicFileWriter::Existing::replace,
                                                          AtomicFileWriter::Permissions::ownerOnly);
    if (error) {
        qCWarning(platformLog) << "Cannot write the settings to" << m_filePath << ':' << error.message().c_str();
        failed(QString::fromStdString(error.message()));
        return false;
    }
    m_pending = false;
    m_failureReported = false;
    return true;
}

void UserDefaults::failed(const QString &reason)
{
    if (m_failureReported || !m_writeFailed)
        return;
    m_failureReported = true;
    m_writeFailed(QCoreApplication::translate("UserDefaults", "Settings could not be saved: %1.").arg(reason));
}
