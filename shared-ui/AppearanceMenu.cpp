#include "AppearanceMenu.h"

#include "AppTheme.h"
#include "UserDefaults.h"

namespace {
const QStringList values{QStringLiteral("system"), QStringLiteral("light"), QStringLiteral("dark")};
}

AppearanceMenu::AppearanceMenu(UserDefaults &defaults, QWidget *parent) : QComboBox(parent), m_defaults(defaults)
{
    addItems({tr("System"), tr("Light"), tr("Dark")});
    setAccessibleName(tr("Appearance"));
    setAccessibleDescription(tr("Change the appearance of this app only"));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    sync(appearance());
    connect(this, &QComboBox::activated, this, &AppearanceMenu::pick);
}

QString AppearanceMenu::appearance() const
{
    return m_defaults.stringValue(key).value_or(QStringLiteral("system"));
}

void AppearanceMenu::sync(const QString &value)
{
    const qsizetype index = values.indexOf(value);
    setCurrentIndex(index > 0 ? int(index) : 0);
}

void AppearanceMenu::pick(int index)
{
    if (index < 0 || index >= 3)
        return;
    const QString value = values[index];
    m_defaults.setValue(key, value);
    AppTheme::apply(value);
    emit appearanceChanged(value);
}
