#include "CaptureInstanceFailure.h"

#include <QCoreApplication>

QString description(const CaptureInstanceFailure &failure)
{
    using Kind = CaptureInstanceFailure::Kind;
    switch (failure.kind) {
    case Kind::unsafeFolder:
        return QCoreApplication::translate(
                   "CaptureInstanceFailure",
                   "Tavimo Capture will not use %1: the folder must be yours and closed to other users.")
            .arg(failure.path);
    case Kind::folderNotMade:
        return QCoreApplication::translate("CaptureInstanceFailure", "Tavimo Capture could not make the folder %1: %2")
            .arg(failure.path, failure.reason);
    case Kind::listenFailed:
        return QCoreApplication::translate("CaptureInstanceFailure", "Tavimo Capture could not listen on %1: %2")
            .arg(failure.path, failure.reason);
    case Kind::noAnswer:
        return QCoreApplication::translate("CaptureInstanceFailure", "The running Tavimo Capture did not answer: %1")
            .arg(failure.reason);
    }
    return QString();
}
