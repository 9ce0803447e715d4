#include "CaptureWorkspace.h"

#include "CaptureAlert.h"
#include "CaptureDecorationDefaults.h"
#include "CaptureErrorText.h"
#include "CaptureFailure.h"
#include "CaptureImageImport.h"
#include "CaptureImportFailure.h"
#include "CapturePanels.h"
#include "CaptureRenderer.h"
#include "ChangeNotification.h"
#include "UserDefaults.h"
#include "WorkspaceLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFutureWatcher>
#include <QPointer>
#include <QtConcurrent>

#include <exception>

namespace {

const QString pngType = QStringLiteral("image/png");

namespace Notice {
// Translated where shown.
constexpr const char *appendTargetChanged = QT_TRANSLATE_NOOP(
    "CaptureWorkspace", "The current capture changed. Add the image again to choose its destination.");
constexpr const char *copied = QT_TRANSLATE_NOOP("CaptureWorkspace", "Image copied");
constexpr const char *changedWhileSaving =
    QT_TRANSLATE_NOOP("CaptureWorkspace", "The capture changed while saving. Save it again before closing.");
constexpr const char *saved = QT_TRANSLATE_NOOP("CaptureWorkspace", "Image saved");
constexpr const char *pinned = QT_TRANSLATE_NOOP("CaptureWorkspace", "Image pinned");
constexpr const char *closed = QT_TRANSLATE_NOOP("CaptureWorkspace", "Capture closed");
constexpr const char *textRecognized = QT_TRANSLATE_NOOP("CaptureWorkspace", "Text recognized on this computer");
constexpr const char *noTextFound = QT_TRANSLATE_NOOP("CaptureWorkspace", "No text found in this image");
constexpr const char *wordsDetected = QT_TRANSLATE_NOOP(
    "CaptureWorkspace", "Click highlighted words to hide them. Review the image for text that was not detected.");
constexpr const char *noWordsDetected =
    QT_TRANSLATE_NOOP("CaptureWorkspace", "No text detected. Drag to hide an area manually.");
} // namespace Notice

enum CloseButton : qsizetype { saveAndClose, cancelClose, discardAndClose };

CaptureAlert closeAlert()
{
    return {QCoreApplication::translate("CaptureWorkspace", "Close this capture?"),
            QCoreApplication::translate(
                "CaptureWorkspace",
                "Save the current image before closing, or discard the editor changes. Existing exports "
                "and recent history will remain available. Closing the capture allows a pending update to "
                "finish."),
            {QCoreApplication::translate("CaptureWorkspace", "Save and Close"),
             QCoreApplication::translate("CaptureWorkspace", "Cancel"),
             QCoreApplication::translate("CaptureWorkspace", "Discard and Close")},
            cancelClose};
}

CaptureAlert clearHistoryAlert()
{
    return {QCoreApplication::translate("CaptureWorkspace", "Clear recent captures?"),
            QCoreApplication::translate(
                "CaptureWorkspace", "This removes the local recent history. Exported files and your current image stay "
                                    "available."),
            {QCoreApplication::translate("CaptureWorkspace", "Clear History"),
             QCoreApplication::translate("CaptureWorkspace", "Cancel")},
            1};
}

// "Capture-2026-12-05.png", dated in UTC.
QString proposedFileName()
{
    return QStringLiteral("Capture-%1.png").arg(QDateTime::currentDateTimeUtc().date().toString(Qt::ISODate));
}

// Shortest round-trip form, always with a fraction or exponent: 0.0, 1280.0, 0.5.
QString number(double value)
{
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')) && std::isfinite(value))
        text += QStringLiteral(".0");
    return text;
}

// The result of work on the thread pool: its value, or what the user reads about its failure.
template <typename T> struct Outcome {
    std::optional<T> value;
    QString failure;
};

// Runs `work` on `pool` and hands its outcome to `done` on the GUI thread,
// unless `context` is gone by then.
template <typename T, typename Done>
void runInBackground(QThreadPool *pool, QObject *context, std::function<T(const QImage &)> work, const QImage &image,
                     Done done)
{
    auto *watcher = new QFutureWatcher<Outcome<T>>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(pool, [work = std::move(work), image]() -> Outcome<T> {
        try {
            return {work(image), QString()};
        } catch (const std::exception &error) {
            return {std::nullopt, CaptureErrorText::of(error)};
        }
    }));
}

} // namespace

