#include "BenchmarkImages.h"

#include <QBuffer>
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

const QString article = QStringLiteral(
    "Screenshots are the quickest way to show a colleague what you see. Select an area, add an arrow and a "
    "numbered marker for each step, then paste the result into the chat. The editor keeps every mark editable "
    "until you export, and the frame adds padding, rounded corners and a soft shadow. ");

// Smooth value noise of several octaves down to cells of `finest` pixels, with
// sensor grain of +-`grain`: compresses about as badly as a photograph.
QImage photograph(QSize size, quint32 seed, QColor tint, int finest, int grain)
{
    QRandomGenerator generator(seed);
    QImage result(size, QImage::Format_ARGB32_Premultiplied);
    result.fill(tint);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Finer octaves weigh less, as in natural images.
    double weight = 0.5;
    for (int cell = 256; cell >= finest; cell /= 2, weight *= 0.6) {
        QImage octave(size.width() / cell + 2, size.height() / cell + 2, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < octave.height(); ++y) {
            for (int x = 0; x < octave.width(); ++x) {
                const int level = generator.bounded(256);
                octave.setPixel(x, y, qRgb(level, std::clamp(level + generator.bounded(60) - 30, 0, 255), 255 - level));
            }
        }
        painter.setOpacity(weight);
        painter.drawImage(QRectF(QPointF(-cell / 2.0, -cell / 2.0), QSizeF(octave.size()) * cell), octave);
    }
    painter.end();
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = generator.bounded(2 * grain + 1) - grain;
            line[x] = qRgb(std::clamp(qRed(line[x]) + noise, 0, 255), std::clamp(qGreen(line[x]) + noise, 0, 255),
                           std::clamp(qBlue(line[x]) + noise, 0, 255));
        }
    }
    return result;
}

QFont font(const QString &family, int pixelSize, bool bold = false)
{
    QFont result(family);
    result.setPixelSize(pixelSize);
    result.setBold(bold);
    return result;
}

void drawParagraphs(QPainter &painter, const QRect &area, const QFont &textFont, const QColor &colour)
{
    painter.setFont(textFont);
    painter.setPen(colour);
    QString text;
    for (int copy = 0; copy < 40; ++copy)
        text += article;
    painter.drawText(area, Qt::TextWordWrap | Qt::AlignTop | Qt::AlignLeft, text);
}

void drawWindowFrame(QPainter &painter, const QRect &window, const QString &title, bool dark)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(window.adjusted(-6, -2, 6, 12), 14, 14);
    painter.setBrush(dark ? QColor(30, 32, 36) : QColor(248, 248, 250));
    painter.drawRoundedRect(window, 10, 10);
    QLinearGradient bar(window.topLeft(), window.topLeft() + QPoint(0, 64));
    bar.setColorAt(0, dark ? QColor(58, 60, 66) : QColor(236, 236, 240));
    bar.setColorAt(1, dark ? QColor(44, 46, 50) : QColor(222, 222, 228));
    painter.fillRect(QRect(window.left(), window.top() + 8, window.width(), 56), bar);
    const QColor buttons[] = {QColor(255, 95, 87), QColor(254, 188, 46), QColor(40, 200, 64)};
    for (int index = 0; index < 3; ++index) {
        painter.setBrush(buttons[index]);
        painter.drawEllipse(QPoint(window.left() + 32 + 36 * index, window.top() + 36), 11, 11);
    }
    painter.setFont(font(QStringLiteral("DejaVu Sans"), 24, true));
    painter.setPen(dark ? QColor(210, 210, 214) : QColor(60, 60, 66));
    painter.drawText(QRect(window.left(), window.top() + 8, window.width(), 56), Qt::AlignCenter, title);
}

