#include "CaptureDelivery.h"

#include "CaptureFailure.h"
#include "CaptureHistory.h"
#include "FutureWait.h"
#include "ScriptedClipboard.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

namespace {

using Source = CaptureDelivery::Source;

enum class Trouble { none, clipboardRefuses, folderNotWritable, historyFails, encodingFails };

class CaptureDeliveryTest : public testing::Test {
protected:
    CaptureDeliveryTest()
    {
        m_image.fill(Qt::darkMagenta);
        useFreshFolder();
    }

    // Each export writes into a folder of its own.
    void useFreshFolder()
    {
        m_folder = m_root.filePath(QString::number(++m_folders));
        ASSERT_TRUE(QDir().mkpath(m_folder));
    }
    QString path(const QString &name) const { return QDir(m_folder).filePath(name); }

    // What an export asks for, with the trouble it runs into.
    CaptureDelivery::Order order(Source source, bool copy, bool save, bool history, Trouble trouble)
    {
        clipboard.png.clear();
        clipboard.refuse = trouble == Trouble::clipboardRefuses;
        encodingFails = trouble == Trouble::encodingFails;
        encodings = 0;
        encodingThread = nullptr;
        if (trouble == Trouble::folderNotWritable) {
            writeFile(path("Captures"), "a file where the capture folder should be");
            writeFile(path("blocker"), "a file where a folder should be");
        }
        if (trouble == Trouble::historyFails)
            writeFile(path("History"), "a file where the history folder should be");

        CaptureDelivery::Order order;
        order.source = source;
        order.image = m_image;
        order.copy = copy;
        if (save && source == Source::capture)
            order.autoSave =
                CaptureDelivery::AutoSave{path("Captures"), CaptureMode::area, QDateTime::currentDateTime()};
        if (save && source == Source::editor)
            order.exportPath = path(trouble == Trouble::folderNotWritable ? "blocker/out.png" : "export.png");
        if (history)
            order.record = CaptureDelivery::Record{CaptureHistory(path("History")), QString(), QString()};
        return order;
    }

