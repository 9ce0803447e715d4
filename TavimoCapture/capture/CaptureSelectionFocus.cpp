#include "CaptureSelectionFocus.h"

namespace CaptureSelectionFocus {

QString description(Failure failure)
{
    switch (failure) {
    case Failure::activationTimedOut:
        return QStringLiteral("Capture could not take keyboard focus. Open Tavimo Capture and try again.");
    }
    return QString();
}

} // namespace CaptureSelectionFocus
