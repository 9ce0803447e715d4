#pragma once

#include <QString>
#include <QUuid>

// One legend row: the description of a numbered marker. Derived, never stored.
struct CaptureLegendEntry {
    QUuid id;
    qint64 number = 0;
    QString text;

    bool operator==(const CaptureLegendEntry &) const = default;
};