CaptureWorkspace::CaptureWorkspace(UserDefaults &defaults, CapturePanels &panels, CaptureClipboard &clipboard,
                                   std::function<void(TavimoEvent)> track, CaptureHistory history,
                                   CaptureTextRecognition recognition, QObject *parent)
    : QObject(parent), m_defaults(defaults), m_panels(panels), m_delivery(clipboard), m_track(std::move(track)),
      m_recognition(std::move(recognition)), m_keepHistory(defaults.boolValue(keepHistoryKey).value_or(true)),
      m_history(std::move(history))
{
    m_defaults.setWriteFailureHandler([workspace = QPointer(this)](const QString &reason) {
        if (workspace)
            workspace->report(reason);
    });
    m_history.removeLeftovers();
    m_recent = m_history.items();
    // One recognition and one detection at a time.
    m_backgroundPool.setMaxThreadCount(2);
}

CaptureWorkspace::~CaptureWorkspace() = default;

void CaptureWorkspace::setDocument(const std::shared_ptr<CaptureDocument> &document)
{
    assignAndNotify(*this, m_document, document, &CaptureWorkspace::documentChanged);
}

void CaptureWorkspace::setShowingBoard(bool showing)
{
    assignAndNotify(*this, m_showingBoard, showing, &CaptureWorkspace::showingBoardChanged);
}

void CaptureWorkspace::setRecent(const QList<CaptureHistoryItem> &recent)
{
    assignAndNotify(*this, m_recent, recent, &CaptureWorkspace::recentChanged);
}

void CaptureWorkspace::refreshRecent()
{
    setRecent(m_history.items());
}

void CaptureWorkspace::setBusy(bool busy)
{
    assignAndNotify(*this, m_busy, busy, &CaptureWorkspace::busyChanged);
}

void CaptureWorkspace::setRecognizing(bool recognizing)
{
    assignAndNotify(*this, m_recognizing, recognizing, &CaptureWorkspace::recognizingChanged);
}

void CaptureWorkspace::setDetectingText(bool detecting)
{
    assignAndNotify(*this, m_detectingText, detecting, &CaptureWorkspace::detectingTextChanged);
}

void CaptureWorkspace::setNotice(const QString &notice)
{
    assignAndNotify(*this, m_notice, notice, &CaptureWorkspace::noticeChanged);
}

void CaptureWorkspace::setRecognizedText(const std::optional<QString> &text)
{
    assignAndNotify(*this, m_recognizedText, text, &CaptureWorkspace::recognizedTextChanged);
}

void CaptureWorkspace::setShortcutWarnings(const QStringList &warnings)
{
    assignAndNotify(*this, m_shortcutWarnings, warnings, &CaptureWorkspace::shortcutWarningsChanged);
}

// Turning it off keeps the entries already recorded.
void CaptureWorkspace::setKeepHistory(bool keep)
{
    assignAndNotify(*this, m_keepHistory, keep, &CaptureWorkspace::keepHistoryChanged);
    m_defaults.setValue(keepHistoryKey, keep);
}

void CaptureWorkspace::accept(const QImage &image, const QString &historyID, const QString &savedPath)
{
    m_savedPath = savedPath;
    auto document = std::make_shared<CaptureDocument>(image, &m_defaults);
    if (historyID.isEmpty())
        document->setComposition(CaptureDecorationDefaults::load(m_defaults));
    install(std::make_unique<CaptureBoard>(std::move(document)));
    m_historyIdentifier = historyID;
    setRecognizedText(std::nullopt);
    setNotice(QString());
    callShow();
}

