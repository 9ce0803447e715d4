#pragma once

// How tavimo-capture ends, for scripts.
enum class CaptureExitStatus : int {
    success = 0,
    failed = 1,
    usage = 2,
    cancelled = 3,
};
