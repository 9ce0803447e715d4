#include "FeedbackMenuItems.h"

#include "AcceleratorText.h"
#include "SupportWindow.h"
#include "TavimoSignals.h"

#include <QAction>
#include <QMenu>

namespace FeedbackMenuItems {

QList<QAction *> make(TavimoSignals &tavimoSignals, QObject *parent)
{
    QList<QAction *> actions;
    for (const auto &[title, bug] : {std::pair{"Send feedback…", false}, std::pair{"Report a bug…", true}}) {
        auto *action = new QAction(AcceleratorText::literal(QString::fromUtf8(title)), parent);
        QObject::connect(action, &QAction::triggered, &tavimoSignals,
                         [&tavimoSignals, bug] { SupportWindow::show(tavimoSignals, bug); });
        actions << action;
    }
    return actions;
}

void addTo(QMenu &menu, TavimoSignals &tavimoSignals)
{
    menu.addActions(make(tavimoSignals, &menu));
}

} // namespace FeedbackMenuItems
