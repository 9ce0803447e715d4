#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The tool's command line: [-x] [-t png] [-i [-o] [-s]] [-m] file
struct ScreenCaptureOptions {
    // -i: the user drags an area (or, without -s, clicks a window).
    bool interactive = false;
    // -s: an area only, no window picking.
    bool selectionOnly = false;
    QString outputPath;

    // Null with `error` set when the arguments (program name first) are not understood.
    static std::optional<ScreenCaptureOptions> parse(const QStringList &arguments, QString *error);
    static QString usage();
};
