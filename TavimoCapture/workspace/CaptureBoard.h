#pragma once

#include "CaptureBoardItem.h"
#include "CaptureBoardLayout.h"
#include "CaptureComposition.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QRectF>
#include <QSizeF>
#include <QUuid>

#include <memory>
#include <optional>

// One or more captures side by side, exported as one image. Every open
// capture lives on a board; a single capture is a board with one item.
//
// The board keeps its documents consistent: markers are numbered across all
// images, a composition edit in one image applies to all, and frames follow
// crops and lenses. It keeps its own undo history of arrangements (at most 50
// steps). Document changes are answered by a queued call on the GUI thread,
// after the change is applied. GUI thread only.
//
// Operations that may fail throw CaptureRenderFailure and then leave the
// items, selection, layout and history as they were.
class CaptureBoard : public QObject {
    Q_OBJECT

public:
    static constexpr qsizetype historyLimit = 50;
    static constexpr double maximumGap = 4096;

    explicit CaptureBoard(std::shared_ptr<CaptureDocument> document, QObject *parent = nullptr);

    QUuid id() const { return m_id; }
    // In drawing order; never empty.
    const QList<CaptureBoardItem> &items() const { return m_items; }
    QUuid selectedID() const { return m_selectedID; }
    CaptureBoardLayout layout() const { return m_layout; }
    quint64 revision() const { return m_revision; }
    bool canUndo() const { return !m_history.isEmpty(); }

    // The selected item's document (the first one's when none is selected).
    std::shared_ptr<CaptureDocument> activeDocument() const;
    // The composition all images share.
    CaptureComposition composition() const;
    // The union of all frames.
    QRectF bounds() const;

    // Appends one item per image, sized by `sizes` (one per image) or by the
    // image's content. The new items take the board's composition.
    void addImages(const QList<QImage> &images, const std::optional<QList<QSizeF>> &sizes = std::nullopt);
    // Moves or resizes an item by hand; the layout becomes manual.
    void updateFrame(const QUuid &id, const QRectF &frame);
    void select(const QUuid &id);
    // Removes the selected item unless it is the last one.
    void removeSelected();
    void applyLayout(CaptureBoardLayout layout);
    // Undoes the last arrangement change; edits inside an image are undone by its document.
    void undo();
    // An independent copy that shares nothing mutable with this board.
    std::unique_ptr<CaptureBoard> snapshot();

    // All items without the frame around them.
    QImage contentImage();
    // The finished export image.
    QImage flattenedImage();

    // Brings the documents in line with each other and the frames with the
    // documents. Runs before every edit, render and snapshot.
    void synchronizeDocuments();

    // The items with new origins under `layout`; sizes never change. `gap` is
    // held within 0...4096.
    static QList<CaptureBoardItem> placed(QList<CaptureBoardItem> items, CaptureBoardLayout layout, double gap);

signals:
    void itemsChanged();
    void selectedIDChanged();
    void layoutChanged();
    void revisionChanged();
    void canUndoChanged();
    // Any change of the board.
    void changed();

private:
    struct State {
        QList<CaptureBoardItem> items;
        QUuid selectedID;
        CaptureBoardLayout layout = CaptureBoardLayout::alternating;
    };

    void setItems(QList<CaptureBoardItem> items);
    void setSelectedID(const QUuid &id);
    void setLayout(CaptureBoardLayout layout);
    void bumpRevision();
    void prepare();
    void validate(const QList<CaptureBoardItem> &items) const;
    void checkpoint();
    void observeDocuments();
    void documentDidChange(const QUuid &itemID);
    bool compositionDiffers(const CaptureBoardItem &item) const;
    std::optional<CaptureComposition> changedComposition() const;
    void shareComposition(const CaptureComposition &composition);
    bool followContentExtents(QList<CaptureBoardItem> &items);
    void positionAppended(QList<CaptureBoardItem> &items, qsizetype firstNew) const;
    qsizetype indexOf(const QUuid &id) const;
    bool isSingleUnscaledItem() const;
    QImage drawContent() const;

    QUuid m_id = QUuid::createUuid();
    QList<CaptureBoardItem> m_items;
    QUuid m_selectedID;
    CaptureBoardLayout m_layout = CaptureBoardLayout::alternating;
    quint64 m_revision = 0;
    QList<State> m_history;
    QList<QMetaObject::Connection> m_subscriptions;
    double m_lastPadding = 0;
    QHash<QUuid, CaptureComposition> m_knownCompositions;
    QHash<QUuid, QRectF> m_knownExtents;
    // Least recent first, each at most once.
    QList<QUuid> m_pendingDocumentIDs;
    bool m_observing = false;
    bool m_synchronizationScheduled = false;
};
