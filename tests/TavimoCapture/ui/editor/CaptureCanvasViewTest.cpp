#include "CanvasFixture.h"

#include "CaptureInlineTextView.h"

#include <QTest>

using Canvas = CanvasFixture;

TEST_F(Canvas, FitsTheCompositionInsideA24PointInsetAndEnlargesSmallImages)
{
    EXPECT_EQ(canvas->outputRect(), QRectF(24, 24, 400, 300));
    EXPECT_DOUBLE_EQ(canvas->viewScale(), 1);
    open(QSize(100, 75));
    EXPECT_DOUBLE_EQ(canvas->viewScale(), 4);
    EXPECT_EQ(canvas->imagePoint(QPointF(24 + 40, 24 + 80), false), QPointF(10, 20));
    EXPECT_EQ(canvas->imagePoint(QPointF(0, 0), true), QPointF(0, 0));
}

TEST_F(Canvas, SelectMovesAMarkThatExtendsBeyondTheCroppedImageFromOutsideIt)
{
    draw(CaptureTool::rectangle, QPointF(10, 10), QPointF(200, 150));
    draw(CaptureTool::crop, QPointF(100, 100), QPointF(400, 300));
    ASSERT_EQ(document->cropRect(), QRectF(100, 100, 300, 200));
    document->setTool(CaptureTool::select);
    ASSERT_FALSE(canvas->imageRect().contains(canvas->viewPoint(QPointF(90, 120))));
    dragPath(QPointF(90, 120), QPointF(110, 140));
    // The move is limited so every point of the mark lands inside the crop.
    EXPECT_EQ(document->annotations().first().start, QPointF(100, 100));
    EXPECT_EQ(document->annotations().first().end, QPointF(290, 240));
}

// Every detected word is marked while a redaction tool is chosen, hovered
// or not, and a word under another mark can still be clicked away.
TEST_F(Canvas, DetectedWordsShowWithoutHoverAndStayClickableUnderMarks)
{
    document->setDetectedTextRects({QRectF(50, 50, 60, 20), QRectF(200, 150, 60, 20)});
    const QList<QRectF> words = document->detectedTextRects();
    CaptureStyle filled = document->style();
    filled.shapeMode = CaptureShapeMode::fill;
    document->setStyle(filled);
    draw(CaptureTool::rectangle, QPointF(190, 140), QPointF(280, 190));
    const QColor coveringMark = pixel(canvas->viewPoint(QPointF(195, 145)));
    for (const CaptureTool tool : {CaptureTool::redact, CaptureTool::pixelate}) {
        document->setTool(tool);
        EXPECT_NE(pixel(canvas->viewPoint(words[0].center())), QColor(Qt::white)) << rawValue(tool).toStdString();
        EXPECT_NE(pixel(canvas->viewPoint(words[1].center())), coveringMark) << rawValue(tool).toStdString();
    }
    document->setTool(CaptureTool::arrow);
    EXPECT_EQ(pixel(canvas->viewPoint(words[0].center())), QColor(Qt::white));

    document->setTool(CaptureTool::redact);
    hover(words[0].center());
    EXPECT_EQ(canvas->hoveredText(), words[0]);
    press(words[1].center());
    release(words[1].center());
    EXPECT_EQ(last().tool, CaptureTool::redact);
    EXPECT_EQ(last().rect(), words[1]);
}

TEST_F(Canvas, ReturnCommitsTextAndEscapeOnAClearedMarkKeepsIt)
{
    document->setTool(CaptureTool::text);
    press(QPointF(100, 100));
    release(QPointF(100, 100));
    ASSERT_TRUE(canvas->textEditor());
    QTest::keyClicks(canvas->textEditor(), QStringLiteral("Hello"));
    QTest::keyClick(canvas->textEditor(), Qt::Key_Return);
    ASSERT_EQ(document->annotations().size(), 1);
    EXPECT_EQ(last().text, QStringLiteral("Hello"));
    EXPECT_EQ(last().start, QPointF(100, 100));

    QTest::keyClick(canvas.get(), Qt::Key_Return);
    ASSERT_TRUE(canvas->textEditor());
    canvas->textEditor()->clear();
    QTest::keyClick(canvas->textEditor(), Qt::Key_Escape);
    EXPECT_FALSE(canvas->textEditor());
    ASSERT_EQ(document->annotations().size(), 1);
    EXPECT_EQ(last().text, QStringLiteral("Hello"));
}

