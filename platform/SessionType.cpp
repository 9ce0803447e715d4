#include "SessionType.h"

#include <QString>
#include <QtGlobal>

SessionType currentSessionType()
{
    const QString forced = qEnvironmentVariable("TAVIMO_SESSION_TYPE");
    if (forced == QLatin1String("x11"))
        return SessionType::x11;
    if (forced == QLatin1String("wayland"))
        return SessionType::wayland;
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        return SessionType::wayland;
    return SessionType::x11;
}
