#pragma once

#include "GlobalHotKeys.h"

#include <memory>

// The global hot keys of the session the app runs in: the GlobalShortcuts
// portal on Wayland, key grabs on X11.
std::unique_ptr<GlobalHotKeys> desktopGlobalHotKeys();
