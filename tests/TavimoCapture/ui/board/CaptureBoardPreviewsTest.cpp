#include "CaptureBoardPreviews.h"
#include "CaptureBoard.h"

#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

namespace {

QImage white(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

void settle()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

TEST(CaptureBoardPreviews, NewerRefreshSupersedesTheRunningOne)
{
    auto document = std::make_shared<CaptureDocument>(white(QSize(400, 300)));
    CaptureBoard board(document);
    CaptureBoardPreviews previews;
    QSignalSpy changes(&previews, &CaptureBoardPreviews::previewsChanged);

    previews.refresh(board, false);
    document->setTool(CaptureTool::redact);
    document->finishGesture(QPointF(100, 100), QPointF(300, 200));
    previews.refresh(board, false);
    settle();

    ASSERT_EQ(changes.count(), 1);
    const QImage preview = previews.previews().value(board.items().first().id);
    ASSERT_EQ(preview.size(), QSize(400, 300));
    EXPECT_EQ(preview.pixelColor(200, 150), QColor(Qt::black));
    EXPECT_EQ(preview.pixelColor(20, 20), QColor(Qt::white));
    EXPECT_FALSE(previews.exportPreview());
}

TEST(CaptureBoardPreviews, LargeContentIsShrunkAndExportFollowsTheRequest)
{
    CaptureBoard board(std::make_shared<CaptureDocument>(white(QSize(3200, 800))));
    board.addImages({white(QSize(100, 100))});
    CaptureBoardPreviews previews;
    QSignalSpy exports(&previews, &CaptureBoardPreviews::exportPreviewChanged);

    previews.refresh(board, true);
    settle();
    EXPECT_EQ(previews.previews().value(board.items().at(0).id).size(), QSize(1600, 400));
    EXPECT_EQ(previews.previews().value(board.items().at(1).id).size(), QSize(100, 100));
    ASSERT_TRUE(previews.exportPreview());
    EXPECT_LE(std::max(previews.exportPreview()->width(), previews.exportPreview()->height()),
              CaptureBoardPreviews::maximumExportPreviewSide);
    EXPECT_EQ(exports.count(), 1);

    // Without the export, an earlier one would no longer match the board.
    board.applyLayout(CaptureBoardLayout::column);
    previews.refresh(board, false);
    settle();
    EXPECT_FALSE(previews.exportPreview());
    EXPECT_EQ(exports.count(), 2);
}

} // namespace
