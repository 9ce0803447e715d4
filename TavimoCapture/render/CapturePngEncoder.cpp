#include "CapturePngEncoder.h"

#include "CaptureFailure.h"

#include <spng.h>

#include <memory>

namespace {

struct ContextDeleter {
    void operator()(spng_ctx *context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

void check(int status)
{
    if (status != 0)
        throw CaptureError(CaptureFailure::write);
}

} // namespace

QByteArray CapturePngEncoder::encode(const QImage &image)
{
    if (image.isNull())
        throw CaptureError(CaptureFailure::write);
    const bool opaque = !image.hasAlphaChannel();
    const QImage pixels = image.convertToFormat(opaque ? QImage::Format_RGB888 : QImage::Format_RGBA8888);
    if (pixels.isNull())
        throw CaptureError(CaptureFailure::write);

    Context context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context)
        throw CaptureError(CaptureFailure::write);
    check(spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1));
    spng_ihdr header{};
    header.width = quint32(pixels.width());
    header.height = quint32(pixels.height());
    header.bit_depth = 8;
    header.color_type = opaque ? SPNG_COLOR_TYPE_TRUECOLOR : SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    check(spng_set_ihdr(context.get(), &header));

    check(spng_encode_image(context.get(), nullptr, 0, SPNG_FMT_PNG, SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE));
    for (int row = 0; row < pixels.height(); ++row) {
        const int status = spng_encode_row(context.get(), pixels.constScanLine(row), size_t(pixels.bytesPerLine()));
        if (status != 0 && status != SPNG_EOI)
            throw CaptureError(CaptureFailure::write);
    }

    size_t length = 0;
    int status = 0;
    void *buffer = spng_get_png_buffer(context.get(), &length, &status);
    if (!buffer || status != 0)
        throw CaptureError(CaptureFailure::write);
    QByteArray bytes(static_cast<const char *>(buffer), qsizetype(length));
    free(buffer);
    return bytes;
}
