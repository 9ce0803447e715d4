#include "SelectionOverlay.h"
#include "OverlayWindow.h"

#include <QPainter>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

const QColor desktopColour(240, 240, 240);

class SelectionOverlayTest : public testing::Test {
protected:
    // Two screens side by side: 800 x 600 pixels at scale 1, then 1600 x 1200 pixels at scale 2.
    SelectionOverlayTest()
        : m_desktop(2400, 1200, QImage::Format_RGB32),
          m_overlay(OverlayScreens{{QRect(0, 0, 800, 600), 1.0}, {QRect(800, 0, 1600, 1200), 2.0}})
    {
        m_desktop.fill(desktopColour);
        m_overlay.prepare(m_desktop, {QRect(100, 100, 300, 200), QRect(200, 150, 100, 100)});
    }

    void drag(const QPoint &from, const QPoint &to)
    {
        m_overlay.press(from, Qt::LeftButton);
        m_overlay.move((from + to) / 2);
        m_overlay.move(to);
        m_overlay.release(to, Qt::LeftButton);
    }

    QRgb paintedAt(const QPoint &point)
    {
        QImage canvas(m_desktop.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&canvas);
        m_overlay.paint(painter, QRegion(canvas.rect()));
        painter.end();
        return canvas.pixel(point);
    }

    QImage m_desktop;
    SelectionOverlay m_overlay;
    QSignalSpy m_selected{&m_overlay, &SelectionOverlay::selected};
    QSignalSpy m_cancelled{&m_overlay, &SelectionOverlay::cancelled};
};

TEST_F(SelectionOverlayTest, DraggingSelectsTheSpannedAreaInsideTheDesktopAndClickingTakesTheTopWindow)
{
    drag(QPoint(350, 260), QPoint(150, 100));
    ASSERT_EQ(m_selected.size(), 1);
    EXPECT_EQ(m_selected.takeFirst().at(0).toRect(), QRect(150, 100, 200, 160));

    drag(QPoint(2300, 1100), QPoint(2600, 1300));
    ASSERT_EQ(m_selected.size(), 1);
    EXPECT_EQ(m_selected.takeFirst().at(0).toRect(), QRect(2300, 1100, 100, 100)) << "clipped to the desktop";

    // Moving less than three pixels is still a click: on a window it takes the topmost one.
    m_overlay.move(QPoint(250, 200));
    EXPECT_EQ(m_overlay.hovered(), QRect(200, 150, 100, 100));
    drag(QPoint(250, 200), QPoint(251, 201));
    ASSERT_EQ(m_selected.size(), 1);
    EXPECT_EQ(m_selected.takeFirst().at(0).toRect(), QRect(200, 150, 100, 100));

    // On bare desktop a click chooses nothing; a right click gives up.
    drag(QPoint(600, 500), QPoint(600, 500));
    EXPECT_TRUE(m_selected.isEmpty());
    m_overlay.press(QPoint(600, 500), Qt::RightButton);
    EXPECT_EQ(m_cancelled.size(), 1);
}

TEST_F(SelectionOverlayTest, EnterTakesTheHoveredWindowAndEscapeCancels)
{
    m_overlay.move(QPoint(600, 500));
    m_overlay.key(Qt::Key_Return);
    EXPECT_TRUE(m_selected.isEmpty()) << "nothing hovered";
    m_overlay.move(QPoint(120, 120));
    m_overlay.key(Qt::Key_Enter);
    ASSERT_EQ(m_selected.size(), 1);
    EXPECT_EQ(m_selected.takeFirst().at(0).toRect(), QRect(100, 100, 300, 200));
    m_overlay.key(Qt::Key_A);
    EXPECT_TRUE(m_cancelled.isEmpty());
    m_overlay.key(Qt::Key_Escape);
    EXPECT_EQ(m_cancelled.size(), 1);

    SelectionOverlay areaOnly(OverlayScreens{{QRect(0, 0, 800, 600), 1.0}});
    QSignalSpy selected(&areaOnly, &SelectionOverlay::selected);
    areaOnly.prepare(m_desktop.copy(0, 0, 800, 600), {});
    areaOnly.move(QPoint(120, 120));
    areaOnly.key(Qt::Key_Return);
    EXPECT_TRUE(selected.isEmpty());
}

