#include "CaptureToastWindow.h"

#include "CapturePanelBackground.h"
#include "SymbolLabel.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

namespace {

constexpr int rightMargin = 20;
constexpr int topMargin = 27;
constexpr int padding = 16;
constexpr qreal cornerRadius = 12;

} // namespace

CaptureToastWindow::CaptureToastWindow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::WindowTransparentForInput),
      m_symbol(new SymbolLabel(QStringLiteral(":/icons/text.viewfinder.svg"), 18, Qt::AlignTop)), m_message(new QLabel)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(tr("Tavimo Capture Notice"));
    m_message->setWordWrap(true);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(padding, padding, padding, padding);
    row->setSpacing(8);
    row->addWidget(m_symbol);
    row->addWidget(m_message, 1);

    m_expiry.setSingleShot(true);
    m_expiry.setInterval(seconds * 1000);
    connect(&m_expiry, &QTimer::timeout, this, &QWidget::hide);
}

QRect CaptureToastWindow::placement(const QRect &available, int height)
{
    const int right = available.x() + available.width();
    return QRect(right - rightMargin - panelSize.width(), available.y() + topMargin, panelSize.width(),
                 std::max(height, panelSize.height()));
}

void CaptureToastWindow::showMessage(const QString &message)
{
    m_expiry.stop();
    hide();
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    m_message->setText(message);
    // Several warnings get the lines they need rather than being cut off.
    const int height = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(panelSize.width()) : 0;
    setGeometry(placement(screen->availableGeometry(), height));
    CapturePanelBackground::clipCorners(*this, cornerRadius);
    show();
    raise();
    m_expiry.start();
}

QString CaptureToastWindow::message() const
{
    return m_message->text();
}

void CaptureToastWindow::paintEvent(QPaintEvent *)
{
    CapturePanelBackground::paint(*this, cornerRadius);
}
