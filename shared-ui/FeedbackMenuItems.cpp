#include "FeedbackMenuItems.h"

#include "AcceleratorText.h"
#include "SupportWindow.h"
#include "TavimoSignals.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

namespace FeedbackMenuItems {

QList<QAction *> make(TavimoSignals &tavimoSignals, QObject *parent)
{
    QList<QAction *> actions;
    for (const auto &[title, bug] : {std::pair{QT_TRANSLATE_NOOP("FeedbackMenuItems", "Send feedback…"), false},
                                     std::pair{QT_TRANSLATE_NOOP("FeedbackMenuItems", "Report a bug…"), true}}) {
        auto *action =
            new QAction(AcceleratorText::literal(QCoreApplication::translate("FeedbackMenuItems", title)), parent);
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
