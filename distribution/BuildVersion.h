#pragma once

#include <QList>
#include <QString>

#include <optional>

// Build numbers such as "42" or "1.10.3": digits in dot-separated groups,
// compared group by group as numbers ("1.10" is above "1.9"; "1.0" equals "1").
namespace BuildVersion {

// The numeric groups, or nothing when `text` is not a build number.
std::optional<QList<quint64>> parse(const QString &text);

// Negative, zero or positive as `left` is below, equal to or above `right`.
int compare(const QList<quint64> &left, const QList<quint64> &right);

} // namespace BuildVersion
