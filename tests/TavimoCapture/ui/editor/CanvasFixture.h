#pragma once

#include "CaptureCanvasView.h"
#include "CaptureDocument.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// A 400 × 300 document in a 448 × 348 canvas: the view scale is 1 and the
// image starts at view point (24, 24), so view = image + (24, 24).
class CanvasFixture : public testing::Test {
protected:
    void SetUp() override { open(QSize(400, 300)); }

    void open(QSize imageSize, QColor fill = Qt::white, QSize viewSize = QSize(448, 348))
    {
        canvas.reset();
        QImage image(imageSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(fill);
        document = std::make_unique<CaptureDocument>(image);
        canvas = std::make_unique<CaptureCanvasView>(document.get());
        canvas->resize(viewSize);
        canvas->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(canvas.get()));
    }

    void send(QEvent::Type type, QPointF imagePoint, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = {})
    {
        const QPointF view = canvas->viewPoint(imagePoint);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, view, canvas->mapToGlobal(view), button, buttons, modifiers);
        QApplication::sendEvent(canvas.get(), &event);
    }
    void press(QPointF p, Qt::KeyboardModifiers m = {}) { send(QEvent::MouseButtonPress, p, Qt::LeftButton, m); }
    void move(QPointF p, Qt::KeyboardModifiers m = {}) { send(QEvent::MouseMove, p, Qt::LeftButton, m); }
    void hover(QPointF p) { send(QEvent::MouseMove, p, Qt::NoButton); }
    void release(QPointF p, Qt::KeyboardModifiers m = {}) { send(QEvent::MouseButtonRelease, p, Qt::NoButton, m); }
    void dragPath(QPointF from, QPointF to, Qt::KeyboardModifiers m = {})
    {
        press(from, m);
        move((from + to) / 2, m);
        move(to, m);
        release(to, m);
    }
    void draw(CaptureTool tool, QPointF from, QPointF to)
    {
        document->setTool(tool);
        dragPath(from, to);
    }
    const CaptureAnnotation &last() const { return document->annotations().last(); }
    QColor pixel(QPointF viewPoint)
    {
        return canvas->grab().toImage().pixelColor(viewPoint.toPoint());
    }

    std::unique_ptr<CaptureDocument> document;
    std::unique_ptr<CaptureCanvasView> canvas;
};
