#include "CapturePanelBackground.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>

void CapturePanelBackground::paint(QWidget &panel, double cornerRadius)
{
    QPainter painter(&panel);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(panel.rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    QColor material = panel.palette().color(QPalette::Window);
    material.setAlphaF(0.94);
    painter.fillPath(shape, material);
    painter.setPen(panel.palette().color(QPalette::Mid));
    painter.drawPath(shape);
}

void CapturePanelBackground::clipCorners(QWidget &panel, double cornerRadius)
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(panel.rect()), cornerRadius, cornerRadius);
    panel.setMask(QRegion(shape.toFillPolygon().toPolygon()));
}
