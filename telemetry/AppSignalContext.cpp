#include "AppSignalContext.h"

#include "BundleInfo.h"

#include <QRegularExpression>
#include <QSysInfo>

#include <unistd.h>

namespace {

QString valueOr(const BundleInfo &bundle, const char *key, const QString &fallback)
{
    const QString value = bundle.value(QLatin1String(key));
    return value.isEmpty() ? fallback : value;
}

quint64 physicalMemoryBytes()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return quint64(pages) * quint64(pageSize);
}

} // namespace

AppSignalContext AppSignalContext::current(const BundleInfo &bundle)
{
    const QString zero = QStringLiteral("0");
    return AppSignalContext{
        valueOr(bundle, "CFBundleIdentifier", QStringLiteral("tavimo")),
        valueOr(bundle, "CFBundleShortVersionString", zero) + QLatin1Char('+') +
            valueOr(bundle, "CFBundleVersion", zero),
        versionTriple(QSysInfo::kernelVersion()),
        QSysInfo::currentCpuArchitecture(),
        memoryClassFor(physicalMemoryBytes()),
    };
}

QString AppSignalContext::memoryClassFor(quint64 physicalMemoryBytes)
{
    const quint64 gibibytes = physicalMemoryBytes >> 30;
    if (gibibytes <= 8)
        return QStringLiteral("up_to_8GB");
    if (gibibytes <= 16)
        return QStringLiteral("up_to_16GB");
    if (gibibytes <= 32)
        return QStringLiteral("up_to_32GB");
    return QStringLiteral("over_32GB");
}

QString AppSignalContext::versionTriple(const QString &kernelRelease)
{
    static const QRegularExpression leadingNumbers(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const QRegularExpressionMatch match = leadingNumbers.match(kernelRelease);
    QStringList parts;
    for (int group = 1; group <= 3; ++group) {
        const QString digits = match.captured(group);
        parts << (digits.isEmpty() ? QStringLiteral("0") : QString::number(digits.toULongLong()));
    }
    return parts.join(QLatin1Char('.'));
}

QJsonObject AppSignalContext::metadata() const
{
    return QJsonObject{
        {QStringLiteral("os"), os},
        {QStringLiteral("architecture"), architecture},
        {QStringLiteral("memory_class"), memoryClass},
    };
}
