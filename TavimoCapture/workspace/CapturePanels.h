#pragma once

#include "CaptureAlert.h"

#include <QString>
#include <QStringList>

#include <optional>

// The modal dialogs through which the workspace asks the user. Each call
// returns when the user has answered; the desktop's panels run a nested event
// loop meanwhile, so the open capture may change during the call.
class CapturePanels {
public:
    virtual ~CapturePanels() = default;

    // One existing file of the given MIME types; none when cancelled.
    virtual std::optional<QString> chooseFileToOpen(const QStringList &mimeTypes) = 0;
    // Where to write a file of `mimeType`, proposing `fileName`; none when cancelled.
    virtual std::optional<QString> chooseSaveDestination(const QString &fileName, const QString &mimeType) = 0;
    // The index of the chosen button in `alert.buttons`.
    virtual qsizetype runAlert(const CaptureAlert &alert) = 0;
};
