#include "AppDelegateFixture.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

namespace {

// A frame as the window saved it in an earlier session.
QString savedFrame(QRect frame)
{
    QMainWindow earlier;
    earlier.setGeometry(frame);
    return QString::fromLatin1(earlier.saveGeometry().toBase64());
}

bool insideScrollArea(const QWidget *widget, const QWidget *window)
{
    for (const QWidget *parent = widget->parentWidget(); parent && parent != window; parent = parent->parentWidget())
        if (qobject_cast<const QScrollArea *>(parent))
            return true;
    return false;
}

// Buttons, sliders and pickers that a user could not reach: outside the
// window and not inside anything that scrolls.
QStringList unreachableControls(const QWidget &window)
{
    QList<QWidget *> controls;
    for (QWidget *control : window.findChildren<QAbstractButton *>())
        controls.append(control);
    for (QWidget *control : window.findChildren<QAbstractSlider *>())
        controls.append(control);
    for (QWidget *control : window.findChildren<QComboBox *>())
        controls.append(control);
    QStringList cut;
    for (const QWidget *control : std::as_const(controls)) {
        if (!control->isVisibleTo(&window) || qobject_cast<const QScrollArea *>(control->parentWidget()) ||
            insideScrollArea(control, &window))
            continue;
        const QRect area(control->mapTo(&window, QPoint()), control->size());
        if (!window.rect().contains(area))
            cut.append(control->accessibleName() + control->objectName());
    }
    return cut;
}

TEST_F(CaptureAppDelegateTest, LaunchShowsTheEditorAtItsRememberedFrame)
{
    QMainWindow *editor = delegate->editor();
    ASSERT_TRUE(editor && editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), "Tavimo Capture");
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(editor->size(), CaptureAppDelegate::editorSize.boundedTo(available.size()));
    EXPECT_EQ(editor->minimumSize(), CaptureAppDelegate::editorMinimumSize.boundedTo(available.size()));
    const QPoint offCentre = editor->frameGeometry().center() - available.center();
    EXPECT_LE(offCentre.manhattanLength(), 4) << "centred up to the frame border";
    // The capture hot keys are taken; their warnings would show in the editor.
    EXPECT_EQ(hotKeys.held.size(), 3);
    EXPECT_TRUE(delegate->model().shortcutWarnings().isEmpty());

    const QSize size = QSize(1100, 700).boundedTo(available.size());
    const QRect remembered(available.topLeft() +
                               QPoint((available.width() - size.width()) / 3, (available.height() - size.height()) / 3),
                           size);
    editor->setGeometry(remembered);
    QApplication::processEvents();
    editor->close();
    EXPECT_FALSE(editor->isVisible());
    delegate->applicationShouldHandleReopen();
    EXPECT_TRUE(editor->isVisible());
    launch();
    EXPECT_EQ(delegate->editor()->geometry(), remembered);

    delegate->applicationWillTerminate();
    EXPECT_TRUE(hotKeys.held.isEmpty());
}

// On a 1920 × 1080 display, run at 1x and at 2x (960 × 540 logical).
TEST_F(CaptureAppDelegateTest, TheEditorStaysOnTheScreenWithEveryControlReachable)
{
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frames[] = {QRect(-358, -240, 2640, 1640), QRect(available.right() - 200, 40, 900, 500),
                            QRect(available.left() + 10, available.top() + 10, 400, 300)};
    for (const QRect frame : frames) {
        defaults.setValue(CaptureAppDelegate::editorFrameKey, savedFrame(frame));
        launch();
        delegate->model().accept(filled(QSize(1600, 900)));
        QMainWindow &editor = *delegate->editor();
        QTest::qWait(100);
        ASSERT_TRUE(editor.isVisible());
        EXPECT_TRUE(available.contains(editor.frameGeometry()))
            << "saved " << frame.x() << "," << frame.y() << " shown at " << editor.frameGeometry().x() << ","
            << editor.frameGeometry().y() << " " << editor.frameGeometry().width() << "×"
            << editor.frameGeometry().height();
        EXPECT_LE(editor.minimumWidth(), available.width());
        EXPECT_LE(editor.minimumHeight(), available.height());
        EXPECT_LE(editor.minimumSizeHint().width(), available.width());
        EXPECT_LE(editor.minimumSizeHint().height(), available.height());
        EXPECT_EQ(unreachableControls(editor), QStringList());
    }
}

} // namespace
