#pragma once

#include <QWidget>

class AppearanceMenu;
class UserDefaults;

// A row with the label "Appearance" and the AppearanceMenu, at its ideal size.
class AppearancePicker : public QWidget {
    Q_OBJECT

public:
    explicit AppearancePicker(UserDefaults &defaults, QWidget *parent = nullptr);

    AppearanceMenu *menu() const { return m_menu; }

private:
    AppearanceMenu *m_menu;
};
