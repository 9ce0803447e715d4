#pragma once

#include "TypedError.h"

#include <QString>

// Why an interactive capture could not start: the app did not get keyboard focus.
namespace CaptureSelectionFocus {

enum class Failure {
    activationTimedOut,
};

QString description(Failure failure);

using Error = TypedError<Failure>;

} // namespace CaptureSelectionFocus
