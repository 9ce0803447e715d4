#include "AcceleratorText.h"

namespace AcceleratorText {

QString literal(const QString &text)
{
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace AcceleratorText
