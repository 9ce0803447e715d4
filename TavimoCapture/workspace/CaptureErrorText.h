#pragma once

#include <QString>

#include <exception>

// The sentence a user sees for a failure: a typed error's own sentence, else a
// generic one, with the detail written to the log.
namespace CaptureErrorText {

QString of(const std::exception &error);

} // namespace CaptureErrorText
