#pragma once

#include "TextClipboard.h"

// The desktop's clipboard.
class SystemTextClipboard : public TextClipboard {
public:
    void setText(const QString &text) override;
};