void drawArticleWindow(QPainter &painter, const QRect &window)
{
    drawWindowFrame(painter, window, QStringLiteral("Capture, annotate and share — Browser"), false);
    const QRect sidebar(window.left(), window.top() + 64, 560, window.height() - 64);
    QLinearGradient side(sidebar.topLeft(), sidebar.bottomLeft());
    side.setColorAt(0, QColor(232, 236, 244));
    side.setColorAt(1, QColor(214, 222, 236));
    painter.fillRect(sidebar, side);
    painter.setFont(font(QStringLiteral("DejaVu Sans"), 26));
    for (int row = 0; row < 26; ++row) {
        const QRect item(sidebar.left() + 24, sidebar.top() + 28 + row * 60, sidebar.width() - 48, 48);
        if (row == 3) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(47, 128, 237));
            painter.drawRoundedRect(item, 8, 8);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromHsv((row * 47) % 360, 150, 220));
        painter.drawRoundedRect(QRect(item.left() + 10, item.top() + 10, 28, 28), 6, 6);
        painter.setPen(row == 3 ? Qt::white : QColor(40, 44, 52));
        painter.drawText(item.adjusted(56, 0, 0, 0), Qt::AlignVCenter, article.section(QLatin1Char(' '), row, row + 2));
    }
    const QRect page = window.adjusted(sidebar.width() + 80, 120, -80, -40);
    painter.setFont(font(QStringLiteral("DejaVu Serif"), 64, true));
    painter.setPen(QColor(20, 20, 24));
    painter.drawText(QRect(page.left(), page.top(), page.width(), 90), Qt::AlignLeft,
                     QStringLiteral("A capture in three steps"));
    const QRect photo(page.left(), page.top() + 120, page.width() * 3 / 5, page.height() * 2 / 5);
    painter.drawImage(photo, photograph(photo.size(), 11, QColor(120, 150, 110), 2, 1));
    drawParagraphs(painter, QRect(photo.right() + 40, photo.top(), page.right() - photo.right() - 40, photo.height()),
                   font(QStringLiteral("DejaVu Sans"), 20), QColor(90, 90, 96));
    drawParagraphs(painter, QRect(page.left(), photo.bottom() + 40, page.width(), page.bottom() - photo.bottom() - 40),
                   font(QStringLiteral("DejaVu Sans"), 30), QColor(34, 34, 38));
}

void drawTerminal(QPainter &painter, const QRect &window)
{
    drawWindowFrame(painter, window, QStringLiteral("Terminal"), true);
    painter.setFont(font(QStringLiteral("DejaVu Sans Mono"), 22));
    const QColor colours[] = {QColor(152, 195, 121), QColor(224, 108, 117), QColor(97, 175, 239),
                              QColor(200, 200, 200)};
    const QString command = QStringLiteral("$ tavimo-screencapture -x -t png -i -o ~/Pictures/capture-%1.png  # %2 ms");
    int line = 0;
    for (int y = window.top() + 100; y < window.bottom() - 20; y += 30, ++line) {
        painter.setPen(colours[line % 4]);
        painter.drawText(QPoint(window.left() + 24, y), command.arg(line * 37 % 1000).arg(100 + line * 13 % 400));
    }
}

void drawTaskBar(QPainter &painter, const QRect &bar)
{
    painter.fillRect(bar, QColor(20, 22, 28, 215));
    painter.setPen(Qt::NoPen);
    for (int index = 0; index < 12; ++index) {
        QLinearGradient icon(0, bar.top() + 12, 0, bar.bottom() - 12);
        icon.setColorAt(0, QColor::fromHsv((index * 53) % 360, 120, 250));
        icon.setColorAt(1, QColor::fromHsv((index * 53) % 360, 200, 180));
        painter.setBrush(icon);
        painter.drawRoundedRect(QRect(bar.left() + 40 + index * 110, bar.top() + 14, 84, bar.height() - 28), 18, 18);
    }
    painter.setFont(font(QStringLiteral("DejaVu Sans"), 28));
    painter.setPen(Qt::white);
    painter.drawText(bar.adjusted(0, 0, -40, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Tue 14:32"));
}

} // namespace

QImage BenchmarkImages::realisticScreen(int width, int height)
{
    QImage image = photograph(QSize(width, height), 5, QColor(70, 110, 160), 64, 0);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const double x = width / 5120.0;
    const double y = height / 2880.0;
    drawArticleWindow(painter, QRect(int(160 * x), int(120 * y), int(3300 * x), int(2500 * y)));
    drawTerminal(painter, QRect(int(3560 * x), int(300 * y), int(1440 * x), int(1500 * y)));
    drawTaskBar(painter, QRect(0, height - int(110 * y), width, int(110 * y)));
    return image;
}

const QImage &BenchmarkImages::realistic5K()
{
    static const QImage image = realisticScreen(5120, 2880);
    return image;
}

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

QByteArray BenchmarkImages::pngSavedByQt(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}
