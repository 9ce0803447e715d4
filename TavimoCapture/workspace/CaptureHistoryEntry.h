#pragma once

#include <QImage>
#include <QString>

#include <optional>

// A recent image loaded again for editing: the image, the entry's file name
// that later exports replace, and the file it was last exported to.
struct CaptureHistoryEntry {
    QImage image;
    QString historyID;
    std::optional<QString> exportPath;
};
