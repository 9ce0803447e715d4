#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Writes finished captures into dated folders of the user's capture folder,
// never replacing a file that is already there.
namespace CaptureAutoSave {

// The highest suffix tried: "Area-HHMMSS-9999.png".
inline constexpr int lastSuffix = 9999;

// Writes `png` as <folder>/yyyyMMdd/<source>-HHmmss[-n].png (local time, Western
// digits) and returns the file's path. Throws CaptureFileSystemError: the first
// error that is not a name collision, or the collision once every name is taken.
// A failed write leaves no file under the name it tried.
QString save(const QByteArray &png, const QString &folder, const QString &source, const QDateTime &date);

// Removes the hidden temporary files that writes cut short by a crash left in
// the dated folder of `date`; save() does it before it writes there.
void removeLeftovers(const QString &folder, const QDateTime &date);

} // namespace CaptureAutoSave
