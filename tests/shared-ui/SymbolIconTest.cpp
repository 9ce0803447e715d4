#include "SymbolIconEngine.h"
#include "SymbolLabel.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPalette>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Black artwork on a clear ground, as the shipped symbols are: a filled square
// inside a clear border.
QString blackSquare(const QTemporaryDir &folder)
{
    const QString path = folder.filePath(QStringLiteral("square.svg"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32">)"
                   R"(<rect x="8" y="8" width="16" height="16" fill="black"/></svg>)");
    return path;
}

QPalette withText(const QColor &text, const QColor &disabledText)
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    return palette;
}

class SymbolIconTest : public ::testing::Test {
protected:
    void TearDown() override { QApplication::setPalette(original); }

    QTemporaryDir folder;
    const QPalette original = QApplication::palette();
};

TEST_F(SymbolIconTest, ArtworkTakesTheTextColourOfTheCurrentAppearance)
{
    const QIcon icon = SymbolIconEngine::icon(blackSquare(folder));
    QApplication::setPalette(withText(QColor(240, 240, 240), QColor(120, 120, 120)));
    QImage normal = icon.pixmap(QSize(32, 32), 1.0).toImage();
    EXPECT_EQ(normal.pixelColor(16, 16), QColor(240, 240, 240)) << "dark appearance: light symbol";
    EXPECT_EQ(normal.pixelColor(2, 2).alpha(), 0) << "the clear ground stays clear";
    EXPECT_EQ(icon.pixmap(QSize(32, 32), 1.0, QIcon::Disabled).toImage().pixelColor(16, 16), QColor(120, 120, 120));

    QApplication::setPalette(withText(QColor(20, 20, 20), QColor(150, 150, 150)));
    EXPECT_EQ(icon.pixmap(QSize(32, 32), 1.0).toImage().pixelColor(16, 16), QColor(20, 20, 20))
        << "the same icon follows a switch of appearance";

    const QPixmap sharp = icon.pixmap(QSize(32, 32), 2.0);
    EXPECT_EQ(sharp.size(), QSize(64, 64)) << "drawn at the screen's scale";
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(sharp.toImage().pixelColor(32, 32), QColor(20, 20, 20));
}

TEST_F(SymbolIconTest, LabelRedrawsInTheNewColourAfterAnAppearanceSwitch)
{
    SymbolLabel label(blackSquare(folder), 32, Qt::AlignCenter);
    label.resize(48, 32);
    QApplication::setPalette(withText(QColor(250, 250, 250), Qt::gray));
    EXPECT_EQ(label.grab().toImage().pixelColor(24, 16), QColor(250, 250, 250));
    EXPECT_EQ(label.grab().toImage().pixelColor(2, 16), QApplication::palette().color(QPalette::Window))
        << "centred, the window beside it";

    QApplication::setPalette(withText(QColor(10, 10, 10), Qt::gray));
    EXPECT_EQ(label.grab().toImage().pixelColor(24, 16), QColor(10, 10, 10));
}

} // namespace
