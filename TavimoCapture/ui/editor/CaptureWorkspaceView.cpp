#include "CaptureWorkspaceView.h"

#include "AppTheme.h"
#include "AppearancePicker.h"
#include "CaptureBoardView.h"
#include "CaptureDocumentView.h"
#include "CaptureNoticeBanner.h"
#include "CaptureSidebar.h"
#include "CaptureWelcomeView.h"
#include "CaptureWorkspace.h"
#include "CaptureWorkspaceHeader.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QFrame *separator(QFrame::Shape shape)
{
    auto *line = new QFrame;
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    return line;
}

// On a short screen the sidebar scrolls rather than pushing the window
// taller than the screen.
QScrollArea *scrollingDown(QWidget *sidebar)
{
    auto *scroll = new QScrollArea;
    scroll->setWidget(sidebar);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFixedWidth(sidebar->width() + scroll->verticalScrollBar()->sizeHint().width());
    return scroll;
}

} // namespace

CaptureWorkspaceView::CaptureWorkspaceView(CaptureWorkspace &model, UserDefaults &defaults, CaptureClipboard &clipboard,
                                           QWidget *parent)
    : QWidget(parent), m_model(model), m_defaults(defaults), m_clipboard(clipboard),
      m_sidebar(new CaptureSidebar(model)), m_header(new CaptureWorkspaceHeader(model))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_sidebar->setAppearancePicker(new AppearancePicker(defaults));
    layout->addWidget(scrollingDown(m_sidebar));
    layout->addWidget(separator(QFrame::VLine));
    layout->addWidget(mainColumn(), 1);
    // The export keys work wherever the focus is in the window.
    addActions({m_header->copyAction(), m_header->saveAction(), m_header->saveAsAction()});

    connect(&model, &CaptureWorkspace::shortcutWarningsChanged, this, &CaptureWorkspaceView::showWarnings);
    connect(&model, &CaptureWorkspace::changed, this, &CaptureWorkspaceView::showMainArea);
    showWarnings();
    showMainArea();
}

bool CaptureWorkspaceView::isWaylandSession()
{
    return QGuiApplication::platformName().startsWith(QStringLiteral("wayland")) ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == QStringLiteral("wayland");
}

QWidget *CaptureWorkspaceView::mainColumn()
{
    auto *column = new QWidget;
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(separator(QFrame::HLine));

    auto *messages = new QVBoxLayout;
    messages->setContentsMargins(16, 8, 16, 0);
    messages->addWidget(new CaptureNoticeBanner(m_model));
    m_warnings = new QLabel;
    m_warnings->setWordWrap(true);
    colourWarnings();
    messages->addWidget(m_warnings);
    layout->addLayout(messages);

    m_main = new QStackedWidget;
    m_welcome =
        new CaptureWelcomeView(m_model, isWaylandSession() ? DesktopPermissionSettings::command() : std::nullopt);
    m_documentPage = new CaptureDocumentView(m_model, m_defaults, m_clipboard);
    m_boardPage = new QWidget;
    m_main->addWidget(m_welcome);
    m_main->addWidget(m_documentPage);
    m_main->addWidget(m_boardPage);
    layout->addWidget(m_main, 1);
    return column;
}

void CaptureWorkspaceView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_warnings)
        colourWarnings();
}

void CaptureWorkspaceView::colourWarnings()
{
    m_warnings->setStyleSheet(QStringLiteral("color: %1;").arg(AppTheme::warning().name()));
}

void CaptureWorkspaceView::showWarnings()
{
    m_warnings->setText(m_model.shortcutWarnings().join(QLatin1Char('\n')));
    m_warnings->setVisible(!m_model.shortcutWarnings().isEmpty());
}

void CaptureWorkspaceView::showMainArea()
{
    if (!m_model.document()) {
        dropBoardView();
        m_main->setCurrentWidget(m_welcome);
    } else if (m_model.showingBoard()) {
        showBoard();
    } else {
        showDocument();
    }
}

// A board view lives only while its board is shown, so hidden boards render no previews.
void CaptureWorkspaceView::showBoard()
{
    CaptureBoard *board = m_model.board();
    if (board != m_shownBoard) {
        m_shownBoard = board;
        replacePage(m_boardPage, new CaptureBoardView(*board, [this] { m_model.setShowingBoard(false); }));
    }
    m_main->setCurrentWidget(m_boardPage);
}

void CaptureWorkspaceView::showDocument()
{
    dropBoardView();
    m_main->setCurrentWidget(m_documentPage);
}

void CaptureWorkspaceView::dropBoardView()
{
    m_shownBoard = nullptr;
    if (qobject_cast<CaptureBoardView *>(m_boardPage))
        replacePage(m_boardPage, new QWidget);
}

void CaptureWorkspaceView::replacePage(QWidget *&page, QWidget *replacement)
{
    const int index = m_main->indexOf(page);
    m_main->insertWidget(index, replacement);
    m_main->removeWidget(page);
    page->deleteLater();
    page = replacement;
}
