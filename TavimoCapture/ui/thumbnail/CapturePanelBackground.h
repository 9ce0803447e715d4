#pragma once

class QWidget;

// The translucent rounded background of the floating panels.
namespace CapturePanelBackground {

void paint(QWidget &panel, double cornerRadius);

} // namespace CapturePanelBackground
