#include "CaptureWorkspaceHeader.h"

#include "AcceleratorText.h"
#include "CaptureProminentButton.h"
#include "CaptureWorkspace.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace {

QToolButton *toolButton(QAction *action)
{
    auto *button = new QToolButton;
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return button;
}

QToolButton *modeButton(const QString &title, const QString &icon)
{
    auto *button = new QToolButton;
    button->setText(AcceleratorText::literal(title));
    button->setIcon(QIcon::fromTheme(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setCheckable(true);
    button->setToolTip(CaptureWorkspaceHeader::tr("Arrange images independently or edit the selected image"));
    return button;
}

// Rendering and encoding a large capture takes a moment: the pointer says so.
void whileBusy(const std::function<void()> &work)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    work();
    QGuiApplication::restoreOverrideCursor();
}

} // namespace

CaptureWorkspaceHeader::CaptureWorkspaceHeader(CaptureWorkspace &model, QWidget *parent)
    : QWidget(parent), m_model(model), m_title(new QLabel), m_subtitle(new QLabel),
      m_copy(new QAction(QIcon::fromTheme(QStringLiteral("edit-copy")), tr("Copy Image"), this)),
      m_save(new QAction(QIcon::fromTheme(QStringLiteral("document-save")), tr("Save"), this)),
      m_saveAs(new QAction(tr("Save As…"), this))
{
    QFont titleFont = m_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.35);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_subtitle->setForegroundRole(QPalette::PlaceholderText);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(m_title);
    titles->addWidget(m_subtitle);

    m_copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    m_save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(m_copy, &QAction::triggered, &model, [this] { whileBusy([this] { m_model.copyImage(); }); });
    connect(m_save, &QAction::triggered, &model, [this] { m_model.saveImage(false); });
    connect(m_saveAs, &QAction::triggered, &model, [this] { m_model.saveImage(true); });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addLayout(titles);
    layout->addStretch(1);
    layout->addWidget(modeSwitch());
    layout->addSpacing(8);
    layout->addWidget(addCaptureButton());
    layout->addWidget(exportButtons());

    connect(&model, &CaptureWorkspace::changed, this, &CaptureWorkspaceHeader::updateFromModel);
    updateFromModel();
}

QWidget *CaptureWorkspaceHeader::modeSwitch()
{
    m_editMode = modeButton(tr("Edit image"), QStringLiteral("document-edit"));
    m_arrangeMode = modeButton(tr("Arrange"), QStringLiteral("view-grid"));
    // Clicking the chosen mode again keeps it chosen.
    connect(m_editMode, &QToolButton::clicked, this, [this] {
        m_model.setShowingBoard(false);
        updateFromModel();
    });
    connect(m_arrangeMode, &QToolButton::clicked, this, [this] {
        m_model.setShowingBoard(true);
        updateFromModel();
    });

    auto *modes = new QWidget;
    auto *layout = new QHBoxLayout(modes);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_editMode);
    layout->addWidget(m_arrangeMode);
    return modes;
}

QToolButton *CaptureWorkspaceHeader::addCaptureButton()
{
    m_addCapture = new QToolButton;
    m_addCapture->setText(tr("Add capture"));
    m_addCapture->setIcon(QIcon::fromTheme(QStringLiteral("list-add")));
    m_addCapture->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_addCapture->setToolTip(tr("Append another image to this screenshot"));
    m_addCapture->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(m_addCapture);
    for (const CaptureMode mode : {CaptureMode::area, CaptureMode::screen, CaptureMode::allDisplays}) {
        m_captureEntries.append(menu->addAction(AcceleratorText::literal(captureModeTitle(mode)), this, [this, mode] {
            if (m_model.appendCapture())
                m_model.appendCapture()(mode);
        }));
    }
    menu->addAction(tr("Image file…"), this, [this] { m_model.openImage(true); });
    m_addCapture->setMenu(menu);
    return m_addCapture;
}

QWidget *CaptureWorkspaceHeader::exportButtons()
{
    auto *saveOptions = new QToolButton;
    saveOptions->setArrowType(Qt::DownArrow);
    saveOptions->setToolTip(tr("Save options"));
    saveOptions->setAccessibleName(tr("Save options"));
    saveOptions->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(saveOptions);
    menu->addAction(m_saveAs);
    saveOptions->setMenu(menu);
    connect(m_saveAs, &QAction::enabledChanged, saveOptions, &QWidget::setEnabled);

    auto *copy = new CaptureProminentButton;
    copy->setDefaultAction(m_copy);
    copy->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    auto *buttons = new QWidget;
    auto *layout = new QHBoxLayout(buttons);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(copy);
    layout->addWidget(toolButton(m_save));
    layout->addWidget(saveOptions);
    return buttons;
}

void CaptureWorkspaceHeader::updateFromModel()
{
    const std::shared_ptr<CaptureDocument> &document = m_model.document();
    if (document) {
        const QSize size = document->originalPixelSize();
        m_title->setText(tr("Edit capture"));
        m_subtitle->setText(tr("%1 × %2 pixels").arg(size.width()).arg(size.height()));
    } else {
        m_title->setText(tr("Ready when you are"));
        m_subtitle->setText(tr("Capture, annotate and share"));
    }
    const bool open = document != nullptr;
    m_editMode->setEnabled(open);
    m_arrangeMode->setEnabled(open);
    m_editMode->setChecked(open && !m_model.showingBoard());
    m_arrangeMode->setChecked(open && m_model.showingBoard());
    m_addCapture->setEnabled(open);
    for (QAction *entry : std::as_const(m_captureEntries))
        entry->setEnabled(!m_model.busy());
    m_copy->setEnabled(open);
    m_save->setEnabled(open);
    m_saveAs->setEnabled(open);
}
