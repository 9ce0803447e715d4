#include "CapturePngEncodeError.h"

QString description(CapturePngEncodeError error)
{
    switch (error) {
    case CapturePngEncodeError::unencodable:
        return QStringLiteral("This image could not be encoded as PNG.");
    }
    return QString();
}