TEST_F(SelectionOverlayTest, EachScreenMapsItsPointsToDesktopPixelsAtItsOwnScale)
{
    const OverlayWindow *left = m_overlay.window(0);
    const OverlayWindow *right = m_overlay.window(1);
    EXPECT_EQ(left->toDesktop(QPointF(10, 20)), QPoint(10, 20));
    EXPECT_EQ(right->toDesktop(QPointF(10, 20)), QPoint(820, 40));
    EXPECT_EQ(right->toDesktop(QPointF(10.6, 0.4)), QPoint(821, 0));
    // Damage across both screens lands on each in its own points, rounded outwards.
    const QRegion damage(QRect(790, 10, 21, 5));
    EXPECT_EQ(left->toLocal(damage), QRegion(QRect(790, 10, 10, 5)));
    EXPECT_EQ(right->toLocal(damage), QRegion(QRect(0, 5, 6, 3)));
}

TEST_F(SelectionOverlayTest, SizeLabelSitsBelowTheSelectionOrAboveAtTheBottomAndGrowsWithTheScale)
{
    EXPECT_TRUE(m_overlay.labelRect().isNull()) << "no label before a drag";
    m_overlay.press(QPoint(100, 100), Qt::LeftButton);
    m_overlay.move(QPoint(300, 200));
    const QRect below = m_overlay.labelRect();
    EXPECT_EQ(below.left(), 100);
    EXPECT_GT(below.top(), 200);
    m_overlay.release(QPoint(300, 200), Qt::LeftButton);

    m_overlay.press(QPoint(100, 400), Qt::LeftButton);
    m_overlay.move(QPoint(300, 1199));
    const QRect above = m_overlay.labelRect();
    EXPECT_LT(above.bottom(), 400);
    m_overlay.release(QPoint(300, 1199), Qt::LeftButton);

    m_overlay.press(QPoint(1000, 100), Qt::LeftButton);
    m_overlay.move(QPoint(1200, 200));
    const QRect scaled = m_overlay.labelRect();
    EXPECT_NEAR(scaled.height(), 2 * below.height(), 3);
}

TEST_F(SelectionOverlayTest, PaintsTheDesktopDimmedExceptTheSelectionWithAnOutline)
{
    const int dimmed = qRound(desktopColour.red() * (1 - 100 / 255.0));
    m_overlay.move(QPoint(600, 500));
    EXPECT_NEAR(qRed(paintedAt(QPoint(500, 400))), dimmed, 2);
    EXPECT_NEAR(qRed(paintedAt(QPoint(1, 1))), dimmed, 2) << "no outline without a highlight";
    m_overlay.press(QPoint(400, 300), Qt::LeftButton);
    m_overlay.move(QPoint(600, 500));
    EXPECT_EQ(paintedAt(QPoint(500, 400)), desktopColour.rgb());
    EXPECT_NEAR(qRed(paintedAt(QPoint(700, 400))), dimmed, 2);
    const QRgb accent = QColor(0x2f, 0x80, 0xed).rgb();
    EXPECT_EQ(paintedAt(QPoint(398, 400)), accent) << "outline";
    EXPECT_NE(paintedAt(QPoint(397, 400)), accent);
    m_overlay.release(QPoint(600, 500), Qt::LeftButton);
    m_overlay.press(QPoint(1000, 300), Qt::LeftButton);
    m_overlay.move(QPoint(1200, 500));
    EXPECT_EQ(paintedAt(QPoint(996, 400)), accent) << "as thick on the screen of scale 2";
    EXPECT_NE(paintedAt(QPoint(995, 400)), accent);
}

TEST_F(SelectionOverlayTest, AHintShowsAtTheTopOfEveryScreen)
{
    EXPECT_TRUE(m_overlay.hintRects().isEmpty());
    m_overlay.prepare(m_desktop, {}, QStringLiteral("Window selection is not available here"));
    const QList<QRect> hints = m_overlay.hintRects();
    ASSERT_EQ(hints.size(), 2);
    EXPECT_NEAR(hints[0].center().x(), 400, 1);
    EXPECT_EQ(hints[0].top(), 24);
    EXPECT_NEAR(hints[1].center().x(), 1600, 1);
    EXPECT_EQ(hints[1].top(), 48);
    EXPECT_NEAR(hints[1].height(), 2 * hints[0].height(), 3);
    EXPECT_EQ(qAlpha(paintedAt(hints[0].center())), 255);
    EXPECT_LT(qGray(paintedAt(hints[0].topLeft() + QPoint(3, 3))), 100) << "dark label behind the text";
}

} // namespace
