#include "AppDelegateFixture.h"
#include "AppearanceMenu.h"

#include "CaptureBoard.h"
#include "CaptureMenus.h"
#include "CapturePinWindow.h"
#include "CaptureThumbnailWindow.h"
#include "CaptureToastWindow.h"
#include "FutureWait.h"
#include "MoxterClient.h"
#include "ScriptedClipboard.h"
#include "ScriptedHotKeys.h"
#include "ScriptedPanels.h"
#include "TavimoSignals.h"
#include "TestFiles.h"
#include "UserDefaults.h"

#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string_view>

#include <gtest/gtest.h>

namespace {

// The titles as menus show them: an accelerator's "&" is not drawn, "&&" is drawn as "&".
QStringList titles(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions) {
        if (!action->isSeparator() && action->isVisible())
            result.append(action->iconText());
    }
    return result;
}

TEST_F(CaptureAppDelegateTest, MenusInTheirOrderWithTheirKeys)
{
    const QList<QAction *> menus = delegate->editor()->menuBar()->actions();
    EXPECT_EQ(titles(menus), (QStringList{"File", "Edit", "View", "Help"}));
    EXPECT_EQ(menus[0]->text(), "&File") << "Alt+F opens it";
    EXPECT_EQ(titles(menus[0]->menu()->actions()),
              (QStringList{"Capture area or window", "Copy text from area", "Capture main display",
                           "Capture all displays", "Open Image…", "Save Image…", "Save Image As…", "Close Capture…",
                           "Close Window", "Hide Tavimo Capture", "Quit Tavimo Capture"}));
    EXPECT_EQ(titles(menus[1]->menu()->actions()),
              (QStringList{"Undo Annotation", "Cut", "Copy", "Paste", "Select All", "Copy Image", "Settings…"}));
    EXPECT_EQ(titles(menus[2]->menu()->actions()), QStringList{"Open Capture"});
    const QStringList help = titles(menus[3]->menu()->actions());
    EXPECT_EQ(help.mid(help.size() - 3), (QStringList{"Send feedback…", "Report a bug…", "About Tavimo Capture"}));
    EXPECT_EQ(menus[0]->menu()->actions()[0]->shortcut(), QKeySequence("Ctrl+Shift+2"));
    EXPECT_EQ(delegate->menus()->saveAsAction()->shortcut(), QKeySequence("Ctrl+Shift+S"));

    const QStringList tray = titles(delegate->menus()->trayMenu()->actions());
    const QStringList trayEnd{"Send feedback…",
                              "Report a bug…",
                              "Capture area or window    Ctrl+Shift+2",
                              "Copy text from area    Ctrl+Shift+O",
                              "Capture main display    Ctrl+Shift+1",
                              "Capture all displays",
                              "Editor & Recent Captures",
                              "Settings…",
                              "Quit Tavimo Capture"};
    EXPECT_EQ(tray.mid(tray.size() - trayEnd.size()), trayEnd);
}

TEST_F(CaptureAppDelegateTest, MenuValidation)
{
    CaptureMenus &menus = *delegate->menus();
    CaptureWorkspace &model = delegate->model();
    EXPECT_FALSE(menus.saveAction()->isEnabled());
    EXPECT_FALSE(menus.copyImageAction()->isEnabled());
    EXPECT_FALSE(menus.closeCaptureAction()->isEnabled());
    EXPECT_FALSE(menus.undoAction()->isEnabled());

    model.accept(filled(QSize(120, 80)));
    EXPECT_TRUE(menus.saveAction()->isEnabled());
    EXPECT_TRUE(menus.saveAsAction()->isEnabled());
    EXPECT_TRUE(menus.copyImageAction()->isEnabled());
    EXPECT_TRUE(menus.closeCaptureAction()->isEnabled());

    model.setBusy(true);
    for (const CaptureMode mode : allCaptureModes) {
        EXPECT_FALSE(menus.captureAction(mode)->isEnabled());
        EXPECT_FALSE(menus.trayCaptureAction(mode)->isEnabled());
    }
    EXPECT_FALSE(menus.closeCaptureAction()->isEnabled());
    model.setBusy(false);
    EXPECT_TRUE(menus.captureAction(CaptureMode::allDisplays)->isEnabled());

    // Undo goes to the focused text field first.
    auto *field = new QLineEdit;
    delegate->editor()->centralWidget()->layout()->addWidget(field);
    QApplication::setActiveWindow(delegate->editor());
    field->show();
    field->setFocus();
    QTest::keyClicks(field, "abc");
    ASSERT_EQ(QApplication::focusWidget(), field);
    menus.validate();
    EXPECT_TRUE(menus.undoAction()->isEnabled());
    menus.undoAction()->trigger();
    EXPECT_EQ(field->text(), "");
}

