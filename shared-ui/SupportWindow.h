#pragma once

class QWidget;
class TavimoSignals;

// The feedback window: one per telemetry facade, made on first use.
namespace SupportWindow {

// Opens the window, or brings it forward, as a bug report or as feedback.
void show(TavimoSignals &tavimoSignals, bool bug);
// The window once it has been opened.
QWidget *of(const TavimoSignals &tavimoSignals);

} // namespace SupportWindow
