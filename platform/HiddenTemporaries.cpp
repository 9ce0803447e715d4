#include "HiddenTemporaries.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

bool HiddenTemporaries::isWriterSuffix(QStringView suffix)
{
    return suffix.size() > writerMark.size() && suffix.startsWith(writerMark);
}

HiddenTemporaries::Test HiddenTemporaries::writerTemporariesOf(const QString &name)
{
    return [name](QStringView target, QStringView suffix) {
        return target == name && isWriterSuffix(suffix);
    };
}

int HiddenTemporaries::remove(const QString &folder, const Test &isOurs)
{
    static const QRegularExpression hidden(QStringLiteral("^\\.(.+)\\.([-0-9A-Za-z]{1,32})$"));
    const QDir directory(folder);
    int removed = 0;
    for (const QString &name : directory.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
        const QRegularExpressionMatch match = hidden.match(name);
        if (match.hasMatch() && isOurs(match.capturedView(1), match.capturedView(2)) &&
            QFile::remove(directory.filePath(name)))
            ++removed;
    }
    return removed;
}
