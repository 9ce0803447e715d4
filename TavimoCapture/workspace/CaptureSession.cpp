#include "CaptureSession.h"

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
#include "CaptureService.h"
#include "CaptureSessionHost.h"
#include "CaptureThumbnail.h"
#include "CaptureWorkspace.h"

#include <QDateTime>
#include <QTimer>
#include <QtConcurrent>

namespace {

namespace Text {
// Translated where shown.
constexpr const char *modifiersHeld = QT_TRANSLATE_NOOP("CaptureSession", "Release modifier keys and try again");
constexpr const char *noText = QT_TRANSLATE_NOOP("CaptureSession", "No text found — clipboard unchanged");
constexpr const char *textCopiedToast = QT_TRANSLATE_NOOP("CaptureSession", "Text copied to clipboard");
constexpr const char *textCopiedNotice = QT_TRANSLATE_NOOP("CaptureSession", "Recognized text copied");
constexpr const char *shortcutUnavailable =
    QT_TRANSLATE_NOOP("CaptureSession", "Thumbnail shortcut unavailable; click the thumbnail to edit.");
} // namespace Text

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

} // namespace

CaptureSession::Environment CaptureSession::systemEnvironment()
{
    return {CaptureService::isApplicationActive, CaptureService::modifiers, CaptureOCR::recognize, CaptureHistory::png};
}

CaptureSession::CaptureSession(Collaborators collaborators, Environment environment, QObject *parent)
    : QObject(parent), m_model(collaborators.model), m_service(collaborators.service),
      m_preferences(collaborators.preferences), m_thumbnail(collaborators.thumbnail),
      m_clipboard(collaborators.clipboard), m_host(collaborators.host), m_defaults(collaborators.defaults),
      m_track(std::move(collaborators.track)), m_environment(std::move(environment)),
      m_delivery(m_clipboard, m_environment.encode)
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
                       m_host.showToast(tr(Text::modifiersHeld));
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
        m_host.showToast(tr(Text::noText));
    } else {
        if (!m_clipboard.setText(*text))
            throw CaptureError(CaptureFailure::write);
        m_model.setNotice(tr(Text::textCopiedNotice));
        m_host.showToast(tr(Text::textCopiedToast));
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
    CaptureDelivery::Order order;
    order.source = CaptureDelivery::Source::capture;
    order.image = board->flattenedImage();
    m_run->board = std::make_shared<std::unique_ptr<CaptureBoard>>(std::move(board));
    order.copy = m_preferences.autoCopy();
    if (m_preferences.autoSave())
        order.autoSave = CaptureDelivery::AutoSave{m_preferences.folder(), mode, QDateTime::currentDateTime()};
    if (m_model.keepHistory())
        order.record = CaptureDelivery::Record{m_model.history(), QString(), QString()};
    const QImage image = order.image;
    using Outcome = CaptureDelivery::Outcome;
    await<Outcome>(m_delivery.deliverInBackground(std::move(order)),
                   [this, image](QFuture<Outcome> done) { present(image, done.result()); });
}

void CaptureSession::present(const QImage &image, const CaptureDelivery::Outcome &delivered)
{
    if (!delivered.historyID.isEmpty())
        m_model.refreshRecent();
    const auto held = m_run->board;
    const QString historyID = delivered.historyID;
    const QString savedPath = delivered.savedPath;
    QStringList warnings = delivered.warnings();
    const QPointer<CaptureSession> self(this);
    const std::function<void()> open = [self, held, historyID, savedPath] {
        if (self && *held)
            self->m_model.acceptBoard(std::move(*held), historyID, savedPath);
    };

    const CaptureEditorPolicy policy = m_preferences.editorPolicy();
    const bool saveProducedNothing = m_preferences.autoSave() && savedPath.isEmpty();
    const bool onlyFailures = !warnings.isEmpty() && !delivered.copied && savedPath.isEmpty();
    if (policy == CaptureEditorPolicy::always || saveProducedNothing || onlyFailures) {
        open();
        m_model.setNotice(warnings.join(QLatin1Char('\n')));
    } else {
        if (m_preferences.showThumbnail()) {
            const bool never = policy == CaptureEditorPolicy::never;
            const CaptureThumbnailShortcut shortcut =
                never ? CaptureThumbnailShortcut::off : m_preferences.thumbnailShortcut();
            if (!m_thumbnail.show(image, m_preferences.thumbnailSeconds(), shortcut, delivered.caption(),
                                  never ? std::function<void()>() : open))
                warnings.append(tr(Text::shortcutUnavailable));
        }
        if (!warnings.isEmpty())
            m_host.showToast(warnings.join(QLatin1Char('\n')));
    }
    m_host.restorePins();
    end();
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
