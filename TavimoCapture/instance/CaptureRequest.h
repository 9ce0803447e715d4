#pragma once

#include "CaptureMode.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What a later start asks of the running app. Travels as one small JSON
// object; anything that does not read back as a valid request is refused.
struct CaptureRequest {
    enum class Action {
        capture,
        showEditor,
        open,
    };

    static constexpr int maximumDelaySeconds = 3600;
    // Generous for a path, far below anything that could hurt the app.
    static constexpr qsizetype maximumEncodedSize = 16 * 1024;

    Action action = Action::showEditor;
    CaptureMode mode = CaptureMode::area;
    int delaySeconds = 0;
    // The caller wants the PNG back instead of the after-capture preferences.
    bool returnsImage = false;
    // For open: an absolute path.
    QString path;

    bool operator==(const CaptureRequest &) const = default;

    static CaptureRequest capture(CaptureMode mode, int delaySeconds = 0, bool returnsImage = false);
    static CaptureRequest showingEditor();
    static CaptureRequest opening(const QString &path);

    QByteArray encoded() const;
    // Nothing for malformed, oversized or inconsistent data.
    static std::optional<CaptureRequest> decoded(const QByteArray &data);
};

// Text captures copy text, so they have no image to give back.
bool returnsImageAllowed(CaptureMode mode);
