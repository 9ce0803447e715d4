#include "CaptureUsageFailure.h"

#include "CaptureRequest.h"

QString description(const CaptureUsageFailure &failure)
{
    using Kind = CaptureUsageFailure::Kind;
    switch (failure.kind) {
    case Kind::rejected:
        return failure.detail;
    case Kind::unexpectedArgument:
        return QStringLiteral("Unexpected argument \"%1\"; a file goes after --open or --output.").arg(failure.detail);
    case Kind::severalActions:
        return QStringLiteral("Choose only one of --area, --text, --screen, --all-displays, --editor and --open.");
    case Kind::outputNeedsImageCapture:
        return QStringLiteral("--output works only with --area, --screen or --all-displays.");
    case Kind::overwriteNeedsOutput:
        return QStringLiteral("--overwrite works only with --output.");
    case Kind::delayNeedsCapture:
        return QStringLiteral("--delay works only with --area, --text, --screen or --all-displays.");
    case Kind::invalidDelay:
        return QStringLiteral("--delay needs a whole number of seconds from 0 to %1, not \"%2\".")
            .arg(CaptureRequest::maximumDelaySeconds)
            .arg(failure.detail);
    case Kind::emptyFileName:
        return QStringLiteral("%1 needs a file name.").arg(failure.detail);
    }
    return QString();
}
