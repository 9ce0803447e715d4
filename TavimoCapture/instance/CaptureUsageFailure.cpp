#include "CaptureUsageFailure.h"

#include "CaptureRequest.h"

#include <QCoreApplication>

QString description(const CaptureUsageFailure &failure)
{
    using Kind = CaptureUsageFailure::Kind;
    switch (failure.kind) {
    case Kind::rejected:
        return failure.detail;
    case Kind::unexpectedArgument:
        return QCoreApplication::translate("CaptureUsageFailure",
                                           "Unexpected argument \"%1\"; a file goes after --open or --output.")
            .arg(failure.detail);
    case Kind::severalActions:
        return QCoreApplication::translate(
            "CaptureUsageFailure", "Choose only one of --area, --text, --screen, --all-displays, --editor and --open.");
    case Kind::outputNeedsImageCapture:
        return QCoreApplication::translate("CaptureUsageFailure",
                                           "--output works only with --area, --screen or --all-displays.");
    case Kind::overwriteNeedsOutput:
        return QCoreApplication::translate("CaptureUsageFailure", "--overwrite works only with --output.");
    case Kind::delayNeedsCapture:
        return QCoreApplication::translate("CaptureUsageFailure",
                                           "--delay works only with --area, --text, --screen or --all-displays.");
    case Kind::invalidDelay:
        return QCoreApplication::translate("CaptureUsageFailure",
                                           "--delay needs a whole number of seconds from 0 to %1, not \"%2\".")
            .arg(CaptureRequest::maximumDelaySeconds)
            .arg(failure.detail);
    case Kind::emptyFileName:
        return QCoreApplication::translate("CaptureUsageFailure", "%1 needs a file name.").arg(failure.detail);
    }
    return QString();
}
