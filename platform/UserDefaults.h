#pragma once

#include <QDeadlineTimer>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

// The user's settings: one JSON object in a file, read once and written
// atomically (mode 0600) after every change. Values keep their JSON type, so a
// Boolean, a number and a string stored under one key are told apart.
//
// A change is written at once unless the file was written less than
// `writeInterval` ago; then it is written when that interval ends, together
// with every change made meanwhile. Pending changes are written when the
// application is about to quit, when the store is destroyed and when another
// store opens the same file, which so reads every change made.
//
// A file that cannot be read or parsed is moved aside (to "<name>.corrupt")
// and reading starts empty: the user's file is never deleted and nothing
// crashes. What a write cut short by a crash left beside the file is removed
// when the store is made. Used on the GUI thread only.
class UserDefaults {
public:
    // Settings kept in `filePath`; the folder is created on the first write.
    explicit UserDefaults(QString filePath);
    ~UserDefaults();
    UserDefaults(const UserDefaults &) = delete;
    UserDefaults &operator=(const UserDefaults &) = delete;

    // $XDG_CONFIG_HOME/TavimoCapture/defaults.json
    static QString standardFilePath();
    // The store over standardFilePath(), made on first use.
    static UserDefaults &standard();

    static constexpr std::chrono::milliseconds writeInterval{250};

    QString filePath() const { return m_filePath; }

    // The stored value, or an undefined value when the key is missing.
    QJsonValue value(const QString &key) const;
    bool contains(const QString &key) const;

    // Typed reads: empty when the key is missing or holds another JSON type.
    std::optional<bool> boolValue(const QString &key) const;
    // A finite number; JSON has no NaN or infinity.
    std::optional<double> doubleValue(const QString &key) const;
    std::optional<QString> stringValue(const QString &key) const;
    std::optional<QJsonObject> objectValue(const QString &key) const;

    // Stores `value` and writes the file now or soon. Non-finite numbers are
    // stored as null. Returns false when a write made now failed; the value
    // is still kept for this run and written again with the next change.
    bool setValue(const QString &key, const QJsonValue &value);
    bool remove(const QString &key);

    // Called with the sentence the user reads when a write fails, once until
    // a write succeeds again; none stops the calls.
    void setWriteFailureHandler(std::function<void(const QString &reason)> handler);

    // Writes pending changes now; false when that failed.
    bool flush();
    bool hasPendingChanges() const { return m_pending; }

private:
    void load();
    void moveAside() const;
    bool changed();
    bool write();

    QString m_filePath;
    QJsonObject m_values;
    void failed(const QString &reason);

    bool m_pending = false;
    bool m_failureReported = false;
    std::function<void(const QString &)> m_writeFailed;
    // The next write may happen at once when this has expired.
    QDeadlineTimer m_quietUntil;
    QTimer m_pendingWrite;
};
