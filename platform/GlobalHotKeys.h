#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QString>
#include <QtGlobal>

// Key combinations that reach the app wherever the keyboard focus is. Each
// registration carries an identifier, a four-character signature that tells
// its owner plus a number, and every press is reported with it on the GUI
// thread, never inside the platform's event dispatch. Registrations of
// several owners live side by side.
class GlobalHotKeys : public QObject {
    Q_OBJECT

public:
    struct Identifier {
        quint32 signature = 0;
        quint32 id = 0;

        friend bool operator==(const Identifier &, const Identifier &) = default;
    };

    enum class Status {
        registered,
        // Another program (or another registration of this app) holds the keys.
        taken,
        // The keyboard has no key for it.
        noSuchKey,
        // This desktop lets no program take global keys.
        unsupported,
        // The desktop answers later through `registrationFinished`.
        pending,
    };

    // "TCAP" as a number, the first character in the highest byte.
    static constexpr quint32 fourCharCode(const char (&code)[5])
    {
        return quint32(quint8(code[0])) << 24 | quint32(quint8(code[1])) << 16 | quint32(quint8(code[2])) << 8 |
               quint32(quint8(code[3]));
    }

    using QObject::QObject;

    // Whether keys can be taken at all on this desktop.
    virtual bool isSupported() const = 0;
    // Takes `keys` for `identifier`, first releasing what `identifier` held.
    // Desktops that list the app's keys show `description` beside them.
    virtual Status registerHotKey(QKeyCombination keys, Identifier identifier, const QString &description) = 0;
    // Releases the keys of `identifier`; nothing happens when it holds none.
    virtual void unregisterHotKey(Identifier identifier) = 0;

signals:
    void pressed(GlobalHotKeys::Identifier identifier);
    // The outcome of a registration that was `pending`; never `pending`.
    void registrationFinished(GlobalHotKeys::Identifier identifier, GlobalHotKeys::Status status);
};
