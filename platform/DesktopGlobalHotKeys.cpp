#include "DesktopGlobalHotKeys.h"

#include "PortalGlobalHotKeys.h"
#include "SessionType.h"
#include "X11GlobalHotKeys.h"

std::unique_ptr<GlobalHotKeys> desktopGlobalHotKeys()
{
    if (currentSessionType() == SessionType::wayland)
        return std::make_unique<PortalGlobalHotKeys>(QDBusConnection::sessionBus());
    return std::make_unique<X11GlobalHotKeys>();
}
