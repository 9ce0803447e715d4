#include "CaptureInstanceFailure.h"

QString description(const CaptureInstanceFailure &failure)
{
    using Kind = CaptureInstanceFailure::Kind;
    switch (failure.kind) {
    case Kind::unsafeFolder:
        return QStringLiteral("Tavimo Capture will not use %1: the folder must be yours and closed to other users.")
            .arg(failure.path);
    case Kind::folderNotMade:
        return QStringLiteral("Tavimo Capture could not make the folder %1: %2").arg(failure.path, failure.reason);
    case Kind::listenFailed:
        return QStringLiteral("Tavimo Capture could not listen on %1: %2").arg(failure.path, failure.reason);
    case Kind::noAnswer:
        return QStringLiteral("The running Tavimo Capture did not answer: %1").arg(failure.reason);
    }
    return QString();
}
