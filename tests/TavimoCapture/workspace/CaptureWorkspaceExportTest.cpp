#include "WorkspaceTest.h"

#include "CaptureFailure.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString changedWhileSaving = "The capture changed while saving. Save it again before closing.";

QSize pngSize(const QByteArray &png)
{
    return QImage::fromData(png, "png").size();
}

std::optional<QString> answer(const QString &path)
{
    return path;
}

} // namespace

TEST_F(WorkspaceTest, CopyingPutsThePngOnTheClipboardAndKeepsOneHistoryEntry)
{
    workspace->copyImage();
    EXPECT_EQ(clipboard.writes, 0) << "nothing open";

    CaptureDocument &document = open(QSize(64, 48));
    bool committed = false;
    document.setPendingTextCommit([&] { committed = true; });
    workspace->copyImage();
    EXPECT_TRUE(committed) << "text being typed becomes part of the image";
    EXPECT_EQ(pngSize(clipboard.png), QSize(64, 48));
    EXPECT_EQ(workspace->notice(), "Image copied");
    ASSERT_EQ(workspace->recent().size(), 1);
    const QString entry = workspace->historyIdentifier();
    EXPECT_EQ(workspace->recent().first().id(), entry);
    EXPECT_EQ(readFile(workspace->recent().first().path()), clipboard.png) << "one encoding for both";

    addRectangle(document);
    workspace->copyImage();
    EXPECT_EQ(workspace->recent().size(), 1);
    EXPECT_EQ(workspace->historyIdentifier(), entry);
    EXPECT_EQ(readFile(workspace->recent().first().path()), clipboard.png);
    EXPECT_EQ(shown, 1) << "only opening showed the editor";
}

TEST_F(WorkspaceTest, ARefusedClipboardIsReportedAndNothingIsRecorded)
{
    open();
    clipboard.refuse = true;
    workspace->copyImage();
    EXPECT_EQ(workspace->notice(), description(CaptureFailure::write));
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(workspace->recent().isEmpty());
    EXPECT_TRUE(workspace->historyIdentifier().isEmpty());
}

TEST_F(WorkspaceTest, AnExportStandsWhenTheHistoryCannotRecordIt)
{
    writeFile(historyFolder(), "a file where the history folder should be");
    open();
    workspace->copyImage();
    EXPECT_EQ(pngSize(clipboard.png), QSize(120, 80));
    EXPECT_TRUE(workspace->notice().startsWith("Image exported, but recent history could not be updated: The folder"))
        << workspace->notice().toStdString();
    EXPECT_TRUE(workspace->historyIdentifier().isEmpty());
    EXPECT_TRUE(workspace->recent().isEmpty());
}

TEST_F(WorkspaceTest, SavingAsksWhereWithTodaysNameThenOverwritesTheExportWithoutAsking)
{
    EXPECT_FALSE(workspace->saveImage(false));
    EXPECT_EQ(events, QList<TavimoEvent>{TavimoEvent::captureExport}) << "recorded even with nothing open";
    EXPECT_TRUE(panels.saveRequests.isEmpty());

    CaptureDocument &document = open(QSize(30, 20));
    const QString before = QDateTime::currentDateTimeUtc().date().toString("yyyy-MM-dd");
    EXPECT_FALSE(workspace->saveImage(false)) << "cancelled";
    const QString after = QDateTime::currentDateTimeUtc().date().toString("yyyy-MM-dd");
    ASSERT_EQ(panels.saveRequests.size(), 1);
    const QString request = panels.saveRequests.first();
    EXPECT_TRUE(request == "Capture-" + before + ".png image/png" || request == "Capture-" + after + ".png image/png")
        << request.toStdString();
    EXPECT_TRUE(workspace->savedPath().isEmpty());
    EXPECT_TRUE(workspace->notice().isEmpty());

    const QString destination = path("Capture.png");
    panels.save = [&](const QString &) {
        return answer(destination);
    };
    EXPECT_TRUE(workspace->saveImage(false));
    EXPECT_EQ(pngSize(readFile(destination)), QSize(30, 20));
    EXPECT_EQ(workspace->savedPath(), destination);
    EXPECT_EQ(workspace->notice(), "Image saved");
    ASSERT_EQ(workspace->recent().size(), 1);
    const QString sidecar = workspace->recent().first().path().chopped(4) + ".json";
    EXPECT_EQ(QJsonDocument::fromJson("[" + readFile(sidecar) + "]").array().first().toString(), destination)
        << "the entry links the export";

    const QByteArray first = readFile(destination);
    addRectangle(document);
    EXPECT_TRUE(workspace->saveImage(false));
    EXPECT_EQ(panels.saveRequests.size(), 2) << "Save overwrote the export without asking";
    EXPECT_NE(readFile(destination), first);
    EXPECT_EQ(workspace->recent().size(), 1);
    EXPECT_EQ(events.size(), 4);

    ASSERT_TRUE(QFile::remove(destination));
    const QString other = path("Other.png");
    panels.save = [&](const QString &) {
        return answer(other);
    };
    EXPECT_TRUE(workspace->saveImage(false));
    EXPECT_EQ(panels.saveRequests.size(), 3) << "the deleted export is asked for again";
    EXPECT_EQ(workspace->savedPath(), other);

    EXPECT_TRUE(workspace->saveImage(true));
    EXPECT_EQ(panels.saveRequests.size(), 4) << "Save As always asks";
}

