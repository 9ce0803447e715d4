#pragma once

#include <QByteArray>
#include <QImage>

class QImageReader;

// Every picture a capture decodes from encoded bytes passes here and is
// counted: a capture taken in this process decodes nothing, and tests check it.
namespace CaptureDecoding {

QImage decode(const QByteArray &encoded);
QImage read(QImageReader &reader);
// Decodes since the program started, from any thread.
quint64 count();

} // namespace CaptureDecoding
