#include "TestFiles.h"

#include <QFile>

#include <unistd.h>

#include <gtest/gtest.h>

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(data), data.size());
}

QString unreadableFile(const QString &path)
{
    if (::geteuid() == 0)
        return QStringLiteral("/proc/sys/vm/compact_memory");
    writeFile(path, QByteArrayLiteral("locked"));
    QFile::setPermissions(path, QFileDevice::Permissions());
    return path;
}
