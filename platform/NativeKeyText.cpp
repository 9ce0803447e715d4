#include "NativeKeyText.h"

QString nativeKeyText(const QKeySequence &keys)
{
    return keys.toString(QKeySequence::NativeText);
}
