#pragma once

#include <QJsonObject>
#include <QString>
#include <QtGlobal>

class BundleInfo;

// What the reports say about the running app and computer, fixed at start-up.
struct AppSignalContext {
    QString app;          // "local.tavimo.capture"
    QString release;      // "0.4.0+57"
    QString os;           // kernel version, "6.1.0"
    QString architecture; // "x86_64"
    QString memoryClass;  // "up_to_16GB"

    // The values of this build on this computer.
    static AppSignalContext current(const BundleInfo &bundle);

    // "up_to_8GB", "up_to_16GB", "up_to_32GB" or "over_32GB" for whole GiB of memory.
    static QString memoryClassFor(quint64 physicalMemoryBytes);
    // The leading major.minor.patch of a kernel release ("6.1.0-18-amd64" gives
    // "6.1.0"); missing parts read 0.
    static QString versionTriple(const QString &kernelRelease);

    // {"os", "architecture", "memory_class"}
    QJsonObject metadata() const;
};
