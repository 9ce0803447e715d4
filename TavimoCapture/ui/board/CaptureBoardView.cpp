#include "CaptureBoardView.h"

#include "AcceleratorText.h"
#include "CaptureBoard.h"
#include "CaptureBoardCanvas.h"
#include "CaptureBoardExportPreview.h"
#include "CaptureBoardPreviews.h"
#include "CaptureErrorText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace {

const QColor errorColor(0xd7, 0x00, 0x15);

QString layoutTitle(CaptureBoardLayout layout)
{
    switch (layout) {
    case CaptureBoardLayout::alternating:
        return CaptureBoardView::tr("Alternating");
    case CaptureBoardLayout::row:
        return CaptureBoardView::tr("Row");
    case CaptureBoardLayout::column:
        return CaptureBoardView::tr("Column");
    case CaptureBoardLayout::grid:
        return CaptureBoardView::tr("Grid");
    case CaptureBoardLayout::manual:
        return CaptureBoardView::tr("Manual");
    }
    return {};
}

constexpr const char *hint = QT_TRANSLATE_NOOP(
    "CaptureBoardView",
    "Select an image to annotate it. Drag to move; drag its lower-right handle to resize proportionally.");

QLabel *captionLabel(const QString &text)
{
    auto *label = new QLabel(text);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.9);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    label->setWordWrap(true);
    return label;
}

} // namespace

CaptureBoardView::CaptureBoardView(CaptureBoard &board, std::function<void()> onEdit, QWidget *parent)
    : QWidget(parent), m_board(&board), m_onEdit(std::move(onEdit)), m_previews(new CaptureBoardPreviews(this))
{
    buildControls();
    connect(&board, &CaptureBoard::changed, this, &CaptureBoardView::updateControls);
    connect(&board, &CaptureBoard::revisionChanged, this, &CaptureBoardView::scheduleRefresh);
    connect(m_previews, &CaptureBoardPreviews::exportPreviewChanged, this, &CaptureBoardView::updateContent);
    connect(m_previews, &CaptureBoardPreviews::exportFailed, this, &CaptureBoardView::setMessage);
    connect(m_canvas, &CaptureBoardCanvas::arranged, this, &CaptureBoardView::setMessage);
    connect(m_canvas, &CaptureBoardCanvas::editRequested, this, [this] { m_onEdit(); });
    // Several changes of one operation make one refresh, after the operation.
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CaptureBoardView::refresh);
    updateControls();
    scheduleRefresh();
}

void CaptureBoardView::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(headerRow());
    layout->addWidget(captionLabel(tr(hint)));

    m_canvas = new CaptureBoardCanvas(*m_board, *m_previews);
    m_exportPreview = new CaptureBoardExportPreview;
    m_content = new QStackedWidget;
    m_content->addWidget(m_canvas);
    m_content->addWidget(m_exportPreview);
    layout->addWidget(m_content, 1);

    m_messageLabel = new QLabel;
    m_messageLabel->setWordWrap(true);
    QPalette red = m_messageLabel->palette();
    red.setColor(QPalette::WindowText, errorColor);
    m_messageLabel->setPalette(red);
    m_messageLabel->hide();
    layout->addWidget(m_messageLabel);
}

QWidget *CaptureBoardView::headerRow()
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    m_title = new QLabel;
    QFont headline = m_title->font();
    headline.setBold(true);
    m_title->setFont(headline);
    layout->addWidget(m_title);
    layout->addWidget(arrangeButton());

    auto *undo = new QToolButton;
    undo->setIcon(QIcon::fromTheme(QStringLiteral("edit-undo")));
    undo->setText(tr("Undo"));
    undo->setToolTip(tr("Undo image arrangement"));
    connect(undo, &QToolButton::clicked, this, [this] {
        if (m_board)
            m_board->undo();
    });
    m_undo = undo;
    layout->addWidget(undo);
    layout->addStretch(1);

    auto *exportToggle = new QPushButton(tr("Export Preview"));
    exportToggle->setCheckable(true);
    exportToggle->setToolTip(tr("Preview the finished background, border, shadow and legend"));
    connect(exportToggle, &QPushButton::toggled, this, &CaptureBoardView::setShowExportPreview);
    m_exportToggle = exportToggle;
    layout->addWidget(exportToggle);

    auto *remove = new QPushButton(tr("Remove"));
    QPalette destructive = remove->palette();
    destructive.setColor(QPalette::Active, QPalette::ButtonText, errorColor);
    destructive.setColor(QPalette::Inactive, QPalette::ButtonText, errorColor);
    remove->setPalette(destructive);
    connect(remove, &QPushButton::clicked, this, [this] {
        if (m_board)
            m_board->removeSelected();
    });
    m_remove = remove;
    layout->addWidget(remove);

    auto *edit = new QPushButton(tr("Edit Selected Image"));
    edit->setDefault(true);
    connect(edit, &QPushButton::clicked, this, [this] { m_onEdit(); });
    layout->addWidget(edit);
    return row;
}

QToolButton *CaptureBoardView::arrangeButton()
{
    auto *button = new QToolButton;
    button->setText(tr("Arrange"));
    button->setToolTip(tr("Arrange images using the background padding as spacing"));
    button->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(button);
    const auto layouts = allCases<CaptureBoardLayout>();
    for (std::size_t index = 0; index < layouts.size(); ++index) {
        menu->addAction(AcceleratorText::literal(layoutTitle(layouts[index])), this,
                        [this, index] { chooseLayout(static_cast<int>(index)); });
    }
    button->setMenu(menu);
    return button;
}

void CaptureBoardView::chooseLayout(int layoutIndex)
{
    if (!m_board)
        return;
    try {
        m_board->applyLayout(allCases<CaptureBoardLayout>()[layoutIndex]);
        setMessage(QString());
    } catch (const std::exception &error) {
        setMessage(CaptureErrorText::of(error));
    }
}

void CaptureBoardView::setMessage(const QString &message)
{
    m_message = message;
    m_messageLabel->setText(message);
    m_messageLabel->setVisible(!message.isEmpty());
}

void CaptureBoardView::setShowExportPreview(bool show)
{
    if (m_showExportPreview == show)
        return;
    m_showExportPreview = show;
    m_exportToggle->setChecked(show);
    if (show)
        scheduleRefresh();
    updateContent();
}

void CaptureBoardView::scheduleRefresh()
{
    m_refreshTimer.start();
}

void CaptureBoardView::refresh()
{
    if (m_board)
        m_previews->refresh(*m_board, m_showExportPreview);
}

void CaptureBoardView::updateControls()
{
    if (!m_board)
        return;
    const qsizetype count = m_board->items().size();
    m_title->setText(tr("%1 images").arg(count));
    m_undo->setEnabled(m_board->canUndo());
    m_remove->setEnabled(count >= 2);
}

void CaptureBoardView::updateContent()
{
    const std::optional<QImage> &image = m_previews->exportPreview();
    m_exportPreview->setImage(image.value_or(QImage()));
    m_content->setCurrentWidget(m_showExportPreview && image ? static_cast<QWidget *>(m_exportPreview) : m_canvas);
}