void CaptureWorkspace::acceptBoard(std::unique_ptr<CaptureBoard> board, const QString &historyID,
                                   const QString &savedPath)
{
    m_savedPath = savedPath;
    m_historyIdentifier = historyID;
    install(std::move(board));
    setRecognizedText(std::nullopt);
    setNotice(QString());
    callShow();
}

void CaptureWorkspace::install(std::unique_ptr<CaptureBoard> board)
{
    disconnect(m_documentObservation);
    const std::unique_ptr<CaptureBoard> previous = std::exchange(m_board, std::move(board));
    emit boardChanged();
    setDocument(m_board->activeDocument());
    setShowingBoard(m_board->items().size() > 1);
    emit changed();
    // The board announces a change once it is made; the answer waits until
    // the operation that made it has finished.
    m_documentObservation = connect(
        m_board.get(), &CaptureBoard::changed, this,
        [this, watched = QPointer<CaptureBoard>(m_board.get())] { boardDidChange(watched); }, Qt::QueuedConnection);
}

void CaptureWorkspace::boardDidChange(const QPointer<CaptureBoard> &board)
{
    if (!board || board != m_board.get())
        return;
    setDocument(m_board->activeDocument());
    setRecognizedText(std::nullopt);
    emit changed();
}

void CaptureWorkspace::undo()
{
    if (m_showingBoard) {
        if (m_board)
            m_board->undo();
    } else if (m_document) {
        m_document->undo();
    }
}

void CaptureWorkspace::redo()
{
    if (m_showingBoard) {
        if (m_board)
            m_board->redo();
    } else if (m_document) {
        m_document->redo();
    }
}

void CaptureWorkspace::openImage(bool append)
{
    const QUuid target = append ? boardID() : QUuid();
    const std::optional<QString> path =
        m_panels.chooseFileToOpen({pngType, QStringLiteral("image/jpeg"), QStringLiteral("image/tiff")});
    if (!path || path->isEmpty())
        return;
    openFile(*path, target);
}

void CaptureWorkspace::openImageFile(const QString &path)
{
    openFile(path, QUuid());
}

void CaptureWorkspace::openFile(const QString &path, const QUuid &target)
{
    QImage image;
    try {
        image = CaptureImageImport::read(path);
    } catch (const CaptureImportError &error) {
        // A file the header refuses leaves the window as it is; one that fails to decode brings it forward.
        if (error.code() == CaptureImportFailure::undecodable)
            report(error.description());
        else
            setNotice(error.description());
        return;
    }

    if (target.isNull())
        accept(image);
    else if (boardID() == target)
        addToBoard(image);
    else
        setNotice(tr(Notice::appendTargetChanged));
}

void CaptureWorkspace::addToBoard(const QImage &image)
{
    try {
        m_board->addImages({image});
    } catch (const std::exception &error) {
        report(CaptureErrorText::of(error));
        return;
    }
    setShowingBoard(true);
    callShow();
}

void CaptureWorkspace::copyImage()
{
    if (!m_document)
        return;
    m_document->commitPendingText();
    CaptureDelivery::Order order;
    try {
        order.image = m_board->flattenedImage();
    } catch (const std::exception &error) {
        report(CaptureErrorText::of(error));
        return;
    }
    order.copy = true;
    deliver(std::move(order), Notice::copied);
}

bool CaptureWorkspace::saveImage(bool asNew)
{
    if (m_track)
        m_track(TavimoEvent::captureExport);
    if (!m_document)
        return false;
    m_document->commitPendingText();
    const Identity started = identity();

    CaptureDelivery::Order order;
    try {
        order.image = m_board->flattenedImage();
        order.png = m_delivery.png(order.image);
    } catch (const std::exception &error) {
        report(CaptureErrorText::of(error));
        return false;
    }

    const std::optional<QString> destination = saveDestination(asNew);
    if (!destination)
        return false;
    if (!isUnchanged(started)) {
        setNotice(tr(Notice::changedWhileSaving));
        return false;
    }
    order.exportPath = *destination;
    return deliver(std::move(order), Notice::saved);
}

