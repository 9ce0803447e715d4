#include "InspectorFixture.h"

#include "CaptureCanvasView.h"
#include "CaptureToolButton.h"

#include <QTest>

TEST_F(InspectorTest, ToolButtonsClearDetectedTextExceptForRedaction)
{
    document->setDetectedTextRects({QRectF(10, 10, 40, 12)});
    add(CaptureTool::rectangle, QRectF(100, 100, 50, 40));
    CaptureToolButton redact(document, CaptureTool::redact);
    redact.click();
    EXPECT_EQ(document->tool(), CaptureTool::redact);
    EXPECT_TRUE(document->selectedID().isNull());
    EXPECT_EQ(document->detectedTextRects().size(), 1);
    EXPECT_TRUE(redact.isSelectedTool());
    CaptureToolButton pixelate(document, CaptureTool::pixelate);
    pixelate.click();
    EXPECT_EQ(document->detectedTextRects().size(), 1);
    CaptureToolButton blur(document, CaptureTool::blur);
    blur.click();
    EXPECT_TRUE(document->detectedTextRects().isEmpty());
    EXPECT_FALSE(redact.isSelectedTool());
}

TEST_F(InspectorTest, ToolButtonsCommitPendingTextAndShowTheirKey)
{
    CaptureCanvasView canvas(document);
    canvas.resize(448, 348);
    document->setTool(CaptureTool::text);
    canvas.show();
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, canvas.viewPoint(QPointF(50, 50)).toPoint());
    ASSERT_TRUE(canvas.textEditor());
    QTest::keyClicks(canvas.textEditor(), "Note");
    CaptureToolButton arrow(document, CaptureTool::arrow);
    EXPECT_EQ(arrow.toolTip(), QStringLiteral("Arrow (A)"));
    arrow.click();
    EXPECT_EQ(document->annotations().size(), 1);
    EXPECT_EQ(document->annotations().first().text, QStringLiteral("Note"));
    EXPECT_EQ(document->tool(), CaptureTool::arrow);
}
