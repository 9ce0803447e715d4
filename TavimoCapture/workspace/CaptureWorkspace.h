#pragma once

#include "CaptureBoard.h"
#include "CaptureDelivery.h"
#include "CaptureDocument.h"
#include "CaptureHistory.h"
#include "CaptureHistoryItem.h"
#include "CaptureMode.h"
#include "CaptureTextRecognition.h"
#include "TavimoEvent.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class CaptureClipboard;
class CapturePanels;
class UserDefaults;

// The model behind the editor window: the open capture (always a board), the
// recent exports, the busy flags, the one-line notice and the file the capture
// was last exported to. Every command that touches the open capture goes
// through it. Work that waits (a panel, recognition) re-checks afterwards that
// the same capture is still open and unchanged before applying its result.
//
// Never opens a window itself: dialogs go through CapturePanels, the clipboard
// through CaptureClipboard. GUI thread only; every setter that changes a value
// emits its own ...Changed() signal and then changed().
class CaptureWorkspace : public QObject {
    Q_OBJECT

public:
    static inline const QString keepHistoryKey = QStringLiteral("capture.keepHistory");

    // `defaults` holds "capture.keepHistory" and the style and frame defaults
    // of new documents; a failed write to it becomes the notice. `track`
    // records usage events.
    CaptureWorkspace(UserDefaults &defaults, CapturePanels &panels, CaptureClipboard &clipboard,
                     std::function<void(TavimoEvent)> track, CaptureHistory history = CaptureHistory(),
                     CaptureTextRecognition recognition = CaptureTextRecognition(), QObject *parent = nullptr);
    ~CaptureWorkspace() override;

    // The board's active document; null exactly when no capture is open.
    const std::shared_ptr<CaptureDocument> &document() const { return m_document; }
    CaptureBoard *board() const { return m_board.get(); }
    // The window shows the arrangement of the board instead of one document.
    bool showingBoard() const { return m_showingBoard; }
    void setShowingBoard(bool showing);
    // Newest first.
    const QList<CaptureHistoryItem> &recent() const { return m_recent; }
    // Lists the history folder again.
    void refreshRecent();
    // A capture is being taken; set by the capture flow.
    bool busy() const { return m_busy; }
    void setBusy(bool busy);
    bool recognizing() const { return m_recognizing; }
    bool detectingText() const { return m_detectingText; }
    // Empty: no message.
    const QString &notice() const { return m_notice; }
    void setNotice(const QString &notice);
    const std::optional<QString> &recognizedText() const { return m_recognizedText; }
    void setRecognizedText(const std::optional<QString> &text);
    // Global hot keys that could not be registered.
    const QStringList &shortcutWarnings() const { return m_shortcutWarnings; }
    void setShortcutWarnings(const QStringList &warnings);
    // Whether exports are recorded in the recent history; stored in the defaults.
    bool keepHistory() const { return m_keepHistory; }
    void setKeepHistory(bool keep);

    const CaptureHistory &history() const { return m_history; }
    // The open capture's history entry (a file name); empty until recorded.
    const QString &historyIdentifier() const { return m_historyIdentifier; }
    // The file the open capture was last exported to; empty when none.
    const QString &savedPath() const { return m_savedPath; }

    // Callbacks of the application; each is called only when set.
    const std::function<void(CaptureMode)> &capture() const { return m_capture; }
    void setCapture(std::function<void(CaptureMode)> capture) { m_capture = std::move(capture); }
    const std::function<void(CaptureMode)> &appendCapture() const { return m_appendCapture; }
    void setAppendCapture(std::function<void(CaptureMode)> append) { m_appendCapture = std::move(append); }
    using PinCallback = std::function<void(const QImage &, std::unique_ptr<CaptureBoard>)>;
    void setPin(PinCallback pin) { m_pin = std::move(pin); }
    // Brings the editor window forward.
    const std::function<void()> &show() const { return m_show; }
    void setShow(std::function<void()> show) { m_show = std::move(show); }
    const std::function<void()> &settings() const { return m_settings; }
    void setSettings(std::function<void()> settings) { m_settings = std::move(settings); }