    QTemporaryDir m_root;
    int m_folders = 0;
    QString m_folder;
    QImage m_image{QSize(90, 60), QImage::Format_RGB32};
    ScriptedClipboard clipboard;
    bool encodingFails = false;
    std::atomic<int> encodings = 0;
    std::atomic<QThread *> encodingThread = nullptr;
    CaptureDelivery delivery{clipboard, [this](const QImage &image) {
                                 ++encodings;
                                 encodingThread = QThread::currentThread();
                                 if (encodingFails)
                                     throw CaptureError(CaptureFailure::write);
                                 return CaptureHistory::png(image);
                             }};
};

// Every export, from the editor on the GUI thread and after a capture with the
// slow steps on workers: what lands on the clipboard, on the disk and in the
// history, and what the user reads.
TEST_F(CaptureDeliveryTest, WhatEachExportDeliversAndSays)
{
    struct Row {
        Source source;
        bool copy, save, history;
        Trouble trouble;
        bool copied, saved, recorded, delivered;
        // The thumbnail's caption after a capture.
        const char *caption;
        // Each warning's beginning; %1 is the test's folder.
        QStringList warnings;
    };
    const QString refused = description(CaptureFailure::write);
    const QString autoSaveFailed = "Automatic save failed: The folder “%1/Captures/";
    const QString captureHistory = "Recent history could not be updated: The folder “%1/History”";
    const QString editorHistory = "Image exported, but recent history could not be updated: ";
    const QString clipboardRefused = "Clipboard: " + refused;
    const QString exportFailed = "The file “%1/blocker/out.png”";
    const Source capture = Source::capture;
    const Source editor = Source::editor;
    // clang-format off
    const Row rows[] = {
        // source copy   save   history trouble                   copied saved  recorded delivered caption, warnings
        {capture, true,  false, true,  Trouble::none,              true,  false, true,  true,  "Copied", {}},
        {capture, false, true,  true,  Trouble::none,              false, true,  true,  true,  "Saved", {}},
        {capture, true,  true,  true,  Trouble::none,              true,  true,  true,  true,  "Saved · Copied", {}},
        {capture, false, false, true,  Trouble::none,              false, false, false, true,  "Capture", {}},
        {capture, true,  true,  false, Trouble::none,              true,  true,  false, true,  "Saved · Copied", {}},
        {capture, true,  true,  true,  Trouble::clipboardRefuses,  false, true,  true,  false, "Saved", {clipboardRefused}},
        {capture, true,  false, true,  Trouble::clipboardRefuses,  false, false, false, false, "Capture", {clipboardRefused}},
        {capture, true,  true,  true,  Trouble::folderNotWritable, true,  false, true,  false, "Copied", {autoSaveFailed}},
        {capture, false, true,  true,  Trouble::folderNotWritable, false, false, false, false, "Capture", {autoSaveFailed}},
        {capture, true,  true,  true,  Trouble::historyFails,      true,  true,  false, true,  "Saved · Copied", {captureHistory}},
        {capture, true,  true,  false, Trouble::historyFails,      true,  true,  false, true,  "Saved · Copied", {}},
        {capture, true,  true,  true,  Trouble::encodingFails,     false, false, false, false, "Capture",
         {clipboardRefused, "Automatic save failed: " + refused}},
        {editor,  true,  false, true,  Trouble::none,              true,  false, true,  true,  nullptr, {}},
        {editor,  false, true,  true,  Trouble::none,              false, true,  true,  true,  nullptr, {}},
        {editor,  false, false, true,  Trouble::none,              false, false, true,  true,  nullptr, {}},
        {editor,  false, false, false, Trouble::none,              false, false, false, true,  nullptr, {}},
        {editor,  true,  false, true,  Trouble::clipboardRefuses,  false, false, false, false, nullptr, {refused}},
        {editor,  false, true,  true,  Trouble::folderNotWritable, false, false, false, false, nullptr, {exportFailed}},
        {editor,  true,  false, true,  Trouble::historyFails,      true,  false, false, true,  nullptr,
         {editorHistory + "The folder “%1/History”"}},
        {editor,  false, true,  false, Trouble::historyFails,      false, true,  false, true,  nullptr, {}},
        {editor,  false, false, true,  Trouble::encodingFails,     false, false, false, true,  nullptr, {editorHistory + refused}},
        {editor,  true,  false, true,  Trouble::encodingFails,     false, false, false, false, nullptr, {refused}},
    };
    // clang-format on
    for (const bool inBackground : {false, true}) {
        for (const Row &row : rows) {
            const std::string where = (row.source == capture ? "capture " : "editor ") + std::to_string(row.copy) +
                                      std::to_string(row.save) + std::to_string(row.history) + " trouble " +
                                      std::to_string(int(row.trouble)) + (inBackground ? " in background" : "");
            SCOPED_TRACE(where);
            useFreshFolder();
            CaptureDelivery::Order asked = order(row.source, row.copy, row.save, row.history, row.trouble);
            const CaptureDelivery::Outcome outcome =
                inBackground ? resultOf(delivery.deliverInBackground(std::move(asked))) : delivery.deliver(asked);

            // Encoded once, and only when something needs the PNG.
            const bool needsPng = row.copy || row.save || (row.history && row.source == editor);
            EXPECT_EQ(encodings.load(), needsPng ? 1 : 0);
            if (inBackground && needsPng) {
                EXPECT_NE(encodingThread.load(), QThread::currentThread()) << "the GUI thread stays free";
            }
            if (row.copied || row.saved || row.recorded) {
                EXPECT_EQ(QImage::fromData(outcome.png).convertToFormat(QImage::Format_RGB32), m_image);
            }

            EXPECT_EQ(outcome.copied, row.copied);
            EXPECT_EQ(clipboard.png, row.copied ? outcome.png : QByteArray());
            EXPECT_EQ(!outcome.savedPath.isEmpty(), row.saved);
            if (row.saved) {
                EXPECT_EQ(readFile(outcome.savedPath), outcome.png);
            }
            if (row.saved && row.source == capture) {
                EXPECT_TRUE(QFileInfo(outcome.savedPath).fileName().startsWith("Area-"));
            }

            const CaptureHistory history(path("History"));
            const QList<CaptureHistoryItem> entries = history.items();
            ASSERT_EQ(entries.size(), row.recorded ? 1 : 0);
            EXPECT_EQ(outcome.historyID, row.recorded ? entries[0].id() : QString());
            if (row.recorded) {
                EXPECT_EQ(readFile(entries[0].path()), outcome.png);
                const std::optional<CaptureHistoryEntry> entry = history.reopen(entries[0]);
                ASSERT_TRUE(entry);
                EXPECT_EQ(entry->exportPath.value_or(QString()), outcome.savedPath) << "the entry links its file";
            }

            EXPECT_EQ(outcome.delivered(), row.delivered);
            if (row.caption) {
                EXPECT_EQ(outcome.caption(), QString::fromUtf8(row.caption));
            }
            const QStringList warnings = outcome.warnings();
            ASSERT_EQ(warnings.size(), row.warnings.size()) << warnings.join('\n').toStdString();
            for (qsizetype index = 0; index < warnings.size(); ++index) {
                const QString expected =
                    row.warnings[index].contains("%1") ? row.warnings[index].arg(m_folder) : row.warnings[index];
                EXPECT_TRUE(warnings[index].startsWith(expected)) << warnings[index].toStdString();
            }
        }
    }
}

// Re-exporting from the editor replaces the capture's one entry and keeps
// the link to its file when this export writes none.
TEST_F(CaptureDeliveryTest, ReExportingUpdatesTheOneEntryAndItsLink)
{
    const QString exported = path("first.png");
    CaptureDelivery::Order saving = order(Source::editor, false, false, true, Trouble::none);
    saving.exportPath = exported;
    const CaptureDelivery::Outcome saved = delivery.deliver(saving);
    ASSERT_FALSE(saved.historyID.isEmpty());

    CaptureDelivery::Order copying = order(Source::editor, true, false, true, Trouble::none);
    copying.record->replacing = saved.historyID;
    copying.record->exportPath = exported;
    copying.png = saved.png;
    const CaptureDelivery::Outcome copied = delivery.deliver(copying);
    EXPECT_EQ(encodings.load(), 0) << "bytes already encoded are reused";
    EXPECT_EQ(copied.historyID, saved.historyID);
    const CaptureHistory history(path("History"));
    ASSERT_EQ(history.items().size(), 1);
    EXPECT_EQ(history.reopen(history.items()[0])->exportPath, exported);
    EXPECT_EQ(clipboard.png, saved.png);
}

} // namespace
