#include "CaptureBoard.h"

#include "CaptureRenderer.h"
#include "ChangeNotification.h"
#include "PixelLimit.h"

#include <QPainter>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>

namespace {

QRectF contentExtent(const CaptureDocument &document)
{
    return CaptureRenderer::contentExtent(document.cropRect(), document.annotations());
}

bool isFinite(const QRectF &rect)
{
    return std::isfinite(rect.x()) && std::isfinite(rect.y()) && std::isfinite(rect.width()) &&
           std::isfinite(rect.height());
}

bool isValidSize(const QSizeF &size)
{
    return withinPixelLimit(size);
}

QRectF unionOf(const QList<CaptureBoardItem> &items)
{
    QRectF area;
    for (const CaptureBoardItem &item : items)
        area = area.isNull() ? item.frame : area.united(item.frame);
    return area;
}

// The area's whole pixels: the canvas its items are drawn on.
QRectF wholePixels(const QRectF &area)
{
    const double left = std::floor(area.left());
    const double top = std::floor(area.top());
    return QRectF(left, top, std::ceil(area.right()) - left, std::ceil(area.bottom()) - top);
}

QList<CaptureLegendEntry> legendOf(const QList<CaptureBoardItem> &items)
{
    QList<CaptureLegendEntry> legend;
    for (const CaptureBoardItem &item : items) {
        if (item.document->legendEnabled())
            legend.append(item.document->legendEntries());
    }
    return legend;
}

bool sameFrames(const QList<CaptureBoardItem> &a, const QList<CaptureBoardItem> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                      [](const CaptureBoardItem &x, const CaptureBoardItem &y) { return x.frame == y.frame; });
}

// Frames keep their on-board scale and their content stays anchored when a
// document's content extent changes from `before` to `after`.
QRectF rescaled(const QRectF &frame, const QRectF &before, const QRectF &after)
{
    const double sx = before.width() > 0 ? frame.width() / before.width() : 1;
    const double sy = before.height() > 0 ? frame.height() / before.height() : 1;
    return QRectF(frame.x() + sx * (after.x() - before.x()), frame.y() + sy * (after.y() - before.y()),
                  sx * after.width(), sy * after.height());
}

qint64 pixelArea(QSize size)
{
    return qint64(size.width()) * size.height();
}

void throwRenderError(CaptureRenderError error)
{
    throw CaptureRenderFailure(error);
}

} // namespace

CaptureBoard::CaptureBoard(std::shared_ptr<CaptureDocument> document, QObject *parent)
    : QObject(parent), m_lastPadding(document->composition().padding)
{
    const QRectF extent = contentExtent(*document);
    m_items.append({QUuid::createUuid(), std::move(document), QRectF(QPointF(0, 0), extent.size())});
    m_selectedID = m_items.first().id;
    observeDocuments();
}

std::shared_ptr<CaptureDocument> CaptureBoard::activeDocument() const
{
    const qsizetype index = indexOf(m_selectedID);
    return m_items.at(std::max<qsizetype>(index, 0)).document;
}

CaptureComposition CaptureBoard::composition() const
{
    return m_items.first().document->composition();
}

QRectF CaptureBoard::bounds() const
{
    return unionOf(m_items);
}

void CaptureBoard::setItems(QList<CaptureBoardItem> items)
{
    m_items = std::move(items);
    notifyChange(*this, &CaptureBoard::itemsChanged);
}

void CaptureBoard::setSelectedID(const QUuid &id)
{
    assignAndNotify(*this, m_selectedID, id, &CaptureBoard::selectedIDChanged);
}

void CaptureBoard::setLayout(CaptureBoardLayout layout)
{
    assignAndNotify(*this, m_layout, layout, &CaptureBoard::layoutChanged);
}

void CaptureBoard::bumpRevision()
{
    ++m_revision;
    notifyChange(*this, &CaptureBoard::revisionChanged);
}

// Text being typed becomes a mark, then the documents are brought in line.
void CaptureBoard::prepare()
{
    for (const CaptureBoardItem &item : std::as_const(m_items))
        item.document->commitPendingText();
    synchronizeDocuments();
}

void CaptureBoard::validate(const QList<CaptureBoardItem> &items) const
{
    for (const CaptureBoardItem &item : items) {
        if (!isFinite(item.frame) || item.frame.width() < 1 || item.frame.height() < 1)
            throwRenderError(CaptureRenderError::invalidImage);
    }
    // Measured as the export measures it, so an accepted board always exports.
    const QSizeF size = wholePixels(unionOf(items)).size();
    const QSizeF canvas =
        CaptureRenderer::baseLayout(QRectF(QPointF(0, 0), size), composition(), legendOf(items)).canvasSize;
    if (!withinPixelLimit(size) || !withinPixelLimit(QSizeF(std::ceil(canvas.width()), std::ceil(canvas.height()))))
        throwRenderError(CaptureRenderError::imageTooLarge);
}

