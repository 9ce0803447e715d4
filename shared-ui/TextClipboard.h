#pragma once

#include <QString>

// Where "Copy report" puts its text: the desktop's clipboard, or a private
// one in tests.
class TextClipboard {
public:
    virtual ~TextClipboard() = default;
    // Replaces whatever the clipboard held with plain text.
    virtual void setText(const QString &text) = 0;
};
