#include "CaptureOCREngine.h"

#include <QJsonObject>

#include <tesseract/resultiterator.h>

#include <algorithm>

namespace {

using tesseract::PageIteratorLevel;

constexpr int screenResolution = 96;

struct TextBlock {
    QRect box;
    QList<QRect> lines;
};

QRect boxAt(const tesseract::PageIterator &iterator, PageIteratorLevel level)
{
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!iterator.BoundingBox(level, &left, &top, &right, &bottom))
        return QRect();
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QJsonArray jsonBox(const QRect &box)
{
    return QJsonArray{box.x(), box.y(), box.width(), box.height()};
}

QString takeText(char *utf8)
{
    const QString text = QString::fromUtf8(utf8);
    delete[] utf8;
    return text;
}

QList<TextBlock> textBlocks(tesseract::PageIterator &iterator)
{
    QList<TextBlock> blocks;
    bool inText = false;
    iterator.Begin();
    do {
        if (iterator.IsAtBeginningOf(tesseract::RIL_BLOCK)) {
            inText = PTIsTextType(iterator.BlockType());
            if (inText)
                blocks.append({boxAt(iterator, tesseract::RIL_BLOCK), {}});
        }
        const QRect line = boxAt(iterator, tesseract::RIL_TEXTLINE);
        if (inText && !line.isEmpty() && !blocks.isEmpty())
            blocks.last().lines.append(line);
    } while (iterator.Next(tesseract::RIL_TEXTLINE));
    return blocks;
}

// Tesseract reads a line at the very edge of its rectangle poorly: the block's
// outer edges get a margin of half a line.
QRect withMargin(const TextBlock &block)
{
    int height = 0;
    for (const QRect &line : block.lines)
        height += line.height();
    const int margin = std::max(4, height / int(block.lines.size()) / 2);
    return block.box.adjusted(-margin, -margin, margin, margin);
}

// Cuts a block between lines into slices of at most `linesPerPiece` lines.
void appendSlices(const TextBlock &block, qsizetype linesPerPiece, QList<QRect> &pieces)
{
    const QList<QRect> &lines = block.lines;
    if (lines.isEmpty())
        return;
    const QRect outer = withMargin(block);
    for (qsizetype first = 0; first < lines.size(); first += linesPerPiece) {
        const qsizetype last = std::min(first + linesPerPiece, lines.size()) - 1;
        const int top = first == 0 ? outer.top() : (lines[first - 1].bottom() + lines[first].top() + 1) / 2;
        const int bottom =
            last == lines.size() - 1 ? outer.bottom() : (lines[last].bottom() + lines[last + 1].top()) / 2;
        pieces.append(QRect(QPoint(outer.left(), top), QPoint(outer.right(), bottom)));
    }
}

// One line of text as it is put together word by word.
class RecognisedLine {
public:
    RecognisedLine() = default;
    explicit RecognisedLine(const QRect &box) : m_box(box) {}

    void addWord(const QString &text, const QJsonObject &word)
    {
        m_texts.append(text);
        m_words.append(word);
    }

    // Lines of nothing but white space are noise and left out.
    void appendTo(QJsonArray &lines) const
    {
        const QString text = m_texts.join(QLatin1Char(' '));
        if (!text.trimmed().isEmpty())
            lines.append(QJsonObject{{"text", text}, {"box", jsonBox(m_box)}, {"words", m_words}});
    }

private:
    QRect m_box;
    QStringList m_texts;
    QJsonArray m_words;
};

// Letters and digits only: the word's own box is the box of its text.
bool isPlainWord(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar character) { return character.isLetterOrNumber(); });
}

// [[x, y, width, height, text], ...] of the symbols of the word at `word`.
QJsonArray symbolsOfWord(const tesseract::ResultIterator &word)
{
    QJsonArray symbols;
    tesseract::ResultIterator symbol(word);
    do {
        QJsonArray entry = jsonBox(boxAt(symbol, tesseract::RIL_SYMBOL));
        entry.append(takeText(symbol.GetUTF8Text(tesseract::RIL_SYMBOL)));
        symbols.append(entry);
    } while (!symbol.IsAtFinalElement(tesseract::RIL_WORD, tesseract::RIL_SYMBOL) &&
             symbol.Next(tesseract::RIL_SYMBOL));
    return symbols;
}

} // namespace

std::unique_ptr<CaptureOCREngine> CaptureOCREngine::create()
{
    std::unique_ptr<CaptureOCREngine> engine(new CaptureOCREngine);
    if (engine->m_api.Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY) != 0)
        return nullptr;
    return engine;
}

CaptureOCREngine::~CaptureOCREngine()
{
    m_api.End();
}

void CaptureOCREngine::setImage(const CaptureOCRPixels &pixels)
{
    m_api.SetImage(pixels.rows(), pixels.width(), pixels.height(), 3, pixels.bytesPerLine());
    // Screen pixels. Without a resolution Tesseract guesses one from the text,
    // and on a busy screenshot then takes up to a third longer.
    m_api.SetSourceResolution(screenResolution);
    m_bounds = QRect(0, 0, pixels.width(), pixels.height());
}

QList<QRect> CaptureOCREngine::textPieces(int count)
{
    m_api.SetPageSegMode(tesseract::PSM_AUTO);
    const std::unique_ptr<tesseract::PageIterator> layout(m_api.AnalyseLayout());
    if (!layout)
        return {};
    const QList<TextBlock> blocks = textBlocks(*layout);
    qsizetype lineCount = 0;
    for (const TextBlock &block : blocks)
        lineCount += block.lines.size();
    const qsizetype linesPerPiece = std::max<qsizetype>(1, (lineCount + count - 1) / std::max(count, 1));
    QList<QRect> pieces;
    for (const TextBlock &block : blocks)
        appendSlices(block, linesPerPiece, pieces);
    return pieces;
}

QJsonArray CaptureOCREngine::recognisePage()
{
    m_api.SetPageSegMode(tesseract::PSM_AUTO);
    m_api.SetRectangle(m_bounds.x(), m_bounds.y(), m_bounds.width(), m_bounds.height());
    return recognisedLines();
}

QJsonArray CaptureOCREngine::recognisePiece(const QRect &piece)
{
    const QRect area = piece.intersected(m_bounds);
    m_api.SetPageSegMode(tesseract::PSM_SINGLE_BLOCK);
    m_api.SetRectangle(area.x(), area.y(), area.width(), area.height());
    return recognisedLines();
}

QJsonArray CaptureOCREngine::recognisedLines()
{
    QJsonArray lines;
    if (m_api.Recognize(nullptr) != 0)
        return lines;
    const std::unique_ptr<tesseract::ResultIterator> iterator(m_api.GetIterator());
    if (!iterator || iterator->Empty(tesseract::RIL_WORD))
        return lines;
    RecognisedLine line;
    iterator->Begin();
    do {
        if (iterator->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
            line.appendTo(lines);
            line = RecognisedLine(boxAt(*iterator, tesseract::RIL_TEXTLINE));
        }
        const QString text = takeText(iterator->GetUTF8Text(tesseract::RIL_WORD));
        QJsonObject word{{"text", text}, {"box", jsonBox(boxAt(*iterator, tesseract::RIL_WORD))}};
        if (!isPlainWord(text))
            word.insert("symbols", symbolsOfWord(*iterator));
        line.addWord(text, word);
    } while (iterator->Next(tesseract::RIL_WORD));
    line.appendTo(lines);
    return lines;
}
