#include "CaptureSession.h"

#include "CaptureAutoSave.h"
#include "CaptureBoard.h"
#include "CaptureClipboard.h"
#include "CaptureDecorationDefaults.h"
#include "CaptureDisplayAssembly.h"
#include "CaptureDocument.h"
#include "CaptureErrorText.h"
#include "CaptureFailure.h"
#include "CaptureHistory.h"
#include "CaptureOCR.h"
#include "CapturePreferences.h"
#include "CaptureSaveFolderFailure.h"
#include "CaptureService.h"
#include "CaptureSessionHost.h"
#include "CaptureThumbnail.h"
#include "CaptureWorkspace.h"

#include <QDateTime>
#include <QTimer>
#include <QtConcurrent>

namespace {

const QString modifiersHeld = QStringLiteral("Release modifier keys and try again");
const QString noText = QStringLiteral("No text found — clipboard unchanged");
const QString textCopiedToast = QStringLiteral("Text copied to clipboard");
const QString textCopiedNotice = QStringLiteral("Recognized text copied");
const QString clipboardWarning = QStringLiteral("Clipboard: ");
const QString saveWarning = QStringLiteral("Automatic save failed: ");
const QString historyWarning = QStringLiteral("Recent history could not be updated: ");
const QString shortcutWarning = QStringLiteral("Thumbnail shortcut unavailable; click the thumbnail to edit.");

TavimoEvent eventFor(CaptureMode mode)
{
    switch (mode) {
    case CaptureMode::area:
        return TavimoEvent::captureArea;
    case CaptureMode::ocr:
        return TavimoEvent::captureOCR;
    case CaptureMode::screen:
    case CaptureMode::allDisplays:
        break;
    }
    return TavimoEvent::captureScreen;
}

// The first word of an automatically saved file's name.
QString sourceWord(CaptureMode mode)
{
    switch (mode) {
    case CaptureMode::screen:
        return QStringLiteral("Screen");
    case CaptureMode::allDisplays:
        return QStringLiteral("Displays");
    case CaptureMode::area:
    case CaptureMode::ocr:
        break;
    }
    return QStringLiteral("Area");
}

} // namespace

CaptureSession::Environment CaptureSession::systemEnvironment()
{
    return {CaptureService::isApplicationActive, CaptureService::modifiers, CaptureOCR::recognize, CaptureHistory::png};
}

CaptureSession::CaptureSession(Collaborators collaborators, Environment environment, QObject *parent)
    : QObject(parent), m_model(collaborators.model), m_service(collaborators.service),
      m_preferences(collaborators.preferences), m_thumbnail(collaborators.thumbnail),
      m_clipboard(collaborators.clipboard), m_host(collaborators.host), m_defaults(collaborators.defaults),
      m_track(std::move(collaborators.track)), m_environment(std::move(environment))
{
}

void CaptureSession::startCapture(bool appending, CaptureMode mode)
{
    if (m_track)
        m_track(eventFor(mode));
    if (m_model.busy())
        return;
    CaptureBoard *target = appending ? m_model.board() : nullptr;
    m_run = Run{mode, target != nullptr, target, nullptr};
    m_host.rememberActiveWindow();
    m_thumbnail.dismiss();
    m_model.setBusy(true);
    if (m_model.document())
        m_model.document()->commitPendingText();
    m_host.hideWindows();
    if (isInteractive(mode))
        m_host.activateApp();
    QTimer::singleShot(0, this, &CaptureSession::waitForFocus);
}

template <typename T> void CaptureSession::await(QFuture<T> future, std::function<void(QFuture<T>)> next)
{
    future.then(this, [this, next](QFuture<T> done) {
        try {
            next(done);
        } catch (const std::exception &error) {
            fail(CaptureErrorText::of(error));
        }
    });
}

void CaptureSession::waitForFocus()
{
    if (!isInteractive(m_run->mode)) {
        waitForModifiers();
        return;
    }
    await<void>(m_service.waitForKeyboardFocus(m_environment.applicationActive), [this](QFuture<void> done) {
        done.waitForFinished();
        waitForModifiers();
    });
}

void CaptureSession::waitForModifiers()
{
    using Release = CaptureService::ModifierRelease;
    await<Release>(m_service.waitForModifierRelease(m_environment.heldModifiers, m_run->mode),
                   [this](QFuture<Release> done) {
                       if (done.result() == Release::released) {
                           capture();
                           return;
                       }
                       m_host.restoreWindows();
                       m_host.reactivatePrevious();
                       m_host.showToast(modifiersHeld);
                       end();
                   });
}

