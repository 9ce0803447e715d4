#include "AppearancePicker.h"

#include "AppearanceMenu.h"

#include <QHBoxLayout>
#include <QLabel>

AppearancePicker::AppearancePicker(UserDefaults &defaults, QWidget *parent)
    : QWidget(parent), m_menu(new AppearanceMenu(defaults, this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(tr("Appearance"), this);
    label->setBuddy(m_menu);
    row->addWidget(label);
    row->addWidget(m_menu);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}
