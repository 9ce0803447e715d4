#pragma once

#include <QWidget>

class QCheckBox;
class TavimoSignals;

// The settings block where the user turns usage statistics and the
// approximate city on or off, reads what is collected and opens the feedback
// window.
class SupportSettingsFooter : public QWidget {
    Q_OBJECT
public:
    explicit SupportSettingsFooter(TavimoSignals &tavimoSignals, QWidget *parent = nullptr);

private:
    QWidget *makePrivacyDetails();
    void showSwitches();

    TavimoSignals &m_signals;
    QCheckBox *m_usage;
    QCheckBox *m_city;
};
