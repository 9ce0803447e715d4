#pragma once

#include "CaptureThumbnailSurface.h"

#include <optional>

// Remembers what the thumbnail shows; `screen` false stands for a desktop without one.
class ScriptedThumbnailSurface : public CaptureThumbnailSurface {
public:
    bool screen = true;
    std::optional<CaptureThumbnailContent> shown;
    int presented = 0;

    bool present(const CaptureThumbnailContent &content) override
    {
        if (!screen)
            return false;
        ++presented;
        shown = content;
        return true;
    }
    void remove() override { shown.reset(); }
};
