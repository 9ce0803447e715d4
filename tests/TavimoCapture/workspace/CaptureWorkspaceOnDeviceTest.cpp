#include "WorkspaceTest.h"

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
};

TEST_F(OnDeviceTest, RecognisesTheTextAndPlacesDetectedWordsInTheSourceImage)
{
    QImage image(900, 400, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    painter.setFont(font);
    painter.drawText(QRect(300, 200, 800, 60), Qt::AlignLeft | Qt::AlignTop, "Quarterly invoice");
    painter.end();
    workspace->accept(image);
    CaptureDocument &document = *workspace->document();
    document.setTool(CaptureTool::crop);
    document.finishGesture(QPointF(250, 150), QPointF(850, 350));

    workspace->recognizeText();
    waitWhile(&CaptureWorkspace::recognizing);
    ASSERT_TRUE(workspace->recognizedText());
    EXPECT_TRUE(workspace->recognizedText()->contains("invoice")) << workspace->recognizedText()->toStdString();

    workspace->findTextRegions();
    waitWhile(&CaptureWorkspace::detectingText);
    const QList<QRectF> words = document.detectedTextRects();
    ASSERT_EQ(words.size(), 2) << workspace->notice().toStdString();
    // The words lie where they were drawn in the source, not in the crop.
    EXPECT_NEAR(words.first().left(), 300, 8);
    EXPECT_NEAR(words.first().top(), 200, 16);
    EXPECT_GT(words.last().left(), words.first().right());
}
