#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <optional>

// The user's settings: one JSON object in a file, read once and written
// atomically (mode 0600) on every change. Values keep their JSON type, so a
// Boolean, a number and a string stored under one key are told apart.
//
// A file that cannot be read or parsed is moved aside (to "<name>.corrupt")
// and reading starts empty: the user's file is never deleted and nothing
// crashes. Used on the GUI thread only.
class UserDefaults {
public:
    // Settings kept in `filePath`; the folder is created on the first write.
    explicit UserDefaults(QString filePath);
    UserDefaults(const UserDefaults &) = delete;
    UserDefaults &operator=(const UserDefaults &) = delete;

    // $XDG_CONFIG_HOME/TavimoCapture/defaults.json
    static QString standardFilePath();
    // The store over standardFilePath(), made on first use.
    static UserDefaults &standard();

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

    // Stores `value` and writes the file. Non-finite numbers are stored as
    // null. Returns false when the file could not be written; the value is
    // still kept for this run.
    bool setValue(const QString &key, const QJsonValue &value);
    bool remove(const QString &key);

private:
    void load();
    void moveAside() const;
    bool write() const;

    QString m_filePath;
    QJsonObject m_values;
};
