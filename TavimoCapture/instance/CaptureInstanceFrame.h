#pragma once

#include <QByteArray>

// Messages between two starts travel as frames: a 32-bit big-endian length,
// then that many bytes.
namespace CaptureInstanceFrame {

enum class State {
    incomplete,
    complete,
    // Announces more than the reader accepts, or carries bytes after the frame.
    invalid,
};

QByteArray framed(const QByteArray &payload);
// What `received` holds so far; on complete, `payload` is the frame's content.
State read(const QByteArray &received, qsizetype limit, QByteArray &payload);

} // namespace CaptureInstanceFrame
