#include "CaptureImageEffects.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Above this standard deviation the blur runs on a copy reduced by about radius / 4.
constexpr double directBlurLimit = 8;
constexpr double reducedSigma = 4;

cv::Mat wrap(const QImage &image, int type)
{
    return cv::Mat(image.height(), image.width(), type, const_cast<uchar *>(image.constBits()),
                   size_t(image.bytesPerLine()));
}

cv::Mat wrapWritable(QImage &image, int type)
{
    return cv::Mat(image.height(), image.width(), type, image.bits(), size_t(image.bytesPerLine()));
}

cv::Rect toCv(const QRect &rect)
{
    return cv::Rect(rect.x(), rect.y(), rect.width(), rect.height());
}

int reductionFactor(double radius)
{
    return radius <= directBlurLimit ? 1 : int(std::floor(radius / reducedSigma));
}

int kernelSize(double sigma)
{
    return 2 * int(std::ceil(3 * sigma)) + 1;
}

void blurDirect(const cv::Mat &source, const QRect &target, double radius, cv::Mat &output)
{
    // A region of a larger matrix: OpenCV reads the neighbours beyond the
    // region and repeats only the true edges of the whole matrix.
    const int size = kernelSize(radius);
    cv::GaussianBlur(source(toCv(target)), output, cv::Size(size, size), radius, radius, cv::BORDER_REPLICATE);
}

// Box reduction, a small Gaussian and bilinear enlargement add up to a
// Gaussian of the requested variance. The work area reaches past the image
// edges by repeating them, as the full-size blur would see them.
void blurReduced(const cv::Mat &source, const QRect &target, double radius, int factor, cv::Mat &output)
{
    const int reach = CaptureImageEffects::blurReach(radius);
    QRect work = target.adjusted(-reach, -reach, reach, reach);
    work.setWidth((work.width() + factor - 1) / factor * factor);
    work.setHeight((work.height() + factor - 1) / factor * factor);
    const QRect inside = work & QRect(0, 0, source.cols, source.rows);
    cv::Mat padded = source(toCv(inside));
    if (inside != work)
        cv::copyMakeBorder(padded, padded, inside.top() - work.top(), work.bottom() - inside.bottom(),
                           inside.left() - work.left(), work.right() - inside.right(),
                           cv::BORDER_REPLICATE | cv::BORDER_ISOLATED);

    cv::Mat reduced;
    cv::resize(padded, reduced, cv::Size(work.width() / factor, work.height() / factor), 0, 0, cv::INTER_AREA);
    const double square = double(factor) * factor;
    const double variance = radius * radius - (square - 1) / 12 - square / 6;
    const double sigma = std::sqrt(std::max(variance, square * 0.25)) / factor;
    const int size = kernelSize(sigma);
    cv::GaussianBlur(reduced, reduced, cv::Size(size, size), sigma, sigma, cv::BORDER_REPLICATE);

    const double offsetX = (target.x() - work.x() + 0.5) / factor - 0.5;
    const double offsetY = (target.y() - work.y() + 0.5) / factor - 0.5;
    const cv::Matx23d toReduced(1.0 / factor, 0, offsetX, 0, 1.0 / factor, offsetY);
    cv::warpAffine(reduced, output, toReduced, output.size(), cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                   cv::BORDER_REPLICATE);
}

std::vector<int> blockSamples(int first, int count, int scale, int gridOrigin, int limit)
{
    std::vector<int> samples(static_cast<size_t>(count));
    for (int index = 0; index < count; ++index) {
        const int block = int(std::floor(double(first + index - gridOrigin) / scale));
        const int centre = gridOrigin + block * scale + scale / 2;
        samples[size_t(index)] = std::clamp(centre, 0, limit - 1);
    }
    return samples;
}

} // namespace

int CaptureImageEffects::blurReach(double radius)
{
    return int(std::ceil(3 * radius)) + 2 * reductionFactor(radius);
}

QImage CaptureImageEffects::blur(const QImage &source, const QRect &target, double radius)
{
    QImage result(target.size(), QImage::Format_ARGB32_Premultiplied);
    if (result.isNull())
        return result;
    const cv::Mat input = wrap(source, CV_8UC4);
    cv::Mat output = wrapWritable(result, CV_8UC4);
    const int factor = reductionFactor(radius);
    if (factor <= 1)
        blurDirect(input, target, radius, output);
    else
        blurReduced(input, target, radius, factor, output);
    return result;
}

int CaptureImageEffects::pixelateReach(int scale)
{
    return scale;
}

QImage CaptureImageEffects::pixelate(const QImage &source, const QRect &target, int scale, const QPoint &gridOrigin)
{
    QImage result(target.size(), QImage::Format_ARGB32_Premultiplied);
    if (result.isNull())
        return result;
    const std::vector<int> columns = blockSamples(target.x(), target.width(), scale, gridOrigin.x(), source.width());
    const std::vector<int> rows = blockSamples(target.y(), target.height(), scale, gridOrigin.y(), source.height());
    for (int y = 0; y < target.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(rows[size_t(y)]));
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < target.width(); ++x)
            out[x] = in[columns[size_t(x)]];
    }
    return result;
}

void CaptureImageEffects::blurMask(QImage &mask, double radius)
{
    cv::Mat pixels = wrapWritable(mask, CV_8UC1);
    const int size = kernelSize(radius);
    cv::GaussianBlur(pixels, pixels, cv::Size(size, size), radius, radius, cv::BORDER_REPLICATE);
}