void CaptureBoard::checkpoint()
{
    m_history.append(State{m_items, m_selectedID, m_layout});
    if (m_history.size() > historyLimit)
        m_history.removeFirst();
    if (m_history.size() == 1)
        notifyChange(*this, &CaptureBoard::canUndoChanged);
    if (!m_redo.isEmpty()) {
        m_redo.clear();
        notifyChange(*this, &CaptureBoard::canRedoChanged);
    }
}

void CaptureBoard::observeDocuments()
{
    for (const QMetaObject::Connection &subscription : std::as_const(m_subscriptions))
        disconnect(subscription);
    m_subscriptions.clear();
    m_knownCompositions.clear();
    m_knownExtents.clear();
    m_pendingDocumentIDs.clear();
    for (const CaptureBoardItem &item : std::as_const(m_items)) {
        m_knownCompositions.insert(item.id, item.document->composition());
        m_knownExtents.insert(item.id, contentExtent(*item.document));
        m_subscriptions.append(connect(item.document.get(), &CaptureDocument::changed, this,
                                       [this, id = item.id] { documentDidChange(id); }));
    }
}

// Answered after the announced change is applied, never from inside it.
void CaptureBoard::documentDidChange(const QUuid &itemID)
{
    if (m_observing)
        return;
    m_pendingDocumentIDs.removeAll(itemID);
    m_pendingDocumentIDs.append(itemID);
    if (m_synchronizationScheduled)
        return;
    m_synchronizationScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_synchronizationScheduled = false;
            synchronizeDocuments();
        },
        Qt::QueuedConnection);
}

void CaptureBoard::synchronizeDocuments()
{
    if (m_observing)
        return;
    const QScopedValueRollback observing(m_observing, true);
    const bool anythingPending = !m_pendingDocumentIDs.isEmpty();

    qint64 nextNumber = 1;
    for (const CaptureBoardItem &item : std::as_const(m_items))
        nextNumber = item.document->renumberMarkers(nextNumber);

    if (const auto source = changedComposition())
        shareComposition(*source);

    QList<CaptureBoardItem> items = m_items;
    const bool extentsChanged = followContentExtents(items);
    const double padding = composition().padding;
    const bool paddingChanged = padding != m_lastPadding;
    m_lastPadding = padding;
    if (extentsChanged || paddingChanged)
        setItems(m_layout == CaptureBoardLayout::manual ? items : placed(items, m_layout, padding));

    m_pendingDocumentIDs.clear();
    if (anythingPending || extentsChanged || paddingChanged)
        bumpRevision();
}

bool CaptureBoard::compositionDiffers(const CaptureBoardItem &item) const
{
    const auto known = m_knownCompositions.constFind(item.id);
    return known == m_knownCompositions.cend() || *known != item.document->composition();
}

// The composition changed most recently: the latest announcing document
// first, then any other image that differs from what was last shared.
std::optional<CaptureComposition> CaptureBoard::changedComposition() const
{
    for (auto id = m_pendingDocumentIDs.crbegin(); id != m_pendingDocumentIDs.crend(); ++id) {
        const qsizetype index = indexOf(*id);
        if (index >= 0 && compositionDiffers(m_items.at(index)))
            return m_items.at(index).document->composition();
    }
    for (const CaptureBoardItem &item : m_items) {
        if (compositionDiffers(item))
            return item.document->composition();
    }
    return std::nullopt;
}

// Each document records the composition it had as an undo step of its own.
void CaptureBoard::shareComposition(const CaptureComposition &composition)
{
    for (const CaptureBoardItem &item : std::as_const(m_items)) {
        if (item.document->composition() != composition)
            item.document->setComposition(composition);
        m_knownCompositions.insert(item.id, composition);
    }
}

bool CaptureBoard::followContentExtents(QList<CaptureBoardItem> &items)
{
    bool changed = false;
    for (CaptureBoardItem &item : items) {
        const auto known = m_knownExtents.constFind(item.id);
        if (known == m_knownExtents.cend())
            continue;
        const QRectF extent = contentExtent(*item.document);
        if (extent == *known)
            continue;
        item.frame = rescaled(item.frame, *known, extent);
        m_knownExtents.insert(item.id, extent);
        changed = true;
    }
    return changed;
}

