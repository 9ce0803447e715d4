#pragma once

#include "CaptureMode.h"
#include "CaptureOutcome.h"

#include <QFuture>

#include <chrono>

class CaptureService;
class QObject;

// One capture for a caller that wants the PNG: no preferences, no editor.
// All displays are laid side by side as on a board, each at the density of
// the densest one.
namespace CaptureOutputCapture {

// Never fails: failures and cancellation are outcomes. `context` (on the GUI
// thread) must outlive the run, as must `service`.
QFuture<CaptureOutcome> run(CaptureService &service, CaptureMode mode, std::chrono::seconds delay, QObject *context);

} // namespace CaptureOutputCapture