TEST_F(Canvas, ADoubleClickWithSelectEditsTheTextUnderIt)
{
    document->setTool(CaptureTool::text);
    press(QPointF(100, 100));
    release(QPointF(100, 100));
    QTest::keyClicks(canvas->textEditor(), QStringLiteral("Note"));
    QTest::keyClick(canvas->textEditor(), Qt::Key_Return);
    ASSERT_EQ(document->annotations().size(), 1);
    document->setTool(CaptureTool::select);
    const QPoint onText = canvas->viewPoint(QPointF(104, 104)).toPoint();
    QTest::mouseClick(canvas.get(), Qt::LeftButton, {}, onText);
    EXPECT_FALSE(canvas->textEditor());
    QTest::mouseDClick(canvas.get(), Qt::LeftButton, {}, onText);
    ASSERT_TRUE(canvas->textEditor());
    EXPECT_EQ(canvas->textEditor()->toPlainText(), QStringLiteral("Note"));
    EXPECT_EQ(canvas->textEditor()->geometry().topLeft(),
              canvas->viewPoint(QPointF(100, 100)).toPoint() - QPoint(4, 4));
}

TEST_F(Canvas, ShiftReturnAddsALine)
{
    document->setTool(CaptureTool::text);
    press(QPointF(100, 100));
    release(QPointF(100, 100));
    QTest::keyClicks(canvas->textEditor(), QStringLiteral("a"));
    QTest::keyClick(canvas->textEditor(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(canvas->textEditor(), QStringLiteral("b"));
    // Anything that must see the finished text commits it first.
    document->commitPendingText();
    ASSERT_EQ(document->annotations().size(), 1);
    EXPECT_EQ(last().text, QStringLiteral("a\nb"));
}

TEST_F(Canvas, TheLegendDividerDraggedFarUpGives80AndStopsFitting)
{
    document->setLegendEnabled(true);
    document->setTool(CaptureTool::number);
    press(QPointF(100, 100));
    release(QPointF(100, 100));
    const QRectF divider = canvas->legendDivider();
    ASSERT_FALSE(divider.isEmpty());
    const QPointF grip = divider.center();
    const auto sendAt = [&](QEvent::Type type, QPointF view, Qt::MouseButtons buttons) {
        QMouseEvent event(type, view, canvas->mapToGlobal(view),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, {});
        QApplication::sendEvent(canvas.get(), &event);
    };
    sendAt(QEvent::MouseButtonPress, grip, Qt::LeftButton);
    sendAt(QEvent::MouseMove, grip - QPointF(0, 5000), Qt::LeftButton);
    EXPECT_TRUE(canvas->legendPreview());
    sendAt(QEvent::MouseButtonRelease, grip - QPointF(0, 5000), Qt::NoButton);
    EXPECT_EQ(document->composition().legend.height, 80);
    EXPECT_FALSE(document->composition().legend.fitToContent);
}

TEST_F(Canvas, DeleteRemovesTheSelectionAndDisabledInputIgnoresPresses)
{
    draw(CaptureTool::rectangle, QPointF(50, 50), QPointF(150, 120));
    canvas->setInputEnabled(false);
    QTest::keyClick(canvas.get(), Qt::Key_Delete);
    EXPECT_EQ(document->annotations().size(), 1);
    draw(CaptureTool::rectangle, QPointF(200, 200), QPointF(250, 250));
    EXPECT_EQ(document->annotations().size(), 1);
    canvas->setInputEnabled(true);
    QTest::keyClick(canvas.get(), Qt::Key_Delete);
    EXPECT_TRUE(document->annotations().isEmpty());
}

TEST_F(Canvas, ToolUndoRedoAndEscapeKeys)
{
    QTest::keyClick(canvas.get(), Qt::Key_R);
    EXPECT_EQ(document->tool(), CaptureTool::rectangle);
    dragPath(QPointF(50, 50), QPointF(150, 120));
    QTest::keyClick(canvas.get(), Qt::Key_O);
    EXPECT_EQ(document->tool(), CaptureTool::oval);
    QTest::keyClick(canvas.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(document->annotations().isEmpty());
    QTest::keyClick(canvas.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(document->annotations().size(), 1);
    QTest::keyClick(canvas.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(canvas.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(document->annotations().size(), 1);
    EXPECT_FALSE(document->canRedo());

    draw(CaptureTool::magnifier, QPointF(300, 100), QPointF(340, 120));
    ASSERT_TRUE(document->pendingMagnifier());
    QTest::keyClick(canvas.get(), Qt::Key_Escape);
    EXPECT_FALSE(document->pendingMagnifier());
}

TEST_F(Canvas, DrawsTheCheckerboardTheHandlesAndTheDraggedMarkWherethePointerIs)
{
    open(QSize(400, 300), Qt::transparent);
    // White 0.91 and 0.97 in 12-point squares from the output's corner.
    EXPECT_EQ(pixel(QPointF(24 + 6, 24 + 6)).rgb(), qRgb(232, 232, 232));
    EXPECT_EQ(pixel(QPointF(24 + 18, 24 + 6)).rgb(), qRgb(247, 247, 247));
    EXPECT_EQ(pixel(QPointF(24 + 18, 24 + 18)).rgb(), qRgb(232, 232, 232));
    EXPECT_EQ(pixel(QPointF(24 + 30, 24 + 6)).rgb(), qRgb(232, 232, 232));

    CaptureStyle style = document->style();
    style.shapeMode = CaptureShapeMode::fill;
    document->setStyle(style);
    draw(CaptureTool::rectangle, QPointF(100, 100), QPointF(160, 160));
    document->setTool(CaptureTool::select);
    // The handle at the top-left corner is a white disc.
    EXPECT_EQ(pixel(canvas->viewPoint(QPointF(100, 100))), QColor(Qt::white));
    EXPECT_EQ(pixel(canvas->viewPoint(QPointF(130, 130))).red(), 255);

    press(QPointF(130, 130));
    move(QPointF(250, 200));
    const QColor dragged = pixel(canvas->viewPoint(QPointF(250, 200)));
    EXPECT_GT(dragged.red(), 200);
    EXPECT_LT(dragged.green(), 120);
    EXPECT_NE(pixel(canvas->viewPoint(QPointF(130, 130))), dragged);
    release(QPointF(250, 200));
    EXPECT_EQ(last().rect(), QRectF(220, 170, 60, 60));
}

TEST_F(Canvas, CropAndLensGesturesShowWhatTheyWillDoBeforeTheRelease)
{
    const auto inImage = [this](QPointF p) {
        return pixel(canvas->viewPoint(p));
    };
    // Some pixel of the dashed top edge from (20, 20) to (60, 20) is drawn.
    const auto sourceOutlined = [this] {
        const QImage view = canvas->grab().toImage();
        for (int x = 22; x < 58; ++x) {
            if (view.pixelColor(canvas->viewPoint(QPointF(x, 20)).toPoint()) != QColor(Qt::white))
                return true;
        }
        return false;
    };
    document->setTool(CaptureTool::crop);
    press(QPointF(100, 100));
    move(QPointF(200, 200));
    EXPECT_LT(inImage(QPointF(50, 50)).lightness(), 160) << "outside the dragged crop is shaded";
    EXPECT_EQ(inImage(QPointF(150, 150)), QColor(Qt::white));
    release(QPointF(200, 200));
    EXPECT_EQ(document->cropRect(), QRectF(100, 100, 100, 100));
    document->undo();

    // The lens source shows while dragged, and the lens itself while its destination is dragged.
    document->setTool(CaptureTool::magnifier);
    press(QPointF(20, 20));
    move(QPointF(60, 40));
    EXPECT_TRUE(sourceOutlined()) << "the dragged source";
    release(QPointF(60, 40));
    ASSERT_TRUE(document->pendingMagnifier());
    EXPECT_TRUE(sourceOutlined()) << "the pending source";
    press(QPointF(200, 150));
    move(QPointF(300, 200));
    EXPECT_TRUE(document->annotations().isEmpty());
    EXPECT_NE(inImage(QPointF(300, 175)), QColor(Qt::white)) << "the lens drawn where it is dragged";
    release(QPointF(300, 200));
    EXPECT_EQ(document->annotations().size(), 1);
}

TEST_F(Canvas, CachedFramesShowExactlyWhatTheUncachedDrawingShows)
{
    open(QSize(800, 500), Qt::white, QSize(700, 480));
    draw(CaptureTool::blur, QPointF(20, 20), QPointF(200, 160));
    draw(CaptureTool::arrow, QPointF(400, 60), QPointF(600, 200));
    draw(CaptureTool::rectangle, QPointF(300, 300), QPointF(420, 380));
    draw(CaptureTool::redact, QPointF(600, 380), QPointF(760, 440));
    draw(CaptureTool::magnifier, QPointF(450, 250), QPointF(530, 290));
    dragPath(QPointF(560, 100), QPointF(720, 180));
    ASSERT_EQ(last().tool, CaptureTool::magnifier);
    CaptureComposition frame = document->composition();
    frame.cornerRadius = 24;
    frame.borderWidth = 3;
    frame.padding = 10;
    document->setComposition(frame);
    draw(CaptureTool::oval, QPointF(100, 300), QPointF(220, 420));
    document->setTool(CaptureTool::select);
    const auto frames = [&]() {
        canvas->setCaching(false);
        const QImage uncached = canvas->grab().toImage();
        canvas->setCaching(true);
        canvas->grab();
        return std::pair(uncached, canvas->grab().toImage());
    };
    auto [plain, cached] = frames();
    EXPECT_EQ(plain, cached);
    press(QPointF(160, 360));
    for (const QPointF to : {QPointF(200, 380), QPointF(330, 250), QPointF(150, 150), QPointF(480, 270),
                             QPointF(10, 490), QPointF(640, 420)}) {
        move(to);
        auto [uncachedFrame, cachedFrame] = frames();
        EXPECT_EQ(uncachedFrame, cachedFrame) << to.x() << "," << to.y();
    }
    release(QPointF(640, 420));

    // A new mark being drawn, above and below other marks.
    document->setTool(CaptureTool::rectangle);
    press(QPointF(300, 100));
    for (const QPointF to : {QPointF(340, 130), QPointF(560, 280), QPointF(120, 40)}) {
        move(to);
        auto [uncachedFrame, cachedFrame] = frames();
        EXPECT_EQ(uncachedFrame, cachedFrame) << to.x() << "," << to.y();
    }
    release(QPointF(120, 40));
}

TEST_F(Canvas, CursorsFollowTheToolAndDisablingInputMakesTheEditorReadOnly)
{
    document->setTool(CaptureTool::rectangle);
    hover(QPointF(100, 100));
    EXPECT_EQ(canvas->cursor().shape(), Qt::CrossCursor);
    canvas->setInputEnabled(false);
    hover(QPointF(101, 100));
    EXPECT_EQ(canvas->cursor().shape(), Qt::ArrowCursor);
    canvas->setInputEnabled(true);

    document->setTool(CaptureTool::text);
    press(QPointF(100, 100));
    release(QPointF(100, 100));
    ASSERT_TRUE(canvas->textEditor());
    canvas->setInputEnabled(false);
    EXPECT_TRUE(canvas->textEditor()->isReadOnly());
    canvas->setInputEnabled(true);
    EXPECT_FALSE(canvas->textEditor()->isReadOnly());
}
