#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One entry of the GlobalShortcuts portal's shortcut lists, (sa{sv}) on the
// bus: an id and its properties ("description", "preferred_trigger", ...).
struct PortalShortcut {
    QString id;
    QVariantMap properties;

    // Makes the list type known to Qt D-Bus; safe to call again.
    static void registerType();
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut);
const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut);

Q_DECLARE_METATYPE(PortalShortcut)
