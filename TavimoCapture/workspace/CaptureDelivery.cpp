#include "CaptureDelivery.h"

#include "CaptureAutoSave.h"
#include "CaptureClipboard.h"
#include "CaptureErrorText.h"
#include "CaptureFailure.h"
#include "CaptureFileWriter.h"
#include "CaptureSaveFolderFailure.h"

#include <QtConcurrent>

#include <algorithm>
#include <exception>

namespace {

using Source = CaptureDelivery::Source;
using Step = CaptureDelivery::Step;
using Outcome = CaptureDelivery::Outcome;

namespace Text {
// Translated where shown.
constexpr const char *clipboard = QT_TRANSLATE_NOOP("CaptureDelivery", "Clipboard: ");
constexpr const char *autoSave = QT_TRANSLATE_NOOP("CaptureDelivery", "Automatic save failed: ");
constexpr const char *captureHistory = QT_TRANSLATE_NOOP("CaptureDelivery", "Recent history could not be updated: ");
constexpr const char *editorHistory =
    QT_TRANSLATE_NOOP("CaptureDelivery", "Image exported, but recent history could not be updated: ");
constexpr const char *saved = QT_TRANSLATE_NOOP("CaptureDelivery", "Saved");
constexpr const char *copied = QT_TRANSLATE_NOOP("CaptureDelivery", "Copied");
constexpr const char *nothing = QT_TRANSLATE_NOOP("CaptureDelivery", "Capture");
} // namespace Text

QString translated(const char *text)
{
    return QCoreApplication::translate("CaptureDelivery", text);
}

// After a capture a failure is named by its step; in the editor it speaks
// for itself, except that the export it follows stands.
QString warning(Source source, const CaptureDelivery::Failure &failure)
{
    const bool capture = source == Source::capture;
    switch (failure.step) {
    case Step::copy:
        return capture ? translated(Text::clipboard) + failure.reason : failure.reason;
    case Step::save:
        return capture ? translated(Text::autoSave) + failure.reason : failure.reason;
    case Step::record:
        return translated(capture ? Text::captureHistory : Text::editorHistory) + failure.reason;
    }
    return failure.reason;
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

bool writesFile(const CaptureDelivery::Order &order)
{
    return order.autoSave || !order.exportPath.isEmpty();
}

bool needsPng(const CaptureDelivery::Order &order)
{
    return order.copy || writesFile(order) || (order.record && order.source == Source::editor);
}

// In the editor the first failure ends the export.
bool stopped(const Outcome &outcome)
{
    return outcome.source == Source::editor && !outcome.failures.isEmpty();
}

// Runs `work` for `step`, or records why it could not run.
template <typename Work> void attempt(Outcome &outcome, Step step, Work work)
{
    if (!outcome.encodingFailure.isEmpty()) {
        outcome.failures.append({step, outcome.encodingFailure});
        return;
    }
    try {
        work();
    } catch (const std::exception &error) {
        outcome.failures.append({step, CaptureErrorText::of(error)});
    }
}

} // namespace

bool CaptureDelivery::Outcome::delivered() const
{
    return std::all_of(failures.cbegin(), failures.cend(),
                       [](const Failure &failure) { return failure.step == Step::record; });
}

QStringList CaptureDelivery::Outcome::warnings() const
{
    QStringList lines;
    for (const Failure &failure : failures)
        lines.append(warning(source, failure));
    return lines;
}

QString CaptureDelivery::Outcome::caption() const
{
    QStringList parts;
    if (!savedPath.isEmpty())
        parts.append(translated(Text::saved));
    if (copied)
        parts.append(translated(Text::copied));
    return parts.isEmpty() ? translated(Text::nothing) : parts.join(QStringLiteral(" · "));
}

CaptureDelivery::CaptureDelivery(CaptureClipboard &clipboard, Encoder encode, QObject *parent)
    : QObject(parent), m_clipboard(clipboard), m_encode(std::move(encode))
{
}

CaptureDelivery::Outcome CaptureDelivery::deliver(Order order) const
{
    Progress progress{std::move(order), {}};
    encodeImage(m_encode, progress);
    copy(progress);
    store(progress);
    return progress.outcome;
}

QFuture<CaptureDelivery::Outcome> CaptureDelivery::deliverInBackground(Order order)
{
    return QtConcurrent::run([encoder = m_encode, order = std::move(order)]() mutable {
               Progress progress{std::move(order), {}};
               encodeImage(encoder, progress);
               return progress;
           })
        .then(this,
              [this](Progress progress) {
                  // The clipboard belongs to the GUI thread; the disk waits on a worker.
                  copy(progress);
                  return QtConcurrent::run([progress]() mutable {
                      store(progress);
                      return progress.outcome;
                  });
              })
        .unwrap();
}

void CaptureDelivery::encodeImage(const Encoder &encoder, Progress &progress)
{
    Outcome &outcome = progress.outcome;
    outcome.source = progress.order.source;
    outcome.png = progress.order.png;
    if (!outcome.png.isEmpty() || !needsPng(progress.order))
        return;
    try {
        outcome.png = encoder(progress.order.image);
    } catch (const std::exception &error) {
        outcome.encodingFailure = CaptureErrorText::of(error);
    }
}

void CaptureDelivery::copy(Progress &progress) const
{
    Outcome &outcome = progress.outcome;
    if (!progress.order.copy || stopped(outcome))
        return;
    attempt(outcome, Step::copy, [&] {
        if (!m_clipboard.setPng(outcome.png))
            throw CaptureError(CaptureFailure::write);
        outcome.copied = true;
    });
}

void CaptureDelivery::store(Progress &progress)
{
    writeFile(progress);
    record(progress);
}

void CaptureDelivery::writeFile(Progress &progress)
{
    const Order &order = progress.order;
    Outcome &outcome = progress.outcome;
    if (!writesFile(order) || stopped(outcome))
        return;
    attempt(outcome, Step::save, [&] {
        if (order.autoSave) {
            outcome.savedPath = CaptureAutoSave::save(outcome.png, expandedSaveFolder(order.autoSave->folder),
                                                      sourceWord(order.autoSave->mode), order.autoSave->date);
        } else {
            CaptureFileWriter::exportFile(order.exportPath, outcome.png);
            outcome.savedPath = order.exportPath;
        }
    });
}

// Re-exporting a capture updates its one entry.
void CaptureDelivery::record(Progress &progress)
{
    const Order &order = progress.order;
    Outcome &outcome = progress.outcome;
    if (!order.record || stopped(outcome))
        return;
    if (order.source == Source::capture && !outcome.copied && outcome.savedPath.isEmpty())
        return;
    attempt(outcome, Step::record, [&] {
        const QString linked = outcome.savedPath.isEmpty() ? order.record->exportPath : outcome.savedPath;
        outcome.historyID = order.record->history.savePng(outcome.png, order.record->replacing, linked);
    });
}
