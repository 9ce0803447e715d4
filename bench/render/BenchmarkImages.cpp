#include "BenchmarkImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

#include <cmath>

namespace {

const QString words = QStringLiteral("the quick capture lives in the tray and saves every image exactly as the user "
                                     "sees it while annotations arrows and numbered markers explain each step ");

void drawText(QPainter &painter, const QRect &area, QRandomGenerator &generator)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    painter.setFont(font);
    painter.setPen(QColor(40, 40, 40));
    for (int y = area.top() + 20; y < area.bottom(); y += 22) {
        const int start = generator.bounded(int(words.size()) / 2);
        const int length = 40 + generator.bounded(60);
        painter.drawText(QPointF(area.left() + 12, y), words.mid(start, length));
    }
}

void drawPanels(QPainter &painter, const QRect &area, QRandomGenerator &generator)
{
    for (int panel = 0; panel < 40; ++panel) {
        const QRect box(area.left() + generator.bounded(area.width() - 200),
                        area.top() + generator.bounded(area.height() - 60), 80 + generator.bounded(200),
                        24 + generator.bounded(40));
        painter.setPen(QColor(180, 180, 190));
        painter.setBrush(
            QColor::fromHsv(generator.bounded(360), 40 + generator.bounded(80), 200 + generator.bounded(55)));
        painter.drawRoundedRect(box, 6, 6);
    }
}

// Smooth shapes with a little grain, as a photograph has.
QImage photo(int width, int height, QRandomGenerator &generator)
{
    QImage coarse(width / 32 + 2, height / 32 + 2, QImage::Format_RGB32);
    for (int y = 0; y < coarse.height(); ++y) {
        for (int x = 0; x < coarse.width(); ++x)
            coarse.setPixel(
                x, y, qRgb(60 + generator.bounded(160), 80 + generator.bounded(140), 50 + generator.bounded(150)));
    }
    QImage result = coarse.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = generator.bounded(9) - 4;
            const QRgb pixel = line[x];
            line[x] = qRgb(std::clamp(qRed(pixel) + grain, 0, 255), std::clamp(qGreen(pixel) + grain, 0, 255),
                           std::clamp(qBlue(pixel) + grain, 0, 255));
        }
    }
    return result;
}

} // namespace

QImage BenchmarkImages::screenshot(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(236, 238, 242));
    QRandomGenerator generator(2024);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    QLinearGradient banner(0, 0, width, 0);
    banner.setColorAt(0, QColor(40, 90, 200));
    banner.setColorAt(1, QColor(160, 60, 180));
    painter.fillRect(QRect(0, 0, width, height / 12), banner);

    const QRect document(width / 20, height / 8, width / 2, height * 3 / 4);
    painter.fillRect(document, Qt::white);
    drawText(painter, document, generator);
    const QRect sidebar(width * 6 / 10, height / 8, width * 3 / 10, height / 3);
    painter.fillRect(sidebar, QColor(250, 250, 252));
    drawPanels(painter, sidebar, generator);
    painter.drawImage(QPoint(width * 6 / 10, height / 2), photo(width * 3 / 10, height * 2 / 5, generator));
    return image;
}

const QImage &BenchmarkImages::capture5K()
{
    static const QImage image = screenshot(5120, 2880);
    return image;
}
