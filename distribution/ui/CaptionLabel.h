#pragma once

#include <QString>

class QLabel;
class QWidget;

// Small secondary text under a setting.
namespace CaptionLabel {

QLabel *make(const QString &text = QString(), QWidget *parent = nullptr);

} // namespace CaptionLabel