TEST_F(WorkspaceTest, ACaptureChangedWhileTheSavePanelIsOpenIsNotWritten)
{
    CaptureDocument &document = open();
    const QString destination = path("out.png");
    panels.save = [&](const QString &) {
        addRectangle(document);
        return answer(destination);
    };
    EXPECT_FALSE(workspace->saveImage(false));
    EXPECT_EQ(workspace->notice(), changedWhileSaving);
    EXPECT_FALSE(QFile::exists(destination));
    EXPECT_TRUE(workspace->savedPath().isEmpty());

    panels.save = [&](const QString &) {
        open();
        return answer(destination);
    };
    EXPECT_FALSE(workspace->saveImage(false));
    EXPECT_EQ(workspace->notice(), changedWhileSaving);
    EXPECT_FALSE(QFile::exists(destination));
    EXPECT_TRUE(workspace->recent().isEmpty());
}

TEST_F(WorkspaceTest, AFailedWriteKeepsThePreviousFileAndTheSavedPath)
{
    open(QSize(300, 200));
    const QString destination = path("kept.png");
    panels.save = [&](const QString &) {
        return answer(destination);
    };
    ASSERT_TRUE(workspace->saveImage(false));
    const QByteArray previous = readFile(destination);

    addRectangle(*workspace->document());
    shown = 0;
    {
        const FileSizeLimit limit(64);
        EXPECT_FALSE(workspace->saveImage(false));
    }
    EXPECT_EQ(readFile(destination), previous);
    EXPECT_EQ(workspace->savedPath(), destination);
    EXPECT_EQ(workspace->notice(), QString("The file “%1” could not be written: File too large.").arg(destination));
    EXPECT_EQ(shown, 1);

    writeFile(path("blocker"), "a file where a folder should be");
    const QString blocked = path("blocker/out.png");
    panels.save = [&](const QString &) {
        return answer(blocked);
    };
    EXPECT_FALSE(workspace->saveImage(true));
    EXPECT_EQ(workspace->savedPath(), destination);
    EXPECT_TRUE(workspace->notice().contains(QDir::toNativeSeparators(blocked)));
}

TEST_F(WorkspaceTest, PinningHandsOverTheImageAndAnIndependentBoard)
{
    workspace->pinImage();
    EXPECT_TRUE(workspace->notice().isEmpty());

    open(QSize(40, 30));
    workspace->pinImage();
    EXPECT_EQ(workspace->notice(), "Image pinned") << "without a pin window the export still counts";

    QImage pinned;
    std::unique_ptr<CaptureBoard> snapshot;
    workspace->setPin([&](const QImage &image, std::unique_ptr<CaptureBoard> board) {
        pinned = image;
        snapshot = std::move(board);
    });
    workspace->pinImage();
    EXPECT_EQ(pinned.size(), QSize(40, 30));
    ASSERT_TRUE(snapshot);
    EXPECT_NE(snapshot.get(), workspace->board());
    EXPECT_NE(snapshot->activeDocument(), workspace->document());
    addRectangle(*snapshot->activeDocument());
    EXPECT_TRUE(workspace->document()->annotations().isEmpty());
    EXPECT_EQ(workspace->recent().size(), 1);
}

