#include "CaptureSelectionFocus.h"

#include <QCoreApplication>

namespace CaptureSelectionFocus {

QString description(Failure failure)
{
    switch (failure) {
    case Failure::activationTimedOut:
        return QCoreApplication::translate("CaptureSelectionFocus",
                                           "Capture could not take keyboard focus. Open Tavimo Capture and try again.");
    }
    return QString();
}

} // namespace CaptureSelectionFocus
