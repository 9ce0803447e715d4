#pragma once

#include "UpdaterEnvironment.h"

// Asks the user whether to install a found update.
namespace UpdatePrompt {

// Shows a window offering "Install Update", "Remind Me Later" and "Skip This
// Version" and answers when the user chooses; closing it reminds later.
void ask(const AppcastItem &item, UpdaterEnvironment::Answer answer);

// The running app's environment with this prompt.
UpdaterEnvironment standardEnvironment();

} // namespace UpdatePrompt