// The last export when it is still a file, else the user's choice.
std::optional<QString> CaptureWorkspace::saveDestination(bool asNew)
{
    if (!asNew) {
        if (const auto existing = CaptureHistory::existingExport(m_savedPath))
            return existing;
    }
    const std::optional<QString> chosen = m_panels.chooseSaveDestination(proposedFileName(), pngType);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return chosen;
}

// Re-exporting a capture updates its one history entry.
bool CaptureWorkspace::deliver(CaptureDelivery::Order order, const char *done)
{
    if (m_keepHistory)
        order.record = CaptureDelivery::Record{m_history, m_historyIdentifier, m_savedPath};
    const CaptureDelivery::Outcome outcome = m_delivery.deliver(std::move(order));
    const QString warnings = outcome.warnings().join(QLatin1Char('\n'));
    if (!outcome.delivered()) {
        report(warnings);
        return false;
    }
    if (!outcome.savedPath.isEmpty())
        m_savedPath = outcome.savedPath;
    setNotice(warnings.isEmpty() ? tr(done) : warnings);
    if (!outcome.historyID.isEmpty()) {
        m_historyIdentifier = outcome.historyID;
        refreshRecent();
    }
    return true;
}

void CaptureWorkspace::pinImage()
{
    if (!m_document)
        return;
    m_document->commitPendingText();
    const std::optional<QImage> image = rendered([this] { return m_board->flattenedImage(); });
    if (!image)
        return;
    if (m_pin)
        m_pin(*image, m_board->snapshot());
    CaptureDelivery::Order order;
    order.image = *image;
    deliver(std::move(order), Notice::pinned);
}

// The image `render` makes, or none after telling the user why there is none.
std::optional<QImage> CaptureWorkspace::rendered(const std::function<QImage()> &render)
{
    try {
        QImage image = render();
        if (!image.isNull())
            return image;
        report(description(CaptureFailure::invalidImage));
    } catch (const std::exception &error) {
        report(CaptureErrorText::of(error));
    }
    return std::nullopt;
}

bool CaptureWorkspace::canCloseCapture() const
{
    return m_document && !m_busy && !m_recognizing && !m_detectingText;
}

void CaptureWorkspace::closeCapture()
{
    if (!canCloseCapture())
        return;
    m_document->commitPendingText();
    const Identity started = identity();
    const qsizetype choice = m_panels.runAlert(closeAlert());
    if (!canStillClose(started))
        return;
    switch (choice) {
    case saveAndClose:
        if (!saveImage(false) || !canStillClose(started))
            return;
        break;
    case discardAndClose:
        break;
    default:
        return;
    }
    close();
}

void CaptureWorkspace::close()
{
    disconnect(m_documentObservation);
    const std::unique_ptr<CaptureBoard> closing = std::move(m_board);
    emit boardChanged();
    setDocument(nullptr);
    setShowingBoard(false);
    m_savedPath.clear();
    m_historyIdentifier.clear();
    setRecognizedText(std::nullopt);
    setNotice(tr(Notice::closed));
}

void CaptureWorkspace::recognizeText()
{
    if (!m_document || m_recognizing)
        return;
    m_document->commitPendingText();
    const std::optional<QImage> image = rendered([this] { return m_board->contentImage(); });
    if (!image)
        return;
    const Identity started = identity();
    setRecognizing(true);
    setRecognizedText(std::nullopt);
    runInBackground(&m_backgroundPool, this, m_recognition.recognize, *image,
                    [this, started](const Outcome<QString> &outcome) {
                        finishRecognition(outcome.value, outcome.failure, started);
                    });
}

