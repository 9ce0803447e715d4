#pragma once

#include "CaptureDocument.h"

#include <QLabel>
#include <QList>
#include <QPointer>
#include <QWidget>

class CaptureToolButton;

// The editor's tool row: one CaptureToolButton per tool in case order, then
// the one-line instruction for the document's current tool.
class CaptureToolBar : public QWidget {
    Q_OBJECT

public:
    explicit CaptureToolBar(CaptureDocument *document, QWidget *parent = nullptr);

    void setDocument(CaptureDocument *document);
    const QList<CaptureToolButton *> &buttons() const { return m_buttons; }
    QLabel *instructionLabel() const { return m_instruction; }

private:
    void updateInstruction();

    QPointer<CaptureDocument> m_document;
    QList<CaptureToolButton *> m_buttons;
    QLabel *m_instruction;
};
