#include "CaptureWorkspaceView.h"
#include "CaptureBoardCanvas.h"
#include "CaptureBoardView.h"
#include "CaptureCommandButton.h"
#include "CaptureRecentList.h"
#include "CaptureSidebar.h"
#include "CaptureToolTable.h"
#include "CaptureWelcomeView.h"
#include "ControlLookup.h"
#include "TestFiles.h"
#include "TestImageFiles.h"
#include "WorkspaceTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

QAction *menuEntry(const QWidget &root, const QString &button, const QString &entry)
{
    const QList<QAction *> actions = find<QToolButton>(root, button)->menu()->actions();
    const auto found =
        std::find_if(actions.cbegin(), actions.cend(), [&](QAction *action) { return action->text() == entry; });
    return found == actions.cend() ? nullptr : *found;
}

class WorkspaceViewTest : public WorkspaceTest {
protected:
    WorkspaceViewTest()
    {
        view = std::make_unique<CaptureWorkspaceView>(*workspace, *defaults, clipboard);
        view->resize(1320, 820);
        view->show();
        QCoreApplication::processEvents();
    }

    bool hasLabel(const QString &text) const
    {
        const QLabel *label = find<QLabel>(*view, text);
        return label && label->isVisible();
    }

    // Whether a user would know `control` by `text`: its label, accessible name or object name.
    template <typename Control> static bool names(const Control &control, const QString &text)
    {
        if constexpr (requires { control.text(); })
            if (control.text() == text)
                return true;
        return control.objectName() == text || control.accessibleName() == text;
    }

    // Controls of a rebuilt panel stay hidden until they are deleted.
    template <typename Control> Control *visible(const QString &text) const
    {
        for (Control *control : view->findChildren<Control *>())
            if (names(*control, text) && control->isVisible())
                return control;
        return nullptr;
    }

    CaptureRecentList *recentList() const { return view->findChild<CaptureRecentList *>(); }

    bool thumbnailsLoaded() const
    {
        return QTest::qWaitFor([this] { return recentList()->isIdle(); });
    }

    void clickRecent(int row)
    {
        CaptureRecentList *list = recentList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(row)).center());
        ASSERT_TRUE(QTest::qWaitFor([list] { return list->isIdle(); }));
    }

    std::unique_ptr<CaptureWorkspaceView> view;
};

TEST_F(WorkspaceViewTest, HeaderAndWelcomeFollowTheOpenCapture)
{
    EXPECT_TRUE(hasLabel(QStringLiteral("Ready when you are")));
    EXPECT_TRUE(hasLabel(QStringLiteral("Capture, annotate and share")));
    EXPECT_TRUE(hasLabel(QStringLiteral("A clear way to show it.")));
    EXPECT_TRUE(hasLabel(QStringLiteral("Select an area or window, add your notes,\nand copy a finished image.")));
    auto *capture = find<CaptureCommandButton>(*view, QStringLiteral("Capture Area or Window"));
    ASSERT_NE(capture, nullptr);
    EXPECT_EQ(capture->keyLabel(), QStringLiteral("Ctrl+Shift+2"));
    EXPECT_EQ(find<QPushButton>(*view, CaptureWelcomeView::permissionButtonTitle()), nullptr);
    EXPECT_FALSE(find<QToolButton>(*view, QStringLiteral("Copy Image"))->isEnabled());
    EXPECT_FALSE(find<QToolButton>(*view, QStringLiteral("Save"))->isEnabled());

    open(QSize(640, 360));
    EXPECT_TRUE(hasLabel(QStringLiteral("Edit capture")));
    EXPECT_TRUE(hasLabel(QStringLiteral("640 × 360 pixels")));
    EXPECT_FALSE(capture->isVisible());
    EXPECT_TRUE(find<QToolButton>(*view, QStringLiteral("Copy Image"))->isEnabled());
    EXPECT_TRUE(find<QToolButton>(*view, QStringLiteral("Edit image"))->isChecked());
}

