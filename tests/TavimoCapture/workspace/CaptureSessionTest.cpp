#include "CaptureSession.h"

#include "CaptureBoard.h"
#include "CaptureFailure.h"
#include "CaptureHistory.h"
#include "CapturePreferences.h"
#include "CaptureService.h"
#include "CaptureSessionHost.h"
#include "CaptureThumbnail.h"
#include "CaptureWorkspace.h"
#include "ScriptedClipboard.h"
#include "ScriptedHotKeys.h"
#include "ScriptedPanels.h"
#include "ScriptedThumbnailSurface.h"
#include "TestFiles.h"
#include "UserDefaults.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// Records what the capture flow asked of the windows, one word per request.
class RecordingHost : public CaptureSessionHost {
public:
    QStringList calls;
    QStringList toasts;

    void hideWindows() override { calls.append("hide"); }
    void restoreWindows() override { calls.append("restore"); }
    void restorePins() override { calls.append("pins"); }
    void rememberActiveWindow() override { calls.append("remember"); }
    void reactivatePrevious() override { calls.append("reactivate"); }
    void activateApp() override { calls.append("activate"); }
    void showToast(const QString &message) override { toasts.append(message); }
};

// Monitors laid out by the test; every grab is as large as the test says.
class SizedGrabber : public ScreenGrabber {
public:
    SizedGrabber(QList<Monitor> monitors, QList<QSize> pixels) : m_monitors(monitors), m_pixels(pixels) {}
    QList<Monitor> monitors() const override { return m_monitors; }
    QImage grab(const QRect &area) const override
    {
        for (qsizetype index = 0; index < m_monitors.size(); ++index) {
            if (m_monitors[index].geometry == area) {
                QImage image(m_pixels[index], QImage::Format_RGB32);
                image.fill(Qt::darkGreen);
                return image;
            }
        }
        return {};
    }

private:
    QList<Monitor> m_monitors;
    QList<QSize> m_pixels;
};

class CaptureSessionTest : public testing::Test {
protected:
    CaptureSessionTest()
    {
        QImageReader::setAllocationLimit(1024);
        qputenv("TMPDIR", QFile::encodeName(m_root.path()));
        thumbnail.setSurface(&surface);
        model.setShow([this] { ++editorShown; });
        useImage(QSize(200, 160));
    }
    ~CaptureSessionTest() override
    {
        qunsetenv("TMPDIR");
        qunsetenv("TAVIMO_SCREENCAPTURE");
    }

    QString path(const QString &name) const { return m_root.filePath(name); }

