#pragma once

#include "CaptureTool.h"

#include <QAbstractButton>
#include <QIcon>
#include <QPointer>

#include "CaptureDocument.h"

// One tool-bar button: the tool's icon in a
// 24 × 24 frame, tooltip "Title (Key)", drawn in the look of
// CaptureToolButtonStyle: white on the control accent while its tool is the
// document's tool, else primary on a faint primary fill.
class CaptureToolButton : public QAbstractButton {
    Q_OBJECT

public:
    CaptureToolButton(CaptureDocument *document, CaptureTool tool, QWidget *parent = nullptr);

    CaptureTool tool() const { return m_tool; }
    // The button's tool is the document's current tool.
    bool isSelectedTool() const;
    void setDocument(CaptureDocument *document);

    // The tool's icon: the desktop theme's freedesktop icon where one fits,
    // else the SVG the app ships under :/icons/<symbol>.svg.
    static QIcon icon(CaptureTool tool);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<CaptureDocument> m_document;
    CaptureTool m_tool;
};
