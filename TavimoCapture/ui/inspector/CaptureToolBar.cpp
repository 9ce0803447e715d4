#include "CaptureToolBar.h"

#include "CaptureToolButton.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

CaptureToolBar::CaptureToolBar(CaptureDocument *document, QWidget *parent)
    : QWidget(parent), m_instruction(new QLabel(this))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 6, 8, 6);
    column->setSpacing(4);
    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    for (CaptureTool tool : RawEnum<CaptureTool>::cases) {
        auto *button = new CaptureToolButton(document, tool, this);
        m_buttons.append(button);
        row->addWidget(button);
    }
    row->addStretch(1);
    column->addLayout(row);
    m_instruction->setObjectName(QStringLiteral("Instruction"));
    QPalette palette = m_instruction->palette();
    QColor secondary = palette.color(QPalette::WindowText);
    secondary.setAlphaF(0.65f);
    palette.setColor(QPalette::WindowText, secondary);
    m_instruction->setPalette(palette);
    column->addWidget(m_instruction);
    setDocument(document);
}

void CaptureToolBar::setDocument(CaptureDocument *document)
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    for (CaptureToolButton *button : std::as_const(m_buttons))
        button->setDocument(document);
    if (m_document) {
        connect(m_document, &CaptureDocument::toolChanged, this, &CaptureToolBar::updateInstruction);
        connect(m_document, &CaptureDocument::pendingMagnifierChanged, this, &CaptureToolBar::updateInstruction);
    }
    updateInstruction();
}

void CaptureToolBar::updateInstruction()
{
    m_instruction->setText(m_document ? CaptureToolButton::instruction(m_document->tool(),
                                                                       m_document->pendingMagnifier().has_value())
                                      : QString());
}