QList<CaptureBoardItem> CaptureBoard::placed(QList<CaptureBoardItem> items, CaptureBoardLayout layout, double gap)
{
    if (layout == CaptureBoardLayout::manual || items.isEmpty())
        return items;
    gap = std::isfinite(gap) ? std::clamp(gap, 0.0, maximumGap) : 0;
    const qsizetype columns = std::max<qsizetype>(1, qsizetype(std::ceil(std::sqrt(double(items.size())))));
    QSizeF cell;
    for (const CaptureBoardItem &item : std::as_const(items))
        cell = cell.expandedTo(item.frame.size());

    QRectF area;
    for (qsizetype index = 0; index < items.size(); ++index) {
        QRectF &frame = items[index].frame;
        const QPointF right(area.right() + gap, 0);
        const QPointF below(0, area.bottom() + gap);
        switch (index == 0 ? CaptureBoardLayout::manual : layout) {
        case CaptureBoardLayout::row:
            frame.moveTopLeft(right);
            break;
        case CaptureBoardLayout::column:
            frame.moveTopLeft(below);
            break;
        case CaptureBoardLayout::alternating:
            frame.moveTopLeft(index % 2 == 1 ? right : below);
            break;
        case CaptureBoardLayout::grid:
            frame.moveTopLeft(QPointF(double(index % columns) * (cell.width() + gap),
                                      double(index / columns) * (cell.height() + gap)));
            break;
        case CaptureBoardLayout::manual:
            frame.moveTopLeft(QPointF(0, 0));
            break;
        }
        area = index == 0 ? frame : area.united(frame);
    }
    return items;
}

void CaptureBoard::addImages(const QList<QImage> &images, const std::optional<QList<QSizeF>> &sizes)
{
    if (images.isEmpty())
        return;
    prepare();
    if (sizes && (sizes->size() != images.size() || !std::all_of(sizes->cbegin(), sizes->cend(), isValidSize)))
        throwRenderError(CaptureRenderError::invalidImage);
    qint64 totalArea = 0;
    for (const CaptureBoardItem &item : std::as_const(m_items))
        totalArea += pixelArea(item.document->originalPixelSize());
    for (const QImage &image : images)
        totalArea += pixelArea(image.size());
    if (totalArea > maximumPixelCount)
        throwRenderError(CaptureRenderError::imageTooLarge);

    QList<CaptureBoardItem> items = m_items;
    const qsizetype firstNew = items.size();
    for (qsizetype index = 0; index < images.size(); ++index) {
        auto document = std::make_shared<CaptureDocument>(images.at(index), activeDocument()->annotationDefaults());
        document->setComposition(composition());
        const QSizeF size = sizes ? sizes->at(index) : contentExtent(*document).size();
        items.append({QUuid::createUuid(), std::move(document), QRectF(QPointF(0, 0), size)});
    }
    if (m_layout == CaptureBoardLayout::manual)
        positionAppended(items, firstNew);
    else
        items = placed(items, m_layout, composition().padding);

    validate(items);
    checkpoint();
    setItems(items);
    setSelectedID(m_items.last().id);
    bumpRevision();
    observeDocuments();
}

// New items go alternately below and to the right of everything placed so far.
void CaptureBoard::positionAppended(QList<CaptureBoardItem> &items, qsizetype firstNew) const
{
    const double padding = composition().padding;
    const double gap = std::isfinite(padding) ? std::max(padding, 0.0) : 0;
    QRectF area = bounds();
    for (qsizetype index = firstNew; index < items.size(); ++index) {
        QRectF &frame = items[index].frame;
        if (index % 2 == 0)
            frame.moveTopLeft(QPointF(area.left(), area.bottom() + gap));
        else
            frame.moveTopLeft(QPointF(area.right() + gap, area.top()));
        area = area.united(frame);
    }
}

void CaptureBoard::updateFrame(const QUuid &id, const QRectF &frame)
{
    prepare();
    const qsizetype index = indexOf(id);
    if (index < 0 || m_items.at(index).frame == frame)
        return;
    QList<CaptureBoardItem> items = m_items;
    items[index].frame = frame;
    validate(items);
    checkpoint();
    setItems(items);
    setLayout(CaptureBoardLayout::manual);
    bumpRevision();
}

