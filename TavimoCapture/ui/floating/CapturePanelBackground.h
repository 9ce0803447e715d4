#pragma once

class QWidget;

// The translucent rounded background of the floating panels.
namespace CapturePanelBackground {

void paint(QWidget &panel, double cornerRadius);
// Cuts the corners off, for desktops that draw no transparency.
void clipCorners(QWidget &panel, double cornerRadius);

} // namespace CapturePanelBackground
