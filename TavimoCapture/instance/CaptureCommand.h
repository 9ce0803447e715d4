#pragma once

#include "CaptureRequest.h"

#include <QString>

#include <optional>

// One start of tavimo-capture as its command line asks for it.
struct CaptureCommand {
    enum class Kind {
        run,
        help,
        version,
    };

    // Standard output instead of a file.
    static inline const QString standardOutput = QStringLiteral("-");

    Kind kind = Kind::run;
    // Nothing: just start the app, or bring the running one's editor forward.
    std::optional<CaptureRequest> request;
    // An absolute path or `standardOutput`; set only for image captures.
    std::optional<QString> output;
    bool overwrite = false;
};
