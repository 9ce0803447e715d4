#pragma once

#include "CaptureClipboard.h"

// A private clipboard that keeps the PNG or text it was given, or refuses everything.
class ScriptedClipboard : public CaptureClipboard {
public:
    bool refuse = false;
    QByteArray png;
    QString text;

    bool setPng(const QByteArray &data) override
    {
        if (!refuse)
            png = data;
        return !refuse;
    }
    bool setText(const QString &data) override
    {
        if (!refuse)
            text = data;
        return !refuse;
    }
};