TEST_F(CaptureAppDelegateTest, PinsAreSizedAndReopenAsPinned)
{
    delegate->pin(filled(QSize(2000, 1000)),
                  std::make_unique<CaptureBoard>(std::make_shared<CaptureDocument>(filled(QSize(2000, 1000)))));
    delegate->pin(filled(QSize(100, 50)),
                  std::make_unique<CaptureBoard>(std::make_shared<CaptureDocument>(filled(QSize(100, 50)))));
    const QList<CapturePinWindow *> pins = delegate->pins();
    ASSERT_EQ(pins.size(), 2);
    EXPECT_EQ(pins[0]->size(), QSize(580, 290));
    EXPECT_EQ(pins[1]->size(), QSize(220, 120));
    EXPECT_EQ(pins[1]->windowTitle(), "Pinned Capture");
    EXPECT_TRUE(pins[1]->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const QRect shown = pins[1]->imageRect();
    EXPECT_TRUE(pins[1]->rect().contains(shown));
    EXPECT_EQ(shown.width(), 2 * shown.height());

    // An empty editor takes the pinned board without asking.
    pins[1]->editButton()->click();
    EXPECT_TRUE(panels.alerts.isEmpty());
    CaptureDocument &opened = *delegate->model().document();
    EXPECT_EQ(opened.image().size(), QSize(100, 50));
    CaptureComposition padded;
    padded.padding = 40;
    opened.setComposition(padded);

    // With a capture open it asks; Cancel changes nothing.
    pins[1]->editButton()->click();
    ASSERT_EQ(panels.alerts.size(), 1);
    EXPECT_EQ(panels.alerts[0].message, "Open this pinned capture in the editor?");
    EXPECT_EQ(delegate->model().document().get(), &opened);
    panels.answerAlerts(0);
    pins[1]->editButton()->click();
    EXPECT_NE(delegate->model().document().get(), &opened);
    EXPECT_NE(delegate->model().document()->composition().padding, 40);

    pins[0]->close();
    EXPECT_EQ(delegate->pins(), QList<CapturePinWindow *>{pins[1]});
}

TEST_F(CaptureAppDelegateTest, SettingsStayHiddenAfterACaptureButComeBackAfterCancel)
{
    delegate->preferences().setAutoCopy(true);
    delegate->showSettings();
    QWidget *settings = delegate->settingsWindow();
    ASSERT_TRUE(settings->isVisible());
    EXPECT_EQ(settings->windowTitle(), "Capture Settings");
    EXPECT_EQ(settings->size(), QSize(540, 560));
    delegate->pin(filled(QSize(300, 200)),
                  std::make_unique<CaptureBoard>(std::make_shared<CaptureDocument>(filled(QSize(300, 200)))));

    capture();
    EXPECT_FALSE(settings->isVisible());
    EXPECT_FALSE(delegate->editor()->isVisible());
    EXPECT_TRUE(delegate->pins()[0]->isVisible());
    EXPECT_EQ(QImage::fromData(clipboard.png).size(), QSize(200, 160));
    CaptureThumbnailWindow *thumbnail = delegate->thumbnailWindow();
    ASSERT_TRUE(thumbnail->isVisible());
    EXPECT_EQ(thumbnail->text(), "Click or Alt+E to edit");
    EXPECT_EQ(thumbnail->geometry(),
              CaptureThumbnailWindow::placement(QGuiApplication::primaryScreen()->availableGeometry()));

    delegate->showSettings();
    useTool(QSize());
    capture();
    EXPECT_FALSE(thumbnail->isVisible());
    EXPECT_TRUE(settings->isVisible());

    // A click on a new thumbnail opens the capture in the editor.
    useTool(QSize(200, 160));
    capture();
    QTest::mouseClick(thumbnail, Qt::LeftButton);
    EXPECT_FALSE(thumbnail->isVisible());
    EXPECT_TRUE(delegate->editor()->isVisible());
    ASSERT_TRUE(delegate->model().document());
    EXPECT_EQ(delegate->model().document()->image().size(), QSize(200, 160));
}

TEST_F(CaptureAppDelegateTest, ScriptedCapturesTakeTheWindowsOffTheScreenAndBringThemBack)
{
    delegate->showSettings();
    delegate->pin(filled(QSize(300, 200)),
                  std::make_unique<CaptureBoard>(std::make_shared<CaptureDocument>(filled(QSize(300, 200)))));
    delegate->showToast("Earlier");
    const QList<QWidget *> windows{delegate->editor(), delegate->settingsWindow(), delegate->pins()[0]};
    CaptureService service;
    for (const QSize tool : {QSize(200, 160), QSize()}) {
        SCOPED_TRACE(tool.isEmpty() ? "cancelled" : "taken");
        useTool(tool);
        const QFuture<CaptureOutcome> outcome = delegate->captureForCaller(service, CaptureMode::area);
        for (const QWidget *window : windows)
            EXPECT_FALSE(window->isVisible()) << window->windowTitle().toStdString();
        EXPECT_FALSE(delegate->toast()->isVisible());
        const CaptureOutcome result = resultOf(outcome);
        EXPECT_EQ(result.kind, tool.isEmpty() ? CaptureOutcome::Kind::cancelled : CaptureOutcome::Kind::image);
        if (!tool.isEmpty()) {
            EXPECT_EQ(QImage::fromData(result.png).size(), tool);
        }
        for (const QWidget *window : windows)
            EXPECT_TRUE(window->isVisible()) << window->windowTitle().toStdString();
    }
    EXPECT_FALSE(delegate->model().document()) << "the image went to the script only";
}

TEST_F(CaptureAppDelegateTest, AboutShowsTheVersionOfTheBuildAndQuitHasAKey)
{
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    closer.start(20);
    delegate->about();
    EXPECT_TRUE(shown.contains("<p>Version 9.8.7</p>")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("Capture, annotate and share. Local by design."));

    const QList<QAction *> file = delegate->editor()->menuBar()->actions()[0]->menu()->actions();
    const auto quit = std::find_if(file.begin(), file.end(),
                                   [](const QAction *action) { return action->text() == "Quit Tavimo Capture"; });
    ASSERT_NE(quit, file.end());
    EXPECT_EQ((*quit)->shortcut(), QKeySequence("Ctrl+Q"));
}

TEST_F(CaptureAppDelegateTest, ADelayedCaptureCountsDownInTheTrayAndCanBeCancelled)
{
    QMenu *tray = delegate->menus()->trayMenu();
    EXPECT_FALSE(titles(tray->actions()).contains("Cancel Delayed Capture"));
    EXPECT_EQ(delegate->trayToolTip(), "Tavimo Capture");
    int started = 0;
    int cancelled = 0;
    delegate->startAfter(
        3, [&] { ++started; }, [&] { ++cancelled; });
    EXPECT_EQ(delegate->trayToolTip(), "Tavimo Capture\nCapture in 3 seconds");
    EXPECT_TRUE(titles(tray->actions()).contains("Cancel Delayed Capture"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return delegate->trayToolTip().endsWith("in 2 seconds"); }, 2000));

    delegate->menus()->cancelDelayAction()->trigger();
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(delegate->trayToolTip(), "Tavimo Capture");
    EXPECT_FALSE(titles(tray->actions()).contains("Cancel Delayed Capture"));
    QTest::qWait(2200);
    EXPECT_EQ(started, 0) << "cancelled for good";

    // A newer delayed capture replaces the waiting one, which counts as cancelled.
    delegate->startAfter(
        5, [&] { started += 10; }, [&] { ++cancelled; });
    delegate->startAfter(
        1, [&] { ++started; }, [&] { ++cancelled; });
    EXPECT_EQ(cancelled, 2);
    EXPECT_EQ(delegate->trayToolTip(), "Tavimo Capture\nCapture in 1 second");
    EXPECT_TRUE(QTest::qWaitFor([&] { return started == 1; }, 3000));
    EXPECT_EQ(delegate->trayToolTip(), "Tavimo Capture");
    EXPECT_FALSE(titles(tray->actions()).contains("Cancel Delayed Capture"));
    delegate->startAfter(0, [&] { ++started; });
    EXPECT_EQ(started, 2) << "no wait at all";
    EXPECT_EQ(cancelled, 2);

    // A script that hangs up while it waits takes its capture with it.
    auto caller = std::make_unique<QObject>();
    delegate->startAfter(
        2, [&] { ++started; }, [&] { ++cancelled; }, caller.get());
    caller.reset();
    EXPECT_EQ(cancelled, 3);
    EXPECT_EQ(delegate->trayToolTip(), "Tavimo Capture");
    auto patient = std::make_unique<QObject>();
    delegate->startAfter(
        1, [&] { ++started; }, [&] { ++cancelled; }, patient.get());
    EXPECT_TRUE(QTest::qWaitFor([&] { return started == 3; }, 3000));
    patient.reset();
    EXPECT_EQ(cancelled, 3) << "the wait was over";
}

TEST_F(CaptureAppDelegateTest, ToastAtTheTopRightReplacedByANewerOne)
{
    CaptureToastWindow *toast = delegate->toast();
    delegate->showToast("First");
    delegate->showToast("Second");
    EXPECT_TRUE(toast->isVisible());
    EXPECT_EQ(toast->message(), "Second");
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(toast->geometry(), QRect(available.right() + 1 - 350, available.top() + 27, 330, 58));
    EXPECT_TRUE(toast->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(toast->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !toast->isVisible(); }, 4000));
}

} // namespace
