#pragma once

#include <QComboBox>
#include <QString>

class UserDefaults;

// The pop-up "System", "Light", "Dark" bound to the "appearance" preference.
// An unknown stored value shows "System". Picking an item stores its value
// and applies it to this app (AppTheme::apply).
class AppearanceMenu : public QComboBox {
    Q_OBJECT

public:
    static inline const QString key = QStringLiteral("appearance");

    explicit AppearanceMenu(UserDefaults &defaults, QWidget *parent = nullptr);

    // The stored value; "system" when none is stored.
    QString appearance() const;
    // Shows `value` (index 0 for anything but "light" and "dark"); stores nothing.
    void sync(const QString &value);

signals:
    void appearanceChanged(const QString &appearance);

private:
    void pick(int index);

    UserDefaults &m_defaults;
};
