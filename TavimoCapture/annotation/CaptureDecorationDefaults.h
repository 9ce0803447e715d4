#pragma once

#include "CaptureComposition.h"

#include <QString>

class UserDefaults;

// The frame the user chose for new captures, stored under
// "capture.decoration.v1". The legend settings are never stored.
namespace CaptureDecorationDefaults {

inline const QString key = QStringLiteral("capture.decoration.v1");

CaptureComposition load(const UserDefaults &defaults);
void save(const CaptureComposition &composition, UserDefaults &defaults);

} // namespace CaptureDecorationDefaults