TEST_F(WorkspaceTest, ClosingAsksAndCancelKeepsTheCapture)
{
    workspace->closeCapture();
    EXPECT_TRUE(panels.alerts.isEmpty()) << "nothing open";

    open();
    workspace->closeCapture();
    ASSERT_EQ(panels.alerts.size(), 1);
    const CaptureAlert alert = panels.alerts.first();
    EXPECT_EQ(alert.message, "Close this capture?");
    EXPECT_EQ(alert.informativeText,
              "Save the current image before closing, or discard the editor changes. Existing exports and recent "
              "history will remain available. Closing the capture allows a pending update to finish.");
    EXPECT_EQ(alert.buttons, QStringList({"Save and Close", "Cancel", "Discard and Close"}));
    EXPECT_EQ(alert.cancelButton, 1);
    EXPECT_TRUE(workspace->document());

    workspace->setBusy(true);
    EXPECT_FALSE(workspace->canCloseCapture());
    workspace->closeCapture();
    EXPECT_EQ(panels.alerts.size(), 1) << "a running capture blocks closing";
}

TEST_F(WorkspaceTest, DiscardAndCloseEmptiesTheWorkspaceButKeepsExports)
{
    open();
    const QString exported = path("export.png");
    panels.save = [&](const QString &) {
        return answer(exported);
    };
    ASSERT_TRUE(workspace->saveImage(false));
    workspace->setRecognizedText(QString("words"));

    panels.alert = [](const CaptureAlert &) {
        return 2;
    };
    workspace->closeCapture();
    EXPECT_FALSE(workspace->document());
    EXPECT_FALSE(workspace->board());
    EXPECT_FALSE(workspace->showingBoard());
    EXPECT_TRUE(workspace->savedPath().isEmpty());
    EXPECT_TRUE(workspace->historyIdentifier().isEmpty());
    EXPECT_FALSE(workspace->recognizedText());
    EXPECT_EQ(workspace->notice(), "Capture closed");
    EXPECT_TRUE(QFile::exists(exported));
    EXPECT_EQ(workspace->recent().size(), 1);
    EXPECT_TRUE(workspace->contentSignature().isEmpty());
}

TEST_F(WorkspaceTest, SaveAndCloseClosesOnlyWhenTheImageWasWritten)
{
    open();
    panels.alert = [](const CaptureAlert &) {
        return 0;
    };
    workspace->closeCapture();
    EXPECT_EQ(panels.saveRequests.size(), 1);
    EXPECT_TRUE(workspace->document()) << "the save panel was cancelled";

    const QString destination = path("closing.png");
    panels.save = [&](const QString &) {
        return answer(destination);
    };
    workspace->closeCapture();
    EXPECT_TRUE(QFile::exists(destination));
    EXPECT_FALSE(workspace->document());
    EXPECT_EQ(workspace->notice(), "Capture closed");
}

TEST_F(WorkspaceTest, ACaptureChangedWhileTheCloseAlertIsOpenStaysOpen)
{
    CaptureDocument &document = open();
    panels.alert = [&](const CaptureAlert &) {
        addRectangle(document);
        return 2;
    };
    workspace->closeCapture();
    EXPECT_TRUE(workspace->document());

    panels.alert = [&](const CaptureAlert &) {
        workspace->setBusy(true);
        return 2;
    };
    workspace->closeCapture();
    EXPECT_TRUE(workspace->document());
    workspace->setBusy(false);

    CaptureBoard *replaced = nullptr;
    panels.alert = [&](const CaptureAlert &) {
        open();
        replaced = workspace->board();
        return 2;
    };
    workspace->closeCapture();
    EXPECT_EQ(workspace->board(), replaced) << "the new capture is not closed in place of the old one";
    EXPECT_NE(workspace->notice(), "Capture closed");
}