    // The screenshot tool hands over an image of `size`; an empty size cancels.
    void useImage(QSize size)
    {
        if (!size.isEmpty()) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            ASSERT_TRUE(image.save(path("fixture.png")));
        }
        const QString tool = path("tool.sh");
        writeFile(tool, QStringLiteral("#!/bin/sh\nfor out; do :; done\necho run >> '%1'\n%2\n")
                            .arg(path("runs"), size.isEmpty() ? QString() : "cp '" + path("fixture.png") + "' \"$out\"")
                            .toUtf8());
        QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner);
        qputenv("TAVIMO_SCREENCAPTURE", QFile::encodeName(tool));
    }

    void setPreferences(bool copy, bool save, bool thumbnailOn, CaptureEditorPolicy policy)
    {
        preferences.setAutoCopy(copy);
        preferences.setAutoSave(save);
        preferences.setShowThumbnail(thumbnailOn);
        preferences.setEditorPolicy(policy);
        preferences.setFolder(path("Captures"));
    }

    void capture(CaptureMode mode = CaptureMode::area, bool appending = false)
    {
        QSignalSpy finished(&session, &CaptureSession::finished);
        session.startCapture(appending, mode);
        ASSERT_TRUE(finished.wait(20000));
        EXPECT_FALSE(model.busy());
    }

    QStringList savedFiles() const
    {
        QStringList files;
        QDirIterator it(path("Captures"), {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        return files;
    }

    QTemporaryDir m_root;
    UserDefaults defaults{m_root.filePath("defaults.json")};
    ScriptedPanels panels;
    ScriptedClipboard clipboard;
    QList<TavimoEvent> events;
    CaptureWorkspace model{defaults, panels, clipboard, [this](TavimoEvent event) { events.append(event); },
                           CaptureHistory(m_root.filePath("History"))};
    QList<ScreenGrabber::Monitor> monitors;
    QList<QSize> monitorPixels;
    CaptureService service{[this] {
        return std::make_unique<SizedGrabber>(monitors, monitorPixels);
    }};
    CapturePreferences preferences{defaults};
    ScriptedHotKeys hotKeys;
    CaptureThumbnail thumbnail{hotKeys};
    ScriptedThumbnailSurface surface;
    RecordingHost host;
    QString recognized;
    int encodings = 0;
    QThread *encodingThread = nullptr;
    CaptureSession session{{model, service, preferences, thumbnail, clipboard, host, defaults,
                            [this](TavimoEvent event) {
                                events.append(event);
                            }},
                           {[] { return true; }, [] { return Qt::KeyboardModifiers(); },
                            [this](const QImage &) { return recognized; },
                            [this](const QImage &image) {
                                ++encodings;
                                encodingThread = QThread::currentThread();
                                return CaptureHistory::png(image);
                            }}};
    int editorShown = 0;
};

TEST_F(CaptureSessionTest, DecisionTableWithoutTheEditor)
{
    struct Row {
        bool copy, save, thumbnail;
        std::optional<QString> caption;
        int history;
    };
    const Row rows[] = {{false, false, true, "Capture", 0},
                        {true, false, true, "Copied", 1},
                        {false, true, true, "Saved", 2},
                        {true, true, true, "Saved · Copied", 3},
                        {true, true, false, std::nullopt, 4}};
    int saved = 0;
    for (const Row &row : rows) {
        setPreferences(row.copy, row.save, row.thumbnail, CaptureEditorPolicy::never);
        clipboard.png.clear();
        capture();
        const std::optional<QString> shown = surface.shown ? std::optional(surface.shown->text) : std::nullopt;
        EXPECT_EQ(shown, row.caption) << row.copy << row.save << row.thumbnail;
        EXPECT_EQ(QImage::fromData(clipboard.png).size(), row.copy ? QSize(200, 160) : QSize(0, 0));
        saved += row.save ? 1 : 0;
        EXPECT_EQ(savedFiles().size(), saved);
        EXPECT_EQ(model.recent().size(), row.history);
        // Never: a preview only, with no hot key and a click that opens nothing.
        EXPECT_TRUE(hotKeys.held.isEmpty());
        if (surface.shown)
            thumbnail.click(surface.shown->lifetime);
        EXPECT_FALSE(model.document());
        EXPECT_TRUE(host.toasts.isEmpty());
    }
    EXPECT_EQ(QFileInfo(savedFiles().value(0)).fileName().left(5), "Area-");
    EXPECT_FALSE(host.calls.contains("restore")) << "the editor and settings stay hidden after a new capture";
}

TEST_F(CaptureSessionTest, OneEncodingFeedsClipboardSaveAndHistory)
{
    setPreferences(true, true, true, CaptureEditorPolicy::thumbnailOnly);
    capture(CaptureMode::screen);
    EXPECT_EQ(encodings, 1);
    EXPECT_NE(encodingThread, QThread::currentThread()) << "large captures are encoded off the GUI thread";
    ASSERT_EQ(savedFiles().size(), 1);
    EXPECT_EQ(readFile(savedFiles()[0]), clipboard.png);
    EXPECT_TRUE(QFileInfo(savedFiles()[0]).fileName().startsWith("Screen-"));
    ASSERT_EQ(model.recent().size(), 1);
    EXPECT_EQ(readFile(model.recent()[0].path()), clipboard.png);

    // The thumbnail opens the capture in the editor with its history entry and file.
    EXPECT_EQ(surface.shown->text, "Click or Alt+E to edit");
    hotKeys.press({CaptureThumbnail::signature, thumbnail.generation()});
    ASSERT_TRUE(model.document());
    EXPECT_EQ(model.savedPath(), savedFiles()[0]);
    EXPECT_FALSE(model.historyIdentifier().isEmpty());
    EXPECT_EQ(editorShown, 1);
    EXPECT_EQ(events, (QList{TavimoEvent::captureScreen}));
}

TEST_F(CaptureSessionTest, FailuresOpenTheEditorWithTheirWarnings)
{
    // Unwritable folder: a file stands where the dated folder would go.
    setPreferences(true, true, true, CaptureEditorPolicy::thumbnailOnly);
    writeFile(path("Captures"), "not a folder");
    capture();
    ASSERT_TRUE(model.document());
    EXPECT_TRUE(model.notice().startsWith("Automatic save failed: ")) << model.notice().toStdString();
    EXPECT_FALSE(surface.shown);

    // No folder at all: nothing lands in the working folder.
    preferences.setFolder(QString());
    const QStringList before = QDir().entryList();
    capture();
    EXPECT_EQ(model.notice(), "Automatic save failed: No folder is chosen for automatic saves. Choose one in "
                              "Capture Settings.");
    EXPECT_EQ(QDir().entryList(), before);

    // The clipboard refuses and nothing else was asked for.
    preferences.setAutoSave(false);
    clipboard.refuse = true;
    capture();
    EXPECT_EQ(model.notice(), "Clipboard: " + description(CaptureFailure::write));
    EXPECT_EQ(editorShown, 3);
    EXPECT_TRUE(host.toasts.isEmpty());
}

TEST_F(CaptureSessionTest, PlainCaptureIsDeliveredPixelForPixel)
{
    setPreferences(true, false, false, CaptureEditorPolicy::never);
    capture();
    QImage expected(QSize(200, 160), QImage::Format_RGB32);
    expected.fill(Qt::darkCyan);
    EXPECT_EQ(QImage::fromData(clipboard.png).convertToFormat(QImage::Format_RGB32), expected);
}

TEST_F(CaptureSessionTest, WarningsOfAnOtherwiseGoodCaptureGoToOneToast)
{
    setPreferences(true, false, true, CaptureEditorPolicy::thumbnailOnly);
    hotKeys.taken = {QKeyCombination(Qt::AltModifier, Qt::Key_E)};
    writeFile(path("History"), "not a folder");
    capture();
    ASSERT_EQ(host.toasts.size(), 1);
    EXPECT_TRUE(host.toasts[0].startsWith("Recent history could not be updated: "));
    EXPECT_TRUE(host.toasts[0].endsWith("\nThumbnail shortcut unavailable; click the thumbnail to edit."));
    EXPECT_EQ(surface.shown->text, "Click to edit");
    EXPECT_FALSE(model.document());
}

TEST_F(CaptureSessionTest, SecondRequestWhileBusyIsDroppedButRecorded)
{
    setPreferences(false, false, false, CaptureEditorPolicy::always);
    QSignalSpy finished(&session, &CaptureSession::finished);
    session.startCapture(false, CaptureMode::area);
    session.startCapture(false, CaptureMode::ocr);
    ASSERT_TRUE(finished.wait(20000));
    QTest::qWait(50);
    EXPECT_EQ(finished.size(), 1);
    EXPECT_EQ(readFile(path("runs")), "run\n");
    EXPECT_EQ(events, (QList{TavimoEvent::captureArea, TavimoEvent::captureOCR}));
    EXPECT_EQ(host.calls, (QStringList{"remember", "hide", "activate", "reactivate", "pins"}));
    EXPECT_TRUE(model.document());
}

TEST_F(CaptureSessionTest, CancelledSelectionBringsEveryWindowBack)
{
    useImage(QSize());
    thumbnail.show(QImage(4, 4, QImage::Format_RGB32), 5, CaptureThumbnailShortcut::off, "old", nullptr);
    capture();
    EXPECT_FALSE(thumbnail.isShown());
    EXPECT_EQ(host.calls, (QStringList{"remember", "hide", "activate", "restore", "reactivate", "pins"}));
    EXPECT_EQ(model.notice(), "");
    EXPECT_EQ(editorShown, 0);
}

TEST_F(CaptureSessionTest, TextCapture)
{
    clipboard.text = "before";
    recognized = "  \n \n";
    capture(CaptureMode::ocr);
    EXPECT_EQ(clipboard.text, "before");
    EXPECT_EQ(host.toasts, QStringList{"No text found — clipboard unchanged"});

    recognized = "Invoice 42\nTotal";
    capture(CaptureMode::ocr);
    EXPECT_EQ(clipboard.text, "Invoice 42\nTotal");
    EXPECT_EQ(host.toasts.last(), "Text copied to clipboard");
    EXPECT_EQ(model.notice(), "Recognized text copied");
    EXPECT_FALSE(model.document());
    EXPECT_TRUE(model.recent().isEmpty());

    clipboard.refuse = true;
    capture(CaptureMode::ocr);
    EXPECT_EQ(model.notice(), description(CaptureFailure::write));
    EXPECT_EQ(editorShown, 1);
}

TEST_F(CaptureSessionTest, AllDisplaysInARowAtTheDensestScale)
{
    setPreferences(false, false, false, CaptureEditorPolicy::always);
    monitors = {{1, QRect(0, 0, 1440, 900), true}, {2, QRect(1440, 0, 1920, 1080), false}};
    monitorPixels = {QSize(2880, 1800), QSize(1920, 1080)};
    capture(CaptureMode::allDisplays);
    ASSERT_TRUE(model.board());
    const QList<CaptureBoardItem> items = model.board()->items();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].frame.size(), QSizeF(2880, 1800));
    EXPECT_EQ(items[1].frame.size(), QSizeF(3840, 2160));
    EXPECT_GE(items[1].frame.left(), items[0].frame.right());
    EXPECT_EQ(model.board()->layout(), CaptureBoardLayout::row);
    EXPECT_TRUE(model.showingBoard());
}

TEST_F(CaptureSessionTest, AppendingAddsToTheOpenBoardOrFailsWhenItWasReplaced)
{
    QImage open(100, 80, QImage::Format_RGB32);
    open.fill(Qt::white);
    model.accept(open);
    capture(CaptureMode::area, true);
    ASSERT_EQ(model.board()->items().size(), 2);
    EXPECT_TRUE(model.showingBoard());
    EXPECT_EQ(editorShown, 2);
    EXPECT_FALSE(host.calls.contains("reactivate"));
    EXPECT_TRUE(model.recent().isEmpty());

    QSignalSpy finished(&session, &CaptureSession::finished);
    session.startCapture(true, CaptureMode::area);
    model.accept(open);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(model.board()->items().size(), 1);
    EXPECT_EQ(model.notice(), description(CaptureFailure::failed));
}

} // namespace