void CaptureBoard::applyLayout(CaptureBoardLayout layout)
{
    prepare();
    if (layout == CaptureBoardLayout::manual) {
        setLayout(layout);
        return;
    }
    const QList<CaptureBoardItem> items = placed(m_items, layout, composition().padding);
    if (layout == m_layout && sameFrames(items, m_items))
        return;
    validate(items);
    checkpoint();
    setItems(items);
    setLayout(layout);
    bumpRevision();
}

void CaptureBoard::select(const QUuid &id)
{
    if (indexOf(id) < 0)
        return;
    activeDocument()->commitPendingText();
    setSelectedID(id);
}

void CaptureBoard::removeSelected()
{
    if (m_items.size() < 2 || indexOf(m_selectedID) < 0)
        return;
    checkpoint();
    QList<CaptureBoardItem> items = m_items;
    items.removeIf([&](const CaptureBoardItem &item) { return item.id == m_selectedID; });
    if (m_layout != CaptureBoardLayout::manual)
        items = placed(items, m_layout, composition().padding);
    setItems(items);
    setSelectedID(m_items.first().id);
    bumpRevision();
    observeDocuments();
}

void CaptureBoard::undo()
{
    if (m_history.isEmpty())
        return;
    const CaptureComposition shared = composition();
    m_redo.append(State{m_items, m_selectedID, m_layout});
    const State state = m_history.takeLast();
    setItems(state.items);
    setSelectedID(state.selectedID);
    setLayout(state.layout);
    if (m_history.isEmpty())
        notifyChange(*this, &CaptureBoard::canUndoChanged);
    if (m_redo.size() == 1)
        notifyChange(*this, &CaptureBoard::canRedoChanged);
    bumpRevision();
    observeDocuments();
    // An image that comes back may have missed composition edits made while it was away.
    const QScopedValueRollback observing(m_observing, true);
    shareComposition(shared);
}

void CaptureBoard::redo()
{
    if (m_redo.isEmpty())
        return;
    const CaptureComposition shared = composition();
    m_history.append(State{m_items, m_selectedID, m_layout});
    const State state = m_redo.takeLast();
    setItems(state.items);
    setSelectedID(state.selectedID);
    setLayout(state.layout);
    if (m_history.size() == 1)
        notifyChange(*this, &CaptureBoard::canUndoChanged);
    if (m_redo.isEmpty())
        notifyChange(*this, &CaptureBoard::canRedoChanged);
    bumpRevision();
    observeDocuments();
    const QScopedValueRollback observing(m_observing, true);
    shareComposition(shared);
}

std::unique_ptr<CaptureBoard> CaptureBoard::snapshot()
{
    prepare();
    QList<CaptureBoardItem> copies;
    for (const CaptureBoardItem &item : std::as_const(m_items))
        copies.append({item.id, item.document->snapshot(), item.frame});
    auto board = std::make_unique<CaptureBoard>(copies.first().document);
    board->m_items = std::move(copies);
    board->m_selectedID = m_selectedID;
    board->m_layout = m_layout;
    board->observeDocuments();
    return board;
}

qsizetype CaptureBoard::indexOf(const QUuid &id) const
{
    const auto found =
        std::find_if(m_items.cbegin(), m_items.cend(), [&](const CaptureBoardItem &item) { return item.id == id; });
    return found == m_items.cend() ? -1 : found - m_items.cbegin();
}

// A single capture whose frame was never resized exports exactly as its document.
bool CaptureBoard::isSingleUnscaledItem() const
{
    return m_items.size() == 1 && m_items.first().frame.size() == contentExtent(*m_items.first().document).size();
}

QImage CaptureBoard::contentImage()
{
    prepare();
    if (isSingleUnscaledItem())
        return m_items.first().document->contentImage();
    return drawContent();
}

// Each item's content image in its frame, on a canvas of the board's whole-unit bounds.
QImage CaptureBoard::drawContent() const
{
    validate(m_items);
    const QRectF area = wholePixels(bounds());
    QImage canvas(area.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        throwRenderError(CaptureRenderError::allocationFailed);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    if (!painter.isActive())
        throwRenderError(CaptureRenderError::allocationFailed);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const CaptureBoardItem &item : m_items)
        painter.drawImage(item.frame.translated(-area.topLeft()), item.document->contentImage());
    return canvas;
}

QImage CaptureBoard::flattenedImage()
{
    prepare();
    if (isSingleUnscaledItem())
        return m_items.first().document->flattenedImage();
    const QImage content = drawContent();
    const QSizeF size(content.size());
    return CaptureRenderer::renderImage(content, size, QRectF(QPointF(0, 0), size), {}, composition(),
                                        legendOf(m_items));
}
