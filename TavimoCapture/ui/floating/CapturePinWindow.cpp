#include "CapturePinWindow.h"

#include "CaptureBoard.h"
#include "SymbolIconEngine.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr double widest = 580;
constexpr double narrowest = 220;
constexpr double lowest = 120;
constexpr int padding = 8;

} // namespace

CapturePinWindow::CapturePinWindow(const QImage &image, std::unique_ptr<CaptureBoard> snapshot)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint), m_image(image), m_snapshot(std::move(snapshot)),
      m_edit(new QPushButton(QIcon::fromTheme(QStringLiteral("document-edit"),
                                              SymbolIconEngine::icon(QStringLiteral(":/icons/pencil.tip.svg"))),
                             tr("Edit in Capture")))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(tr("Pinned Capture"));
    m_edit->setToolTip(tr("Reopen the editable capture saved when this image was pinned"));
    m_edit->setFocusPolicy(Qt::TabFocus);
    connect(m_edit, &QPushButton::clicked, this, &CapturePinWindow::editRequested);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(padding, padding, padding, padding);
    row->addStretch();
    row->addWidget(m_edit);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(row);
    column->addStretch();
    resize(contentSize(image.size()));
}

CapturePinWindow::~CapturePinWindow() = default;

QSize CapturePinWindow::contentSize(QSize image)
{
    const double scale = std::min(widest / std::max(image.width(), 1), 1.0);
    return QSize(int(std::max(image.width() * scale, narrowest)), int(std::max(image.height() * scale, lowest)));
}

std::unique_ptr<CaptureBoard> CapturePinWindow::reopenedBoard() const
{
    return m_snapshot->snapshot();
}

QRect CapturePinWindow::imageRect() const
{
    const QRect area = rect().adjusted(0, m_edit->geometry().bottom() + padding, 0, 0);
    const QSize fitted = m_image.size().scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.topLeft() + QPoint((area.width() - fitted.width()) / 2, (area.height() - fitted.height()) / 2),
                 fitted);
}

void CapturePinWindow::paintEvent(QPaintEvent *)
{
    const QRect target = imageRect();
    const QSize pixels = target.size() * devicePixelRatioF();
    if (m_scaled.size() != pixels) {
        m_scaled = QPixmap::fromImage(m_image.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        m_scaled.setDevicePixelRatio(devicePixelRatioF());
    }
    QPainter(this).drawPixmap(target.topLeft(), m_scaled);
}

void CapturePinWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}
