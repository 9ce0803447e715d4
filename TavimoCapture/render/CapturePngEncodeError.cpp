#include "CapturePngEncodeError.h"

#include <QCoreApplication>

QString description(CapturePngEncodeError error)
{
    switch (error) {
    case CapturePngEncodeError::unencodable:
        return QCoreApplication::translate("CapturePngEncodeError", "This image could not be encoded as PNG.");
    }
    return QString();
}
