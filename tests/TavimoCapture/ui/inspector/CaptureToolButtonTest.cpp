#include "InspectorFixture.h"

#include "CaptureCanvasView.h"
#include "CaptureToolBar.h"
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

TEST_F(InspectorTest, EveryToolHasAnIconAndAnInstruction)
{
    for (CaptureTool tool : RawEnum<CaptureTool>::cases) {
        EXPECT_FALSE(CaptureToolButton::icon(tool).pixmap(24, 24).isNull()) << rawValue(tool).toStdString();
        EXPECT_FALSE(CaptureToolButton::instruction(tool, false).isEmpty());
        EXPECT_EQ(CaptureCanvasView::toolForKey(CaptureCanvasView::keyForTool(tool).at(0).unicode()), tool);
    }
    EXPECT_EQ(CaptureToolButton::instruction(CaptureTool::magnifier, false),
              QStringLiteral("First, drag over the source area to magnify."));
    EXPECT_EQ(CaptureToolButton::instruction(CaptureTool::magnifier, true),
              QStringLiteral("Now drag the enlarged destination. Escape cancels. Move and resize both areas "
                             "independently with Select."));
}

TEST_F(InspectorTest, TheToolBarHasOneButtonPerToolAndTheInstructionFollowsTheMagnifier)
{
    CaptureToolBar bar(document);
    ASSERT_EQ(bar.buttons().size(), 13);
    EXPECT_EQ(bar.buttons().first()->tool(), CaptureTool::select);
    EXPECT_EQ(bar.buttons().last()->tool(), CaptureTool::crop);
    bar.buttons()[5]->click();
    EXPECT_EQ(bar.instructionLabel()->text(), QStringLiteral("First, drag over the source area to magnify."));
    document->beginMagnifier(QPointF(10, 10), QPointF(50, 40));
    EXPECT_TRUE(bar.instructionLabel()->text().startsWith(QStringLiteral("Now drag the enlarged destination.")));
}