// A result for content that changed meanwhile is dropped without a word.
void CaptureWorkspace::finishRecognition(const std::optional<QString> &text, const QString &failure,
                                         const Identity &started)
{
    if (!text) {
        report(failure);
    } else if (boardID() == started.board && contentSignature() == started.signature) {
        setRecognizedText(text);
        setNotice(text->isEmpty() ? tr(Notice::noTextFound) : tr(Notice::textRecognized));
    }
    setRecognizing(false);
}

void CaptureWorkspace::findTextRegions()
{
    if (!m_document || m_detectingText)
        return;
    m_document->commitPendingText();
    const std::optional<QImage> image = rendered([this] { return m_document->contentImage(); });
    if (!image)
        return;
    // Where the content image starts in the source: the crop's corner, or
    // further up or left when a lens reaches past the crop.
    const QPointF origin = CaptureRenderer::contentExtent(m_document->cropRect(), m_document->annotations()).topLeft();
    const std::weak_ptr<CaptureDocument> document = m_document;
    const quint64 revision = m_document->revision();
    setDetectingText(true);
    runInBackground(&m_backgroundPool, this, m_recognition.regions, *image,
                    [this, document, revision, origin](const Outcome<QList<CaptureOCRRegion>> &outcome) {
                        finishDetection(outcome.value, outcome.failure, document, revision, origin);
                    });
}

void CaptureWorkspace::finishDetection(const std::optional<QList<CaptureOCRRegion>> &regions, const QString &failure,
                                       const std::weak_ptr<CaptureDocument> &document, quint64 revision, QPointF origin)
{
    if (!regions) {
        report(failure);
    } else if (m_document && document.lock() == m_document && m_document->revision() == revision) {
        QList<QRectF> rects;
        rects.reserve(regions->size());
        for (const CaptureOCRRegion &region : *regions)
            rects.append(region.rect.translated(origin));
        m_document->setDetectedTextRects(rects);
        setNotice(rects.isEmpty() ? tr(Notice::noWordsDetected) : tr(Notice::wordsDetected));
    }
    setDetectingText(false);
}

void CaptureWorkspace::clearHistory()
{
    if (m_panels.runAlert(clearHistoryAlert()) != 0)
        return;
    try {
        m_history.clear();
    } catch (const std::exception &error) {
        report(CaptureErrorText::of(error));
        return;
    }
    m_historyIdentifier.clear();
    refreshRecent();
}

QStringList CaptureWorkspace::contentSignature()
{
    if (!m_board)
        return {};
    m_board->synchronizeDocuments();
    QStringList signature;
    for (const CaptureBoardItem &item : m_board->items()) {
        const QRectF &frame = item.frame;
        signature.append(QStringLiteral("%1:%2:(%3, %4, %5, %6)")
                             .arg(item.id.toString(QUuid::WithoutBraces).toUpper())
                             .arg(item.document->revision())
                             .arg(number(frame.x()), number(frame.y()), number(frame.width()), number(frame.height())));
    }
    return signature;
}

QUuid CaptureWorkspace::boardID() const
{
    return m_board ? m_board->id() : QUuid();
}

CaptureWorkspace::Identity CaptureWorkspace::identity()
{
    return {m_document, boardID(), contentSignature()};
}

// The same document on the same board, with the same content.
bool CaptureWorkspace::isUnchanged(const Identity &identity)
{
    return identity.document.lock() == m_document && identity.board == boardID() &&
           identity.signature == contentSignature();
}

bool CaptureWorkspace::canStillClose(const Identity &identity)
{
    return canCloseCapture() && isUnchanged(identity);
}

void CaptureWorkspace::report(const QString &failure)
{
    setNotice(failure);
    callShow();
}

void CaptureWorkspace::callShow() const
{
    if (m_show)
        m_show();
}
