#include "CaptureSidebar.h"

#include "CaptureCommandButton.h"
#include "CaptureRecentList.h"
#include "CaptureWorkspace.h"
#include "SymbolIconEngine.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *sectionLabel(const QString &text)
{
    auto *label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QPushButton *plainRow(const QString &title, const QIcon &symbol)
{
    auto *button = new CaptureCommandButton(title, QString());
    button->setSymbol(symbol);
    button->setFlat(true);
    return button;
}

} // namespace

CaptureSidebar::CaptureSidebar(CaptureWorkspace &model, QWidget *parent) : QWidget(parent), m_model(model)
{
    setFixedWidth(300);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 16, 12, 12);
    layout->setSpacing(4);

    auto *title = new QLabel(tr("tavimo Capture"));
    QFont titleFont = title->font();
    titleFont.setPixelSize(19);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);
    layout->addSpacing(10);

    addCaptureRows(layout);
    QPushButton *openImage =
        plainRow(tr("Open Image…"), SymbolIconEngine::icon(QStringLiteral(":/icons/viewfinder.svg")));
    connect(openImage, &QPushButton::clicked, this, [this] { m_model.openImage(false); });
    layout->addWidget(openImage);
    layout->addSpacing(12);

    layout->addWidget(recentHeader());
    m_recent = new CaptureRecentList(model);
    layout->addWidget(m_recent, 1);
    m_empty = new QLabel(tr(emptyHistoryText));
    m_empty->setWordWrap(true);
    m_empty->setForegroundRole(QPalette::PlaceholderText);
    m_empty->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(m_empty, 1);

    m_keepHistory = new QCheckBox(tr("Keep last 20 exports"));
    connect(m_keepHistory, &QCheckBox::toggled, this, [this](bool keep) { m_model.setKeepHistory(keep); });
    layout->addWidget(m_keepHistory);
    layout->addSpacing(8);
    layout->addWidget(footer());

    connect(&model, &CaptureWorkspace::changed, this, &CaptureSidebar::updateFromModel);
    updateFromModel();
}

void CaptureSidebar::addCaptureRows(QVBoxLayout *layout)
{
    for (const CaptureMode mode : allCaptureModes) {
        auto *row = new CaptureCommandButton(captureModeTitle(mode), shortcutLabel(mode));
        row->setFlat(true);
        connect(row, &QPushButton::clicked, this, [this, mode] {
            if (m_model.capture())
                m_model.capture()(mode);
        });
        m_captureRows.append(row);
        layout->addWidget(row);
    }
}

QWidget *CaptureSidebar::recentHeader()
{
    auto *header = new QWidget;
    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->addWidget(sectionLabel(tr("Recent")));
    layout->addStretch(1);
    auto *clear = new QPushButton(tr("Clear"));
    clear->setFlat(true);
    connect(clear, &QPushButton::clicked, this, [this] { m_model.clearHistory(); });
    layout->addWidget(clear);
    return header;
}

QWidget *CaptureSidebar::footer()
{
    auto *footer = new QWidget;
    m_footer = new QVBoxLayout(footer);
    m_footer->setContentsMargins(0, 0, 0, 0);
    QPushButton *settings = plainRow(tr("Settings…"), QIcon::fromTheme(QStringLiteral("preferences-system")));
    connect(settings, &QPushButton::clicked, this, [this] {
        if (m_model.settings())
            m_model.settings()();
    });
    m_footer->addWidget(settings);
    auto *local = new QLabel(tr("Local by design"));
    local->setForegroundRole(QPalette::PlaceholderText);
    local->setContentsMargins(10, 4, 0, 0);
    m_footer->addWidget(local);
    return footer;
}

void CaptureSidebar::setAppearancePicker(QWidget *picker)
{
    m_footer->insertWidget(m_footer->count() - 1, picker);
}

void CaptureSidebar::updateFromModel()
{
    for (QPushButton *row : std::as_const(m_captureRows))
        row->setEnabled(!m_model.busy());
    const bool empty = m_model.recent().isEmpty();
    m_recent->setVisible(!empty);
    m_empty->setVisible(empty);
    const QSignalBlocker blocker(m_keepHistory);
    m_keepHistory->setChecked(m_model.keepHistory());
}
