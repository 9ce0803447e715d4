#include "CaptureDecoding.h"

#include <QImageReader>

#include <atomic>

namespace {

std::atomic<quint64> decodes{0};

} // namespace

namespace CaptureDecoding {

QImage decode(const QByteArray &encoded)
{
    ++decodes;
    return QImage::fromData(encoded);
}

QImage read(QImageReader &reader)
{
    ++decodes;
    return reader.read();
}

quint64 count()
{
    return decodes;
}

} // namespace CaptureDecoding