void CaptureSession::capture()
{
    if (m_run->mode == CaptureMode::allDisplays) {
        using Displays = QList<CaptureDisplayImage>;
        await<Displays>(m_service.captureAllDisplays(), [this](QFuture<Displays> done) {
            const Displays displays = done.result();
            QList<QImage> images;
            for (const CaptureDisplayImage &display : displays)
                images.append(display.image);
            captured(images, CaptureDisplayAssembly::boardSizes(displays));
        });
        return;
    }
    using Image = std::optional<QImage>;
    await<Image>(m_service.capture(m_run->mode), [this](QFuture<Image> done) {
        const Image image = done.result();
        captured(image ? QList<QImage>{*image} : QList<QImage>(), {});
    });
}

void CaptureSession::captured(QList<QImage> images, QList<QSizeF> sizes)
{
    if (images.isEmpty())
        cancelled();
    else if (m_run->mode == CaptureMode::ocr)
        recognizeText(images.first());
    else if (m_run->appending)
        append(images, sizes);
    else
        createBoard(images, sizes);
}

void CaptureSession::recognizeText(const QImage &image)
{
    m_host.restoreWindows();
    if (image.isNull())
        throw CaptureError(CaptureFailure::invalidImage);
    await<QString>(QtConcurrent::run(m_environment.recognize, image),
                   [this](QFuture<QString> done) { copyText(done.result()); });
}

void CaptureSession::copyText(const QString &recognized)
{
    const std::optional<QString> text = CaptureOCR::clipboardText(recognized);
    if (!text) {
        m_host.showToast(noText);
    } else {
        if (!m_clipboard.setText(*text))
            throw CaptureError(CaptureFailure::write);
        m_model.setNotice(textCopiedNotice);
        m_host.showToast(textCopiedToast);
    }
    m_host.reactivatePrevious();
    m_host.restorePins();
    end();
}

void CaptureSession::append(const QList<QImage> &images, const QList<QSizeF> &sizes)
{
    CaptureBoard *target = m_run->target;
    if (!target || m_model.board() != target)
        throw CaptureError(CaptureFailure::failed);
    target->addImages(images, sizes.isEmpty() ? std::nullopt : std::optional(sizes));
    m_host.restoreWindows();
    m_model.setShowingBoard(true);
    if (m_model.show())
        m_model.show()();
    m_host.restorePins();
    end();
}

void CaptureSession::createBoard(const QList<QImage> &images, const QList<QSizeF> &sizes)
{
    m_host.reactivatePrevious();
    auto document = std::make_shared<CaptureDocument>(images.first(), &m_defaults);
    document->setComposition(CaptureDecorationDefaults::load(m_defaults));
    auto board = std::make_unique<CaptureBoard>(document);
    if (!sizes.isEmpty()) {
        board->updateFrame(board->selectedID(), QRectF(QPointF(0, 0), sizes.first()));
        if (images.size() > 1) {
            board->addImages(images.mid(1), sizes.mid(1));
            board->applyLayout(CaptureBoardLayout::row);
        }
    }
    handleCapture(std::move(board), m_run->mode);
}

void CaptureSession::handleCapture(std::unique_ptr<CaptureBoard> board, CaptureMode mode)
{
    Delivery delivery;
    delivery.image = board->flattenedImage();
    m_run->board = std::make_shared<std::unique_ptr<CaptureBoard>>(std::move(board));
    delivery.mode = mode;
    if (!m_preferences.autoCopy() && !m_preferences.autoSave()) {
        present(delivery);
        return;
    }
    // Encoding a large capture takes long: the GUI thread stays free meanwhile.
    const auto encode = [encode = m_environment.encode, delivery]() mutable {
        try {
            delivery.png = encode(delivery.image);
        } catch (const std::exception &error) {
            delivery.encodingError = CaptureErrorText::of(error);
        }
        return delivery;
    };
    await<Delivery>(QtConcurrent::run(encode), [this](QFuture<Delivery> done) { copyAndStore(done.result()); });
}

