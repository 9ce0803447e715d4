#include "CaptureRecentList.h"

#include "CaptureErrorText.h"
#include "CaptureWorkspace.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QtConcurrent>

#include <exception>

namespace {

constexpr int pathRole = Qt::UserRole;
constexpr int dateRole = Qt::UserRole + 1;
constexpr int keyRole = Qt::UserRole + 2;

QIcon placeholderIcon(const QPalette &palette)
{
    QPixmap pixmap(CaptureRecentList::thumbnailDisplaySize);
    QColor fill = palette.color(QPalette::PlaceholderText);
    fill.setAlphaF(0.12f);
    pixmap.fill(fill);
    return QIcon(pixmap);
}

// The thumbnail shrunk whole into the one box every row shows, centred,
// sharp on the list's display.
QIcon boxed(const QImage &thumbnail, qreal pixelRatio)
{
    const QSize box = CaptureRecentList::thumbnailDisplaySize;
    QPixmap pixmap(box * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    const QSizeF fitted = QSizeF(thumbnail.size()).scaled(QSizeF(box), Qt::KeepAspectRatio);
    const QRectF target(QPointF((box.width() - fitted.width()) / 2, (box.height() - fitted.height()) / 2), fitted);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, thumbnail);
    painter.end();
    return QIcon(pixmap);
}

QString rowTitle(const CaptureHistoryItem &item)
{
    return item.date().isValid() ? QLocale().toString(item.date().toLocalTime(), QLocale::ShortFormat) : QString();
}

} // namespace

CaptureRecentList::CaptureRecentList(CaptureWorkspace &model, QWidget *parent)
    : QListWidget(parent), m_model(model), m_placeholder(placeholderIcon(palette()))
{
    setIconSize(thumbnailDisplaySize);
    setSpacing(2);
    setUniformItemSizes(true);
    setFrameShape(QFrame::NoFrame);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QListWidget::itemClicked, this, &CaptureRecentList::open);
    connect(this, &QWidget::customContextMenuRequested, this, &CaptureRecentList::showContextMenu);
    connect(&model, &CaptureWorkspace::recentChanged, this, &CaptureRecentList::rebuild);
    rebuild();
}

// A replaced entry gets a new date or modification time, and so a new thumbnail.
QString CaptureRecentList::cacheKey(const CaptureHistoryItem &item)
{
    return QStringLiteral("%1|%2|%3")
        .arg(item.path())
        .arg(item.date().toMSecsSinceEpoch())
        .arg(QFileInfo(item.path()).lastModified().toMSecsSinceEpoch());
}

CaptureHistoryItem CaptureRecentList::historyItem(const QListWidgetItem *row) const
{
    return CaptureHistoryItem(row->data(pathRole).toString(), row->data(dateRole).toDateTime());
}

void CaptureRecentList::rebuild()
{
    clear();
    QHash<QString, QIcon> kept;
    for (const CaptureHistoryItem &item : m_model.recent()) {
        const QString key = cacheKey(item);
        auto *row = new QListWidgetItem(rowTitle(item), this);
        row->setData(pathRole, item.path());
        row->setData(dateRole, item.date());
        row->setData(keyRole, key);
        row->setToolTip(item.id());
        if (const auto cached = m_thumbnails.constFind(key); cached != m_thumbnails.cend()) {
            kept.insert(key, *cached);
            row->setIcon(*cached);
        } else {
            row->setIcon(m_placeholder);
            loadThumbnail(item);
        }
    }
    m_thumbnails = std::move(kept);
}

void CaptureRecentList::loadThumbnail(const CaptureHistoryItem &item)
{
    const QString key = cacheKey(item);
    if (m_loading.contains(key))
        return;
    m_loading.insert(key);
    auto *watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, key] {
        watcher->deleteLater();
        m_loading.remove(key);
        showThumbnail(key, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([item] { return item.thumbnail(); }));
}

// A thumbnail whose row is gone by now is dropped.
void CaptureRecentList::showThumbnail(const QString &key, const QImage &thumbnail)
{
    if (thumbnail.isNull())
        return;
    for (int index = 0; index < count(); ++index) {
        QListWidgetItem *row = item(index);
        if (row->data(keyRole).toString() != key)
            continue;
        const QIcon icon = boxed(thumbnail, devicePixelRatioF());
        m_thumbnails.insert(key, icon);
        row->setIcon(icon);
        return;
    }
}

void CaptureRecentList::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        m_placeholder = placeholderIcon(palette());
        rebuild();
    }
}

void CaptureRecentList::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        open(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

// Loads the image off the GUI thread; only the latest request opens.
void CaptureRecentList::open(const QListWidgetItem *row)
{
    const CaptureHistoryItem item = historyItem(row);
    const quint64 request = ++m_openRequests;
    m_openRequest = request;
    auto *watcher = new QFutureWatcher<std::optional<CaptureHistoryEntry>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, request] {
        watcher->deleteLater();
        finishOpening(request, watcher->result());
    });
    setCursor(Qt::BusyCursor);
    watcher->setFuture(QtConcurrent::run([history = m_model.history(), item] { return history.reopen(item); }));
}

void CaptureRecentList::finishOpening(quint64 request, const std::optional<CaptureHistoryEntry> &entry)
{
    if (request != m_openRequest)
        return;
    m_openRequest = 0;
    unsetCursor();
    if (!entry) {
        m_model.setNotice(tr(unavailable));
        return;
    }
    m_model.accept(entry->image, entry->historyID, entry->exportPath.value_or(QString()));
}

void CaptureRecentList::showContextMenu(QPoint position)
{
    const QListWidgetItem *row = itemAt(position);
    if (!row)
        return;
    const CaptureHistoryItem item = historyItem(row);
    QMenu menu(this);
    menu.addAction(tr("Remove from History"), this, [this, item] { remove(item); });
    menu.exec(viewport()->mapToGlobal(position));
}

void CaptureRecentList::remove(const CaptureHistoryItem &item)
{
    try {
        m_model.history().remove(item);
    } catch (const std::exception &error) {
        m_model.setNotice(CaptureErrorText::of(error));
        if (m_model.show())
            m_model.show()();
    }
    m_model.refreshRecent();
}
