#pragma once

#include "CaptureInspector.h"
#include "WorkspaceTest.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>

// An inspector over a workspace with a 400 × 300 capture open.
class InspectorTest : public WorkspaceTest {
protected:
    void SetUp() override
    {
        document = &open(QSize(400, 300));
        inspector = std::make_unique<CaptureInspector>(workspace.get(), *defaults);
    }

    template <typename T = QWidget> T *control(const QString &name) const
    {
        // Controls of a rebuilt panel are hidden until they are deleted.
        for (T *widget : inspector->findChildren<T *>(name))
            if (widget->isVisibleTo(inspector.get()))
                return widget;
        return nullptr;
    }
    QSlider *slider(const QString &name) const { return control<QSlider>(name); }
    void add(CaptureTool tool, QRectF rect)
    {
        document->setTool(tool);
        document->finishGesture(rect.topLeft(), rect.bottomRight());
    }

    CaptureDocument *document = nullptr;
    std::unique_ptr<CaptureInspector> inspector;
};