TEST_F(WorkspaceViewTest, ThePermissionButtonOpensTheDesktopsSettingsOrSaysItCannot)
{
    QTemporaryDir folder;
    const QString opened = folder.filePath(QStringLiteral("opened"));
    CaptureWelcomeView welcome(*workspace,
                               DesktopPermissionSettings::Command{"/bin/sh", {"-c", "touch \"$0\"", opened}});
    auto *settings = find<QPushButton>(welcome, CaptureWelcomeView::permissionButtonTitle());
    ASSERT_NE(settings, nullptr);
    settings->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(opened); }));
    EXPECT_EQ(workspace->notice(), QString());

    CaptureWelcomeView missing(*workspace, DesktopPermissionSettings::Command{folder.filePath("no-such-program"), {}});
    find<QPushButton>(missing, CaptureWelcomeView::permissionButtonTitle())->click();
    EXPECT_EQ(workspace->notice(), CaptureWelcomeView::settingsUnavailableNotice());
}

TEST_F(WorkspaceViewTest, CaptureRowsStartCapturesAndAreDisabledWhileBusy)
{
    QList<CaptureMode> started;
    workspace->setCapture([&](CaptureMode mode) { started.append(mode); });
    QList<CaptureCommandButton *> rows;
    for (const CaptureMode mode : allCaptureModes)
        rows.append(find<CaptureCommandButton>(*view->sidebar(), captureModeTitle(mode)));
    for (CaptureCommandButton *row : rows)
        row->click();
    EXPECT_EQ(started, QList<CaptureMode>(allCaptureModes.begin(), allCaptureModes.end()));
    EXPECT_EQ(rows.at(0)->keyLabel(), shortcutLabel(CaptureMode::area));
    EXPECT_EQ(rows.at(1)->keyLabel(), shortcutLabel(CaptureMode::ocr));
    EXPECT_EQ(rows.at(3)->keyLabel(), QString());

    workspace->setBusy(true);
    for (CaptureCommandButton *row : rows)
        EXPECT_FALSE(row->isEnabled());
    EXPECT_FALSE(find<CaptureCommandButton>(*view, QStringLiteral("Capture Area or Window"))->isEnabled());
    EXPECT_TRUE(find<QPushButton>(*view->sidebar(), QStringLiteral("Open Image…"))->isEnabled());
    workspace->setBusy(false);
    EXPECT_TRUE(rows.at(2)->isEnabled());
}

TEST_F(WorkspaceViewTest, WithHistoryOffListedEntriesStayOpenableAndRemovable)
{
    EXPECT_TRUE(hasLabel(CaptureSidebar::emptyHistoryText));
    open(QSize(300, 200));
    workspace->copyImage();
    ASSERT_EQ(recentList()->count(), 1);
    EXPECT_FALSE(hasLabel(CaptureSidebar::emptyHistoryText));
    const QString entry = workspace->historyIdentifier();

    find<QCheckBox>(*view, QStringLiteral("Keep last 20 exports"))->click();
    EXPECT_FALSE(workspace->keepHistory());
    EXPECT_EQ(defaults->boolValue(CaptureWorkspace::keepHistoryKey), false);
    open(QSize(50, 40));
    workspace->copyImage();
    EXPECT_EQ(recentList()->count(), 1);

    clickRecent(0);
    ASSERT_NE(workspace->document(), nullptr);
    EXPECT_EQ(workspace->historyIdentifier(), entry);
    EXPECT_GE(workspace->document()->originalPixelSize().width(), 300);

    QTimer::singleShot(0, [] {
        const bool shown =
            QTest::qWaitFor([] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()) != nullptr; });
        ASSERT_TRUE(shown);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        menu->actions().first()->trigger();
        menu->close();
    });
    CaptureRecentList *list = recentList();
    emit list->customContextMenuRequested(list->visualItemRect(list->item(0)).center());
    EXPECT_TRUE(workspace->recent().isEmpty());
    EXPECT_TRUE(workspace->history().items().isEmpty());
    EXPECT_TRUE(hasLabel(CaptureSidebar::emptyHistoryText));
}

TEST_F(WorkspaceViewTest, DeletedHistoryFileLeavesTheOpenCaptureUntouched)
{
    open(QSize(300, 200));
    workspace->copyImage();
    CaptureDocument &current = open(QSize(50, 40));
    ASSERT_TRUE(QFile::remove(workspace->recent().first().path()));
    clickRecent(0);
    EXPECT_EQ(workspace->notice(), CaptureRecentList::unavailable);
    EXPECT_EQ(workspace->document().get(), &current);
    EXPECT_TRUE(hasLabel(CaptureRecentList::unavailable));
}