// The clipboard on the GUI thread, then the automatic save and the history
// entry on a worker: both files are flushed to the disk before they count.
void CaptureSession::copyAndStore(Delivery delivery)
{
    const bool encoded = delivery.encodingError.isEmpty();
    if (m_preferences.autoCopy() && !encoded) {
        delivery.warnings.append(clipboardWarning + delivery.encodingError);
    } else if (m_preferences.autoCopy()) {
        try {
            if (!m_clipboard.setPng(delivery.png))
                throw CaptureError(CaptureFailure::write);
            delivery.copied = true;
        } catch (const std::exception &error) {
            delivery.warnings.append(clipboardWarning + CaptureErrorText::of(error));
        }
    }
    QString folder;
    if (m_preferences.autoSave() && !encoded) {
        delivery.warnings.append(saveWarning + delivery.encodingError);
    } else if (m_preferences.autoSave()) {
        try {
            folder = expandedSaveFolder(m_preferences.folder());
        } catch (const std::exception &error) {
            delivery.warnings.append(saveWarning + CaptureErrorText::of(error));
        }
    }
    const bool recording = m_model.keepHistory();
    const auto store = [delivery, folder, recording, history = m_model.history(),
                        date = QDateTime::currentDateTime()]() mutable {
        if (!folder.isEmpty()) {
            try {
                delivery.savedPath = CaptureAutoSave::save(delivery.png, folder, sourceWord(delivery.mode), date);
            } catch (const std::exception &error) {
                delivery.warnings.append(saveWarning + CaptureErrorText::of(error));
            }
        }
        if (recording && (delivery.copied || !delivery.savedPath.isEmpty())) {
            try {
                delivery.historyID = history.savePng(delivery.png, QString(), delivery.savedPath);
            } catch (const std::exception &error) {
                delivery.warnings.append(historyWarning + CaptureErrorText::of(error));
            }
        }
        return delivery;
    };
    await<Delivery>(QtConcurrent::run(store), [this](QFuture<Delivery> done) {
        const Delivery stored = done.result();
        if (!stored.historyID.isEmpty())
            m_model.refreshRecent();
        present(stored);
    });
}

void CaptureSession::present(const Delivery &delivery)
{
    const auto held = m_run->board;
    const QString historyID = delivery.historyID;
    const QString savedPath = delivery.savedPath;
    const bool copied = delivery.copied;
    QStringList warnings = delivery.warnings;
    const QPointer<CaptureSession> self(this);
    const std::function<void()> open = [self, held, historyID, savedPath] {
        if (self && *held)
            self->m_model.acceptBoard(std::move(*held), historyID, savedPath);
    };

    const CaptureEditorPolicy policy = m_preferences.editorPolicy();
    const bool saveProducedNothing = m_preferences.autoSave() && savedPath.isEmpty();
    const bool onlyFailures = !warnings.isEmpty() && !copied && savedPath.isEmpty();
    if (policy == CaptureEditorPolicy::always || saveProducedNothing || onlyFailures) {
        open();
        m_model.setNotice(warnings.join(QLatin1Char('\n')));
    } else {
        if (m_preferences.showThumbnail()) {
            const bool never = policy == CaptureEditorPolicy::never;
            const CaptureThumbnailShortcut shortcut =
                never ? CaptureThumbnailShortcut::off : m_preferences.thumbnailShortcut();
            if (!m_thumbnail.show(delivery.image, m_preferences.thumbnailSeconds(), shortcut,
                                  caption(!savedPath.isEmpty(), copied), never ? std::function<void()>() : open))
                warnings.append(shortcutWarning);
        }
        if (!warnings.isEmpty())
            m_host.showToast(warnings.join(QLatin1Char('\n')));
    }
    m_host.restorePins();
    end();
}

QString CaptureSession::caption(bool saved, bool copied)
{
    QStringList parts;
    if (saved)
        parts.append(QStringLiteral("Saved"));
    if (copied)
        parts.append(QStringLiteral("Copied"));
    return parts.isEmpty() ? QStringLiteral("Capture") : parts.join(QStringLiteral(" · "));
}

void CaptureSession::cancelled()
{
    m_host.restoreWindows();
    m_host.reactivatePrevious();
    m_host.restorePins();
    end();
}

void CaptureSession::fail(const QString &reason)
{
    m_host.restoreWindows();
    m_host.reactivatePrevious();
    m_model.setNotice(reason);
    if (m_model.show())
        m_model.show()();
    m_host.restorePins();
    end();
}

void CaptureSession::end()
{
    m_run.reset();
    m_model.setBusy(false);
    emit finished();
}
