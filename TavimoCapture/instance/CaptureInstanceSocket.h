#pragma once

#include <QString>

// Where the running app listens: a socket in a folder only this user can
// enter, $XDG_RUNTIME_DIR/tavimo-capture or, without that variable,
// tavimo-capture-UID in the temporary folder.
namespace CaptureInstanceSocket {

// Makes the folder (0700) when missing. Throws CaptureInstanceError when the
// folder is a link, belongs to someone else or is open to others.
QString path();

} // namespace CaptureInstanceSocket