TEST_F(WorkspaceViewTest, RecentRowsFillInWithThumbnails)
{
    QImage image(QSize(900, 600), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    workspace->accept(image);
    workspace->copyImage();
    ASSERT_TRUE(thumbnailsLoaded());
    const QImage icon = recentList()->item(0)->icon().pixmap(CaptureRecentList::thumbnailDisplaySize).toImage();
    EXPECT_EQ(icon.pixelColor(icon.rect().center()), QColor(Qt::red));
}

TEST_F(WorkspaceViewTest, NoticeAndHotKeyWarningsAreShownAndDismissed)
{
    workspace->setNotice(QStringLiteral("Image copied"));
    ASSERT_TRUE(hasLabel(QStringLiteral("Image copied")));
    find<QToolButton>(*view, QStringLiteral("Dismiss message"))->click();
    EXPECT_EQ(workspace->notice(), QString());
    EXPECT_FALSE(hasLabel(QStringLiteral("Image copied")));

    workspace->setShortcutWarnings(
        {QStringLiteral("Ctrl+Shift+2 is taken."), QStringLiteral("Ctrl+Shift+1 is taken.")});
    EXPECT_TRUE(hasLabel(QStringLiteral("Ctrl+Shift+2 is taken.\nCtrl+Shift+1 is taken.")));
}

TEST_F(WorkspaceViewTest, ArrangeSwitchShowsTheBoardAndEditingLeavesIt)
{
    open(QSize(300, 200));
    QList<CaptureMode> appended;
    workspace->setAppendCapture([&](CaptureMode mode) { appended.append(mode); });
    menuEntry(*view, QStringLiteral("Add capture"), QStringLiteral("Capture main display"))->trigger();
    EXPECT_EQ(appended, QList<CaptureMode>{CaptureMode::screen});

    QImage second(QSize(200, 300), QImage::Format_ARGB32_Premultiplied);
    second.fill(Qt::blue);
    writeFile(path("second.png"), TestImageFiles::encoded(second, "png"));
    panels.open = [this] {
        return path("second.png");
    };
    menuEntry(*view, QStringLiteral("Add capture"), QStringLiteral("Image file…"))->trigger();
    ASSERT_EQ(workspace->board()->items().size(), 2);
    EXPECT_TRUE(workspace->showingBoard());
    auto *board = view->findChild<CaptureBoardView *>();
    ASSERT_NE(board, nullptr);
    EXPECT_TRUE(board->isVisible());
    EXPECT_TRUE(find<QToolButton>(*view, QStringLiteral("Arrange"))->isChecked());

    find<QToolButton>(*view, QStringLiteral("Edit image"))->click();
    EXPECT_FALSE(workspace->showingBoard());
    find<QToolButton>(*view, QStringLiteral("Arrange"))->click();
    EXPECT_TRUE(workspace->showingBoard());
    find<QToolButton>(*view, QStringLiteral("Arrange"))->click();
    EXPECT_TRUE(find<QToolButton>(*view, QStringLiteral("Arrange"))->isChecked());

    auto *canvas = view->findChild<CaptureBoardCanvas *>();
    const QUuid first = workspace->board()->items().first().id;
    QTest::mouseDClick(canvas, Qt::LeftButton, Qt::NoModifier, canvas->itemRect(first).center().toPoint());
    EXPECT_FALSE(workspace->showingBoard());
    EXPECT_EQ(workspace->board()->selectedID(), first);
}

TEST_F(WorkspaceViewTest, ExportKeysCopyAndSave)
{
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    open(QSize(120, 80));
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(clipboard.png.isEmpty());
    EXPECT_EQ(workspace->notice(), QStringLiteral("Image copied"));

    panels.saveTo(path("saved.png"));
    QTest::keyClick(view.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(path("saved.png")));
    EXPECT_EQ(panels.saveRequests, 1);
    menuEntry(*view, QStringLiteral("Save options"), QStringLiteral("Save As…"))->trigger();
    EXPECT_EQ(panels.saveRequests, 2);
}

// Each key lands after the previous one, however long the user pauses.
TEST_F(WorkspaceViewTest, LegendDescriptionsKeepTheTypedOrder)
{
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    CaptureDocument &document = open(QSize(640, 360));
    document.setTool(CaptureTool::number);
    document.finishGesture(QPointF(20, 20), QPointF(20, 20));
    document.finishGesture(QPointF(80, 80), QPointF(80, 80));
    QCoreApplication::processEvents();
    visible<QCheckBox>(QStringLiteral("Include in image"))->click();
    QCoreApplication::processEvents();
    auto *field = visible<QPlainTextEdit>(QStringLiteral("Description for marker 1"));
    ASSERT_NE(field, nullptr);
    QTest::mouseClick(field->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
    for (const char key : {'A', 'b', 'c'}) {
        field = visible<QPlainTextEdit>(QStringLiteral("Description for marker 1"));
        ASSERT_NE(field, nullptr);
        QTest::keyClicks(QApplication::focusWidget(), QString(QLatin1Char(key)));
        QTest::qWait(50);
    }
    EXPECT_EQ(document.legendEntries().first().text, QStringLiteral("Abc"));
    EXPECT_EQ(visible<QPlainTextEdit>(QStringLiteral("Description for marker 1"))->toPlainText(),
              QStringLiteral("Abc"));
}

// The hint for every tool shows whole at the first window size, with or
// without the inspector.
TEST_F(WorkspaceViewTest, ToolHintsAreNeverCut)
{
    CaptureDocument &document = open(QSize(640, 360));
    for (const bool inspector : {true, false}) {
        if (!inspector)
            find<QToolButton>(*view, QStringLiteral("Hide inspector"))->click();
        for (const CaptureTool tool : allCases<CaptureTool>()) {
            document.setTool(tool);
            QCoreApplication::processEvents();
            const QString hint = CaptureToolTable::instruction(tool, false);
            const QLabel *label = visible<QLabel>(hint);
            ASSERT_NE(label, nullptr) << hint.toStdString();
            const QRect room = label->contentsRect();
            const QRect needed =
                label->fontMetrics().boundingRect(room, label->wordWrap() ? Qt::TextWordWrap : 0, hint);
            EXPECT_LE(needed.width(), room.width()) << hint.toStdString();
            EXPECT_LE(needed.height(), room.height()) << hint.toStdString();
        }
    }
}

// Wide, tall and ordinary captures each fit whole into one thumbnail box.
TEST_F(WorkspaceViewTest, RecentThumbnailsFitOneBoxSoTheDatesLineUp)
{
    const struct {
        QSize size;
        QColor colour;
        bool wide;
    } exports[] = {{QSize(900, 200), Qt::red, true}, {QSize(200, 900), Qt::blue, false}};
    for (const auto &exported : exports) {
        QImage image(exported.size, QImage::Format_ARGB32_Premultiplied);
        image.fill(exported.colour);
        workspace->accept(image);
        workspace->copyImage();
    }
    ASSERT_TRUE(thumbnailsLoaded());
    CaptureRecentList *list = recentList();
    ASSERT_EQ(list->count(), 2);
    const QSize box = CaptureRecentList::thumbnailDisplaySize;
    for (int row = 0; row < 2; ++row) {
        const auto &exported = exports[1 - row];
        const QIcon icon = list->item(row)->icon();
        EXPECT_EQ(icon.actualSize(box), box);
        const QImage shown = icon.pixmap(box).toImage().scaled(box);
        const int middleX = box.width() / 2, middleY = box.height() / 2;
        EXPECT_EQ(shown.pixelColor(middleX, middleY), exported.colour);
        EXPECT_EQ(shown.pixelColor(1, middleY) == exported.colour, exported.wide) << "row " << row;
        EXPECT_EQ(shown.pixelColor(middleX, 1) == exported.colour, !exported.wide) << "row " << row;
    }
    EXPECT_EQ(list->visualItemRect(list->item(0)).left(), list->visualItemRect(list->item(1)).left());
}

} // namespace