    // Opens an image. Without `historyID` (a fresh image) it takes the stored
    // frame defaults; a recent entry keeps the frame it was exported with.
    void accept(const QImage &image, const QString &historyID = QString(), const QString &savedPath = QString());
    // Takes over a board without a parent.
    void acceptBoard(std::unique_ptr<CaptureBoard> board, const QString &historyID = QString(),
                     const QString &savedPath = QString());
    // Undoes on the board while it is shown, else in the document.
    void undo();
    // Redoes on the board while it is shown, else in the document.
    void redo();
    // Asks for a PNG, JPEG or TIFF file of at most 80 megapixels; `append`
    // adds it to the open board.
    void openImage(bool append);
    // The same for a file named by the caller (the command line).
    void openImageFile(const QString &path);
    void copyImage();
    // Writes the finished image as PNG: over the last export unless `asNew`,
    // else where the user chooses. True when a file was written.
    bool saveImage(bool asNew);
    void pinImage();
    // A capture is open and nothing is running that needs it.
    bool canCloseCapture() const;
    // Asks to save or discard, then closes; exports and history stay.
    void closeCapture();
    // Recognises all text of the content image into recognizedText().
    void recognizeText();
    // Marks the words of the document's content image so a click hides them.
    void findTextRegions();
    // Asks, then removes every recent export from the history.
    void clearHistory();

    // One "UUID:revision:(x, y, width, height)" per board item, in board order;
    // empty without a board. Equal signatures mean unchanged content.
    QStringList contentSignature();

signals:
    void documentChanged();
    void boardChanged();
    void showingBoardChanged();
    void recentChanged();
    void busyChanged();
    void recognizingChanged();
    void detectingTextChanged();
    void noticeChanged();
    void recognizedTextChanged();
    void shortcutWarningsChanged();
    void keepHistoryChanged();
    // Any change of the workspace, including a change of the open board.
    void changed();

private:
    // What an operation that waits remembers of the open capture.
    struct Identity {
        std::weak_ptr<CaptureDocument> document;
        QUuid board;
        QStringList signature;
    };

    void setDocument(const std::shared_ptr<CaptureDocument> &document);
    void setRecent(const QList<CaptureHistoryItem> &recent);
    void setRecognizing(bool recognizing);
    void setDetectingText(bool detecting);

    void install(std::unique_ptr<CaptureBoard> board);
    void boardDidChange(const QPointer<CaptureBoard> &board);
    QUuid boardID() const;
    Identity identity();
    bool isUnchanged(const Identity &identity);
    bool canStillClose(const Identity &identity);
    void close();

    void openFile(const QString &path, const QUuid &target);
    void addToBoard(const QImage &image);
    std::optional<QString> saveDestination(bool asNew);
    std::optional<QImage> rendered(const std::function<QImage()> &render);
    // Hands the finished image on as `order` says, recording it in the recent
    // history, and sets the notice: `done` or what went wrong. True when
    // nothing failed that was asked for.
    bool deliver(CaptureDelivery::Order order, const char *done);
    void report(const QString &failure);
    void callShow() const;

    void finishRecognition(const std::optional<QString> &text, const QString &failure, const Identity &started);
    void finishDetection(const std::optional<QList<CaptureOCRRegion>> &regions, const QString &failure,
                         const std::weak_ptr<CaptureDocument> &document, quint64 revision, QPointF origin);

    UserDefaults &m_defaults;
    CapturePanels &m_panels;
    CaptureDelivery m_delivery;
    std::function<void(TavimoEvent)> m_track;
    CaptureTextRecognition m_recognition;
    // Recognition mostly waits for its helper process; its own pool leaves the
    // shared one to work that computes, such as PNG encoding. Waits for the
    // running work when the workspace goes.
    QThreadPool m_backgroundPool;

    std::shared_ptr<CaptureDocument> m_document;
    std::unique_ptr<CaptureBoard> m_board;
    bool m_showingBoard = false;
    QList<CaptureHistoryItem> m_recent;
    bool m_busy = false;
    bool m_recognizing = false;
    bool m_detectingText = false;
    QString m_notice;
    std::optional<QString> m_recognizedText;
    QStringList m_shortcutWarnings;
    bool m_keepHistory = true;
    QMetaObject::Connection m_documentObservation;
    CaptureHistory m_history;
    QString m_historyIdentifier;
    std::function<void(CaptureMode)> m_capture;
    std::function<void(CaptureMode)> m_appendCapture;
    PinCallback m_pin;
    std::function<void()> m_show;
    std::function<void()> m_settings;
    QString m_savedPath;
};
