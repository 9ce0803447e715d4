#pragma once

#include "CaptureOutcome.h"
#include "CaptureRequest.h"

#include <QString>

#include <optional>

// A later start's end of the socket.
namespace CaptureInstanceClient {

// Nothing when no instance listens at `socketPath`. Otherwise waits for the
// answer: a few seconds, or for a request that returns an image until the
// capture ends. Throws CaptureInstanceError when the instance hangs up first.
std::optional<CaptureOutcome> send(const QString &socketPath, const CaptureRequest &request);

} // namespace CaptureInstanceClient
