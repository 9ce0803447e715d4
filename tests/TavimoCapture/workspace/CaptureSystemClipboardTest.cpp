#include "CaptureSystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

// Runs on the offscreen platform, whose clipboard belongs to this process.
TEST(CaptureSystemClipboard, ReplacesTheClipboardWithPngBytesOrText)
{
    CaptureSystemClipboard clipboard;
    const QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000");
    ASSERT_TRUE(clipboard.setPng(png));
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->formats(), QStringList{"image/png"});
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data("image/png"), png);

    ASSERT_TRUE(clipboard.setText("Recognized words"));
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(data->text(), "Recognized words");
    EXPECT_FALSE(data->hasFormat("image/png")) << "the text replaced the image";
}
