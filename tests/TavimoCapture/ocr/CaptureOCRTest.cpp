#include "CaptureOCR.h"
#include "CaptureOCRFailure.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QTemporaryDir>
#include <QtConcurrent>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

// Points the app at a helper for one test, the built one by default.
class OCRTest : public testing::Test {
protected:
    void SetUp() override { qputenv("TAVIMO_OCR", TAVIMO_OCR_HELPER); }
    void TearDown() override
    {
        qunsetenv("TAVIMO_OCR");
        qunsetenv("TESSDATA_PREFIX");
    }

    // A helper that swallows the image and then runs `script`.
    void useFakeHelper(const QByteArray &script)
    {
        const QString path = m_folder.filePath("fake-ocr");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\ncat > /dev/null\n" + script + "\n");
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        file.close();
        qputenv("TAVIMO_OCR", QFile::encodeName(path));
    }

    QTemporaryDir m_folder;
};

QFont font(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    return font;
}

// Draws lines of text, black on `background`, 40 pixels high, from (30, 30).
QImage textImage(const QStringList &lines, QSize size = QSize(640, 200), QColor background = Qt::white)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font(40));
    painter.setPen(Qt::black);
    const QFontMetrics metrics(painter.font(), &image);
    for (qsizetype index = 0; index < lines.size(); ++index)
        painter.drawText(30, 30 + int(index) * 70 + metrics.ascent(), lines[index]);
    return image;
}

// Where `word` lies when it starts `before` into the first line of textImage().
QRectF drawnRect(const QString &before, const QString &word)
{
    QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
    const QFontMetrics metrics(font(40), &device);
    return metrics.tightBoundingRect(word).translated(30 + metrics.horizontalAdvance(before), 30 + metrics.ascent());
}

CaptureOCRFailure failureOf(const QImage &image)
{
    try {
        CaptureOCR::recognize(image);
    } catch (const CaptureOCRError &error) {
        return error.code();
    }
    ADD_FAILURE() << "recognition succeeded";
    return CaptureOCRFailure::failed;
}

MATCHER_P(WordNear, drawn, "")
{
    const QRectF &box = arg.rect;
    return qAbs(box.left() - drawn.left()) <= 4 && qAbs(box.top() - drawn.top()) <= 4 &&
           qAbs(box.right() - drawn.right()) <= 4 && qAbs(box.bottom() - drawn.bottom()) <= 4;
}

} // namespace

void PrintTo(const CaptureOCRRegion &region, std::ostream *stream)
{
    const QRectF &rect = region.rect;
    *stream << region.text.toStdString() << " at " << rect.x() << "," << rect.y() << " " << rect.width() << "x"
            << rect.height();
}

TEST_F(OCRTest, ImageWithoutTextGivesNoTextAndNoRegions)
{
    const QImage blank = textImage({});
    EXPECT_EQ(CaptureOCR::recognize(blank), QString());
    EXPECT_TRUE(CaptureOCR::regions(blank).isEmpty());
}

TEST_F(OCRTest, WordsAreBoxedWhereTheyWereDrawnWithoutPunctuation)
{
    using testing::AllOf;
    using testing::Field;
    EXPECT_THAT(CaptureOCR::regions(textImage({"alpha, beta"})),
                testing::ElementsAre(
                    AllOf(Field(&CaptureOCRRegion::text, QString("alpha")), WordNear(drawnRect(QString(), "alpha"))),
                    AllOf(Field(&CaptureOCRRegion::text, QString("beta")), WordNear(drawnRect("alpha, ", "beta")))));
}

TEST_F(OCRTest, LargeImageIsReadInPiecesWithLinesInReadingOrder)
{
    QStringList lines;
    for (int index = 1; index <= 16; ++index)
        lines.append(QStringLiteral("Line number %1 of the page").arg(index));
    const QString text = CaptureOCR::recognize(textImage(lines, QSize(900, 1160)));
    EXPECT_EQ(text, lines.join('\n'));
}

TEST_F(OCRTest, CallsRunSideBySideAndTransparencyIsReadOverWhite)
{
    QFuture<QString> first =
        QtConcurrent::run([] { return CaptureOCR::recognize(textImage({"first"}, QSize(480, 120), Qt::transparent)); });
    EXPECT_EQ(CaptureOCR::recognize(textImage({"second"})), "second");
    EXPECT_EQ(first.result(), "first");
}

TEST_F(OCRTest, ClipboardTextKeepsTextAsGivenOrGivesNothing)
{
    EXPECT_EQ(CaptureOCR::clipboardText("  abc\n"), QString("  abc\n"));
    EXPECT_FALSE(CaptureOCR::clipboardText(" \n \t\n"));
    EXPECT_FALSE(CaptureOCR::clipboardText(QString()));
}

TEST_F(OCRTest, MissingLanguageDataOrHelperIsExplained)
{
    qputenv("TESSDATA_PREFIX", QFile::encodeName(m_folder.path()));
    EXPECT_EQ(failureOf(textImage({"text"})), CaptureOCRFailure::languageDataMissing);
    qputenv("TAVIMO_OCR", QFile::encodeName(m_folder.filePath("missing")));
    EXPECT_EQ(failureOf(textImage({"text"})), CaptureOCRFailure::helperMissing);
    EXPECT_TRUE(description(CaptureOCRFailure::helperMissing).contains("tavimo-ocr"));
}

TEST_F(OCRTest, HelperCrashOrGarbageIsAFailure)
{
    for (const QByteArray &script :
         {QByteArray("kill -SEGV $$"), QByteArray("echo '{\"text\": '"), QByteArray("exit 65")}) {
        useFakeHelper(script);
        EXPECT_EQ(failureOf(textImage({"text"})), CaptureOCRFailure::failed) << script.constData();
    }
    EXPECT_EQ(failureOf(QImage()), CaptureOCRFailure::failed);
}

TEST_F(OCRTest, LineWithoutWordBoxesIsOneRegion)
{
    useFakeHelper(R"(echo '{"text":"x-ray, vision","box":[10,20,200,30],"words":[)"
                  R"({"text":"x-ray,","box":[10,20,90,30],"symbols":[[10,20,10,30,"x"],[20,20,10,30,"-"],)"
                  R"([30,20,60,30,"ray"],[90,20,10,30,","]]},{"text":"vision","box":[110,20,0,0]}]}'

                  echo '{"text":"no boxes here","box":[5,60,100,20],"words":[{"text":"no","box":[0,0,0,0]}]}')");

    const QList<CaptureOCRRegion> regions = CaptureOCR::regions(textImage({"ignored"}));
    // Unicode word boundaries split at the hyphen; the comma belongs to no word.
    EXPECT_EQ(regions, (QList<CaptureOCRRegion>{{QRectF(10, 20, 10, 30), "x"},
                                                {QRectF(30, 20, 60, 30), "ray"},
                                                {QRectF(5, 60, 100, 20), "no boxes here"}}));
    EXPECT_EQ(CaptureOCR::recognize(textImage({"ignored"})), QStringLiteral("x-ray, vision\nno boxes here"));
}
