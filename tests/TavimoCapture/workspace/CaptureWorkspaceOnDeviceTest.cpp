#include "WorkspaceTest.h"

#include <QFile>
#include <QFont>
#include <QPainter>

// The workspace over the real recogniser: the helper built beside the tests.
class OnDeviceTest : public WorkspaceTest {
protected:
    void SetUp() override
    {
        qputenv("TAVIMO_OCR", TAVIMO_OCR_HELPER);
        recognition = CaptureTextRecognition();
        makeWorkspace();
    }

    void TearDown() override { qunsetenv("TAVIMO_OCR"); }

    // One line of large dark text on white, its top-left corner at `origin`.
    static QImage textImage(const QString &text, QPoint origin)
    {
        QImage image(900, 400, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(40);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(origin, QSize(800, 60)), Qt::AlignLeft | Qt::AlignTop, text);
        return image;
    }
};

TEST_F(OnDeviceTest, RecognisesTheTextAndPlacesDetectedWordsInTheSourceImage)
{
    workspace->accept(textImage("Quarterly invoice", QPoint(300, 200)));
    CaptureDocument &document = *workspace->document();
    document.setTool(CaptureTool::crop);
    document.finishGesture(QPointF(250, 150), QPointF(850, 350));

    workspace->recognizeText();
    waitWhile(&CaptureWorkspace::recognizing);
    ASSERT_TRUE(workspace->recognizedText());
    EXPECT_TRUE(workspace->recognizedText()->contains("invoice")) << workspace->recognizedText()->toStdString();
    EXPECT_EQ(workspace->notice(), "Text recognized on this computer");

    workspace->findTextRegions();
    waitWhile(&CaptureWorkspace::detectingText);
    const QList<QRectF> words = document.detectedTextRects();
    ASSERT_EQ(words.size(), 2) << workspace->notice().toStdString();
    // The words lie where they were drawn in the source, not in the crop.
    EXPECT_NEAR(words.first().left(), 300, 8);
    EXPECT_NEAR(words.first().top(), 200, 16);
    EXPECT_GT(words.last().left(), words.first().right());
}

TEST_F(OnDeviceTest, AMissingRecogniserIsReported)
{
    qputenv("TAVIMO_OCR", QFile::encodeName(path("missing")));
    open();
    workspace->recognizeText();
    waitWhile(&CaptureWorkspace::recognizing);
    EXPECT_EQ(workspace->notice(), "Text recognition is not available: the tavimo-ocr program is not installed.");
    EXPECT_FALSE(workspace->recognizedText());
}
