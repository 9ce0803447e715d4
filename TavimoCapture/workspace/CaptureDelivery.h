#pragma once

#include "CaptureHistory.h"
#include "CaptureMode.h"

#include <QByteArray>
#include <QDateTime>
#include <QFuture>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CaptureClipboard;

// Hands a finished image to the clipboard, a file and the recent history,
// encoding it once as PNG for all three, and words what went wrong. After a
// capture every step is tried and each failure becomes a warning; in the
// editor the first failing export step ends the export.
class CaptureDelivery : public QObject {
    Q_OBJECT

public:
    // Who asks: the capture flow after a capture, or a command of the editor.
    enum class Source { capture, editor };

    // A file in today's folder of the capture folder, never replacing one.
    struct AutoSave {
        // The folder setting; "~" stands for the home folder.
        QString folder;
        // Names the file: "Area", "Screen" or "Displays".
        CaptureMode mode = CaptureMode::area;
        QDateTime date;
    };

    // The history entry the export updates.
    struct Record {
        CaptureHistory history;
        // The entry to replace; empty for a new one.
        QString replacing;
        // The file the entry links to when the delivery writes none.
        QString exportPath;
    };

    struct Order {
        Source source = Source::editor;
        QImage image;
        // The image's PNG when it is already encoded.
        QByteArray png;
        bool copy = false;
        std::optional<AutoSave> autoSave;
        // A file the image replaces; empty for none.
        QString exportPath;
        // Set when exports are recorded. After a capture only an image that
        // was copied or saved is recorded.
        std::optional<Record> record;
    };

    enum class Step { copy, save, record };

    struct Failure {
        Step step;
        QString reason;
    };

    struct Outcome {
        Source source = Source::editor;
        QByteArray png;
        // Why the image could not be encoded; empty when it was.
        QString encodingFailure;
        bool copied = false;
        // The file written; empty when none.
        QString savedPath;
        // The history entry written; empty when none.
        QString historyID;
        QList<Failure> failures;

        // Nothing failed that was asked for, the history entry aside.
        bool delivered() const;
        // One sentence per failure, in the order of the steps.
        QStringList warnings() const;
        // "Saved", "Copied", both joined by a middle dot, or "Capture".
        QString caption() const;
    };

    using Encoder = std::function<QByteArray(const QImage &)>;

    // `encode` may be called on any thread.
    explicit CaptureDelivery(CaptureClipboard &clipboard, Encoder encode = CaptureHistory::png,
                             QObject *parent = nullptr);

    // The image's PNG, for an order that needs it before it is placed. Throws
    // what the encoder throws, such as CaptureError(CaptureFailure::write).
    QByteArray png(const QImage &image) const { return m_encode(image); }

    // Every step on the calling thread, which is the GUI thread.
    Outcome deliver(Order order) const;
    // Encodes, writes the file and records on worker threads and copies on the
    // GUI thread, which stays free for a large image. The future is cancelled
    // when the delivery goes first.
    QFuture<Outcome> deliverInBackground(Order order);

private:
    struct Progress {
        Order order;
        Outcome outcome;
    };

    static void encodeImage(const Encoder &encoder, Progress &progress);
    void copy(Progress &progress) const;
    // The file and the history entry; any thread.
    static void store(Progress &progress);
    static void writeFile(Progress &progress);
    static void record(Progress &progress);

    CaptureClipboard &m_clipboard;
    Encoder m_encode;
};
