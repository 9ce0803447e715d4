#pragma once

#include <QByteArray>

// What this process has used so far, read from the kernel.
namespace ProcessUsage {

// CPU seconds of every thread of the process.
double cpuSeconds();
// A "kB" field of /proc/self/status such as "VmRSS:" or "VmHWM:"; -1 when unreadable.
qint64 statusKilobytes(const QByteArray &field);
// Resets the peak resident size (VmHWM) to the current size; false when the kernel refuses.
bool resetPeakResidentSize();

} // namespace ProcessUsage
