#include "CaptureDocumentView.h"

#include "AcceleratorText.h"
#include "CaptureCanvasView.h"
#include "CaptureClipboard.h"
#include "CaptureFailure.h"
#include "CaptureInspector.h"
#include "CaptureToolButton.h"
#include "CaptureToolTable.h"
#include "CaptureWorkspace.h"
#include "SymbolIconEngine.h"
#include "UserDefaults.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr const char *textCopied = QT_TRANSLATE_NOOP("CaptureDocumentView", "Text copied");

// A narrow window (a small screen, 2x scaling) scrolls the row instead of
// cutting its last buttons.
QScrollArea *scrollingSideways(QWidget *row)
{
    auto *scroll = new QScrollArea;
    scroll->setWidget(row);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    scroll->setFixedHeight(row->sizeHint().height() + scroll->horizontalScrollBar()->sizeHint().height());
    return scroll;
}

// The desktop theme's icon, else the one shipped at `shippedIcon`.
QIcon symbol(const QString &themeName, const QString &shippedIcon = QString())
{
    if (shippedIcon.isEmpty())
        return QIcon::fromTheme(themeName);
    return QIcon::fromTheme(themeName, SymbolIconEngine::icon(shippedIcon));
}

} // namespace

CaptureDocumentView::CaptureDocumentView(CaptureWorkspace &model, UserDefaults &defaults, CaptureClipboard &clipboard,
                                         QWidget *parent)
    : QWidget(parent), m_model(model), m_defaults(defaults), m_clipboard(clipboard),
      m_showInspector(defaults.boolValue(showInspectorKey).value_or(true))
{
    m_canvas = new CaptureCanvasView(model.document().get());
    m_inspector = new CaptureInspector(&model, defaults);
    auto *inspectorScroll = new QScrollArea;
    inspectorScroll->setWidget(m_inspector);
    inspectorScroll->setWidgetResizable(true);
    inspectorScroll->setFrameShape(QFrame::NoFrame);
    inspectorScroll->setFixedWidth(320);
    inspectorScroll->setObjectName(QStringLiteral("inspectorPane"));

    auto *editing = new QHBoxLayout;
    editing->setSpacing(0);
    editing->addWidget(m_canvas, 1);
    editing->addWidget(inspectorScroll);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolRow());
    layout->addLayout(editing, 1);
    layout->addWidget(recognizedTextPanel());

    connect(&model, &CaptureWorkspace::documentChanged, this, &CaptureDocumentView::followDocument);
    connect(&model, &CaptureWorkspace::changed, this, &CaptureDocumentView::updateCommands);
    connect(&model, &CaptureWorkspace::recognizedTextChanged, this, &CaptureDocumentView::showRecognizedText);
    followDocument();
    showRecognizedText();
    inspectorScroll->setVisible(m_showInspector);
}

// The tool and command buttons, and under them the current tool's hint on a
// line of its own, wrapped rather than cut.
QWidget *CaptureDocumentView::toolRow()
{
    auto *buttons = new QWidget;
    auto *layout = new QHBoxLayout(buttons);
    layout->setContentsMargins(12, 8, 12, 4);
    layout->setSpacing(4);
    for (const CaptureTool tool : allCases<CaptureTool>()) {
        auto *button = new CaptureToolButton(m_model.document().get(), tool);
        m_toolButtons.append(button);
        layout->addWidget(button);
    }
    layout->addStretch(1);

    m_undo = commandButton(tr("Undo"), QStringLiteral("edit-undo"), tr("Undo last change"));
    connect(m_undo, &QToolButton::clicked, this, [this] {
        if (m_document)
            m_document->undo();
    });
    m_extractText = commandButton(tr("Extract text"), QString(), tr("Extract text from this image"));
    connect(m_extractText, &QToolButton::clicked, &m_model, &CaptureWorkspace::recognizeText);
    QToolButton *pin =
        commandButton(tr("Pin image"), QStringLiteral("window-pin"), tr("Pin image above other windows"));
    connect(pin, &QToolButton::clicked, &m_model, &CaptureWorkspace::pinImage);
    m_inspectorToggle = commandButton(QString(), QStringLiteral("sidebar-show-right"), QString());
    connect(m_inspectorToggle, &QToolButton::clicked, this, [this] { setShowInspector(!m_showInspector); });
    for (QToolButton *button : {m_undo, m_extractText, pin, m_inspectorToggle})
        layout->addWidget(button);

    m_instruction = new QLabel;
    m_instruction->setForegroundRole(QPalette::PlaceholderText);
    m_instruction->setWordWrap(true);
    m_instruction->setContentsMargins(14, 0, 12, 8);
    auto *row = new QWidget;
    auto *column = new QVBoxLayout(row);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(scrollingSideways(buttons));
    column->addWidget(m_instruction);
    return row;
}

