#pragma once

#include "CaptureClipboard.h"

// A private clipboard that keeps what it was given, or refuses everything.
class ScriptedClipboard : public CaptureClipboard {
public:
    bool refuse = false;
    QByteArray png;
    QString text;
    int writes = 0;

    bool setPng(const QByteArray &data) override
    {
        ++writes;
        if (!refuse)
            png = data;
        return !refuse;
    }

    bool setText(const QString &data) override
    {
        ++writes;
        if (!refuse)
            text = data;
        return !refuse;
    }
};
