#include "ScreenshotTextImage.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <vector>

namespace {

const QStringList vocabulary =
    QStringLiteral(
        "the capture window shows every image you take with a short note about where it was saved and when "
        "Select Area Screen Display Copy Save Pin Export History Settings Preferences editor board layout "
        "arrow rectangle oval text marker legend redact mosaic blur crop undo redo padding shadow border "
        "quickly carefully tomorrow yesterday morning evening project meeting release version update network "
        "folder document picture thumbnail clipboard keyboard shortcut recognition language English 2026 "
        "42 1080 review private local device account server client request response status message")
        .split(QLatin1Char(' '));

QFont bodyFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    return font;
}

// Longest common subsequence of two word lists.
qsizetype commonWords(const QStringList &first, const QStringList &second)
{
    std::vector<qsizetype> previous(size_t(second.size() + 1)), current(previous.size());
    for (const QString &word : first) {
        for (qsizetype column = 1; column <= second.size(); ++column)
            current[size_t(column)] = word == second[column - 1]
                                          ? previous[size_t(column - 1)] + 1
                                          : std::max(previous[size_t(column)], current[size_t(column - 1)]);
        std::swap(previous, current);
    }
    return previous.back();
}

} // namespace

ScreenshotTextImage::ScreenshotTextImage(QSize size, int lineCount, int pixelSize)
    : m_image(size, QImage::Format_ARGB32_Premultiplied)
{
    QRandomGenerator generator(20260101);
    m_image.fill(QColor(250, 250, 250));
    QPainter painter(&m_image);
    painter.fillRect(0, 0, size.width(), 34, QColor(48, 52, 60));
    painter.fillRect(0, 34, 240, size.height() - 34, QColor(232, 235, 240));
    painter.setFont(bodyFont(pixelSize));
    painter.setPen(QColor(235, 235, 235));
    painter.drawText(QRect(0, 0, size.width(), 34), Qt::AlignCenter, QStringLiteral("Notes - Tavimo Capture"));
    painter.setPen(QColor(60, 60, 70));
    for (int item = 0; item < 8; ++item)
        painter.drawText(24, 80 + item * 32, vocabulary[generator.bounded(vocabulary.size())]);

    const QFontMetrics metrics(painter.font(), &m_image);
    const int left = 280;
    const int lineHeight = (size.height() - 60) / std::max(lineCount, 1);
    painter.setPen(QColor(30, 30, 34));
    for (int line = 0; line < lineCount; ++line) {
        QStringList words;
        while (true) {
            const QString word = vocabulary[generator.bounded(vocabulary.size())];
            if (left + metrics.horizontalAdvance((words + QStringList{word}).join(' ')) > size.width() - 80)
                break;
            words.append(word);
        }
        painter.drawText(left, 52 + line * lineHeight + metrics.ascent(), words.join(' '));
        m_bodyWords += words;
    }
}

double ScreenshotTextImage::wordAccuracy(const QString &recognised) const
{
    const QStringList found = recognised.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return m_bodyWords.isEmpty() ? 1.0 : double(commonWords(m_bodyWords, found)) / double(m_bodyWords.size());
}
