#include "AppDelegateFixture.h"
#include "AppearanceMenu.h"
#include "CaptureMenus.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string_view>

namespace {

// `widget` as it shows inside its window, over whatever its parents paint.
QImage shown(QWidget *widget)
{
    QWidget *window = widget->window();
    return window->grab(QRect(widget->mapTo(window, QPoint()), widget->size())).toImage();
}

// The colour that covers most of `image`.
QColor dominant(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    return QColor(std::max_element(counts.cbegin(), counts.cend()).key());
}

double backgroundLightness(QWidget *widget)
{
    return dominant(shown(widget)).lightnessF();
}

// How far the text of `widget` stands out from its background.
double contrast(QWidget *widget)
{
    const QImage image = shown(widget);
    const double background = dominant(image).lightnessF();
    double largest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            largest = std::max(largest, std::abs(QColor(image.pixel(x, y)).lightnessF() - background));
    return largest;
}

// Whether a user would know `control` by `text`: its label, accessible name or object name.
template <typename Control> bool names(const Control &control, const QString &text)
{
    if constexpr (requires { control.text(); })
        if (control.text() == text)
            return true;
    return control.objectName() == text || control.accessibleName() == text;
}

template <typename Control> Control *visible(const QWidget &root, const QString &text)
{
    for (Control *control : root.findChildren<Control *>())
        if (names(*control, text) && control->isVisible())
            return control;
    return nullptr;
}

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
        // Layouts settle in posted events after the capture opens.
        EXPECT_TRUE(QTest::qWaitFor([&] {
            const QSize needed = editor.minimumSizeHint();
            return needed.width() <= available.width() && needed.height() <= available.height();
        })) << "needs "
            << editor.minimumSizeHint().width() << "×" << editor.minimumSizeHint().height();
        EXPECT_EQ(unreachableControls(editor), QStringList());
    }
}

// Switching the appearance while running repaints every view in the new
// colours, both ways, without a restart.
TEST_F(CaptureAppDelegateTest, EveryViewFollowsAnAppearanceChangeAtOnce)
{
    QWidget &editor = *delegate->editor();
    auto *appearance = editor.findChild<AppearanceMenu *>();
    ASSERT_NE(appearance, nullptr);
    auto *copyImage = visible<QToolButton>(editor, QStringLiteral("Copy Image"));
    ASSERT_NE(copyImage, nullptr);
    const struct {
        const char *name;
        std::function<QWidget *()> widget;
    } views[] = {
        {"capture row",
         [&] {
             return visible<QLabel>(editor, QStringLiteral("Copy text from area"));
         }},
        {"Settings… row",
         [&] {
             return visible<QLabel>(editor, QStringLiteral("Settings…"));
         }},
        {"inspector px value",
         [&] {
             return visible<QLabel>(editor, QStringLiteral("Line width:value"));
         }},
        {"tray menu",
         [&] {
             return static_cast<QWidget *>(delegate->menus()->trayMenu());
         }},
    };
    // The tray menu has been open once, as a user would have opened it.
    QMenu &trayMenu = *delegate->menus()->trayMenu();
    trayMenu.popup(QPoint(10, 10));
    QApplication::processEvents();
    trayMenu.hide();
    for (const bool withCapture : {false, true}) {
        if (withCapture) {
            delegate->model().accept(filled(QSize(320, 200)));
            delegate->model().document()->setTool(CaptureTool::rectangle);
        }
        for (const int index : {2, 1, 2, 1}) {
            appearance->activated(index);
            appearance->setCurrentIndex(index);
            QTest::qWait(20);
            const bool dark = index == 2;
            for (const auto &view : views) {
                QWidget *widget = view.widget();
                if (!widget && std::string_view(view.name) == "inspector px value" && !withCapture)
                    continue;
                ASSERT_NE(widget, nullptr) << view.name;
                EXPECT_GT(contrast(widget), 0.25) << view.name << (dark ? " in dark" : " in light");
                if (std::string_view(view.name) == "tray menu") {
                    EXPECT_EQ(backgroundLightness(widget) < 0.5, dark) << view.name;
                }
            }
            if (!withCapture) {
                ASSERT_FALSE(copyImage->isEnabled());
                EXPECT_EQ(backgroundLightness(copyImage) < 0.5, dark) << "disabled Copy Image";
            }
        }
    }
    EXPECT_TRUE(visible<QLabel>(editor, QStringLiteral("Line width:value")));
}

} // namespace
