#pragma once

#include <QList>

class QAction;
class QMenu;
class QObject;
class TavimoSignals;

// "Send feedback…" and "Report a bug…", in this order; each opens the
// feedback window with its report type.
namespace FeedbackMenuItems {

QList<QAction *> make(TavimoSignals &tavimoSignals, QObject *parent);
void addTo(QMenu &menu, TavimoSignals &tavimoSignals);

} // namespace FeedbackMenuItems
