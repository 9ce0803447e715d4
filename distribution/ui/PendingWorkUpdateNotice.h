#pragma once

#include <QWidget>

class AppUpdates;
class QLabel;
class QPushButton;

// The bar at the top of the editor while a downloaded update waits for the
// open work: the status and the command that resolves the work. Hidden
// otherwise.
class PendingWorkUpdateNotice : public QWidget {
    Q_OBJECT

public:
    explicit PendingWorkUpdateNotice(AppUpdates &updates, QWidget *parent = nullptr);

    QLabel *messageLabel() const { return m_message; }
    QPushButton *workButton() const { return m_work; }

private:
    void refresh();

    AppUpdates &m_updates;
    QLabel *m_message;
    QPushButton *m_work;
};
