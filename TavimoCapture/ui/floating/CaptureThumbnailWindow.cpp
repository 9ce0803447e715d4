#include "CaptureThumbnailWindow.h"

#include "CapturePanelBackground.h"
#include "CaptureThumbnail.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int margin = 24;
constexpr int padding = 10;
constexpr int previewHeight = 130;
constexpr qreal cornerRadius = 14;

} // namespace

CaptureThumbnailWindow::CaptureThumbnailWindow(CaptureThumbnail &thumbnail)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      m_thumbnail(thumbnail), m_preview(new QLabel), m_text(new QLabel)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("Capture Thumbnail"));
    setFixedSize(panelSize);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setMaximumHeight(previewHeight);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setForegroundRole(QPalette::PlaceholderText);
    QFont caption = m_text->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.9);
    m_text->setFont(caption);

    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(padding, padding, padding, padding);
    stack->setSpacing(8);
    stack->addWidget(m_preview, 1);
    stack->addWidget(m_text);
    m_thumbnail.setSurface(this);
}

QRect CaptureThumbnailWindow::placement(const QRect &available)
{
    const QPoint bottomRight = available.topLeft() + QPoint(available.width(), available.height());
    return QRect(bottomRight - QPoint(margin + panelSize.width(), margin + panelSize.height()), panelSize);
}

bool CaptureThumbnailWindow::present(const CaptureThumbnailContent &content)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    m_lifetime = content.lifetime;
    m_image = content.image;
    m_text->setText(content.text);
    setGeometry(placement(screen->availableGeometry()));
    CapturePanelBackground::clipCorners(*this, cornerRadius);
    showImage();
    show();
    raise();
    return true;
}

void CaptureThumbnailWindow::remove()
{
    hide();
    m_lifetime = QUuid();
    m_image = QImage();
    m_preview->clear();
}

QString CaptureThumbnailWindow::text() const
{
    return m_text->text();
}

void CaptureThumbnailWindow::paintEvent(QPaintEvent *)
{
    CapturePanelBackground::paint(*this, cornerRadius);
}

void CaptureThumbnailWindow::mousePressEvent(QMouseEvent *)
{
    m_thumbnail.click(m_lifetime);
}

void CaptureThumbnailWindow::enterEvent(QEnterEvent *)
{
    m_thumbnail.hover(m_lifetime, true);
}

void CaptureThumbnailWindow::leaveEvent(QEvent *)
{
    m_thumbnail.hover(m_lifetime, false);
}

// A 5K capture is first sampled down to twice the preview, then smoothed.
void CaptureThumbnailWindow::showImage()
{
    if (m_image.isNull())
        return;
    const QSize room = QSize(panelSize.width() - 2 * padding, previewHeight) * devicePixelRatioF();
    const qreal ratio = devicePixelRatioF();
    QImage sampled = m_image;
    if (m_image.width() > 4 * room.width() || m_image.height() > 4 * room.height())
        sampled = m_image.scaled(room * 2, Qt::KeepAspectRatio, Qt::FastTransformation);
    QPixmap preview = QPixmap::fromImage(sampled.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    preview.setDevicePixelRatio(ratio);
    m_preview->setPixmap(preview);
}