QToolButton *CaptureDocumentView::commandButton(const QString &title, const QString &icon, const QString &help)
{
    auto *button = new QToolButton;
    button->setText(AcceleratorText::literal(title));
    button->setIcon(symbol(icon));
    button->setToolTip(help);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

QFrame *CaptureDocumentView::recognizedTextPanel()
{
    m_textPanel = new QFrame;
    m_textPanel->setFrameShape(QFrame::StyledPanel);
    auto *title = new QLabel(tr("Recognized text"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto *copy = new QPushButton(tr("Copy Text"));
    connect(copy, &QPushButton::clicked, this, &CaptureDocumentView::copyRecognizedText);
    auto *close = new QToolButton;
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setToolTip(tr("Close recognized text"));
    close->setAccessibleName(tr("Close recognized text"));
    close->setAutoRaise(true);
    connect(close, &QToolButton::clicked, this, [this] { m_model.setRecognizedText(std::nullopt); });

    auto *header = new QHBoxLayout;
    header->addWidget(title);
    header->addStretch(1);
    header->addWidget(copy);
    header->addWidget(close);
    m_text = new QPlainTextEdit;
    m_text->setReadOnly(true);
    m_text->setMaximumHeight(140);
    auto *layout = new QVBoxLayout(m_textPanel);
    layout->setContentsMargins(12, 8, 12, 12);
    layout->addLayout(header);
    layout->addWidget(m_text);
    return m_textPanel;
}

void CaptureDocumentView::setShowInspector(bool show)
{
    m_showInspector = show;
    m_defaults.setValue(showInspectorKey, show);
    findChild<QScrollArea *>(QStringLiteral("inspectorPane"))->setVisible(show);
    updateCommands();
}

void CaptureDocumentView::followDocument()
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = m_model.document().get();
    m_canvas->setDocument(m_document);
    for (CaptureToolButton *button : std::as_const(m_toolButtons))
        button->setDocument(m_document);
    if (m_document)
        connect(m_document, &CaptureDocument::changed, this, &CaptureDocumentView::updateCommands);
    updateCommands();
}

void CaptureDocumentView::updateCommands()
{
    m_undo->setEnabled(m_document && m_document->canUndo());
    const bool recognizing = m_model.recognizing();
    m_extractText->setEnabled(!recognizing);
    m_extractText->setIcon(recognizing
                               ? symbol(QStringLiteral("content-loading"), QStringLiteral(":/icons/hourglass.svg"))
                               : symbol(QStringLiteral("edit-find"), QStringLiteral(":/icons/text.viewfinder.svg")));
    if (recognizing)
        m_extractText->setCursor(Qt::BusyCursor);
    else
        m_extractText->unsetCursor();
    m_inspectorToggle->setText(m_showInspector ? tr("Hide inspector") : tr("Show inspector"));
    m_instruction->setText(
        m_document ? CaptureToolTable::instruction(m_document->tool(), m_document->pendingMagnifier().has_value())
                   : QString());
}

void CaptureDocumentView::showRecognizedText()
{
    const std::optional<QString> &text = m_model.recognizedText();
    m_textPanel->setVisible(text.has_value());
    m_text->setPlainText(text.value_or(QString()));
}

void CaptureDocumentView::copyRecognizedText()
{
    const std::optional<QString> &text = m_model.recognizedText();
    if (!text)
        return;
    if (m_clipboard.setText(*text))
        m_model.setNotice(tr(textCopied));
    else
        m_model.setNotice(description(CaptureFailure::write));
}
