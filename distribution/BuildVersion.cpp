#include "BuildVersion.h"

#include <QRegularExpression>

namespace BuildVersion {

std::optional<QList<quint64>> parse(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{1,18}(\\.[0-9]{1,18})*$"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    QList<quint64> groups;
    for (const QString &group : text.split(QLatin1Char('.')))
        groups.append(group.toULongLong());
    return groups;
}

int compare(const QList<quint64> &left, const QList<quint64> &right)
{
    const qsizetype count = std::max(left.size(), right.size());
    for (qsizetype index = 0; index < count; ++index) {
        const quint64 leftGroup = left.value(index, 0);
        const quint64 rightGroup = right.value(index, 0);
        if (leftGroup != rightGroup)
            return leftGroup < rightGroup ? -1 : 1;
    }
    return 0;
}

} // namespace BuildVersion
