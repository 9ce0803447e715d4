#include "HiddenTemporaries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(HiddenTemporariesTest, RemovesOnlyTheWritersTemporariesOfTheNamedFile)
{
    QTemporaryDir folder;
    const QStringList ours{".defaults.json.tavimo-k3x9q", ".defaults.json.tavimo-0"};
    const QStringList others{
        "defaults.json",           ".defaults.json.old",         ".defaults.json.tavimo-",   ".other.json.tavimo-k3",
        "defaults.json.tavimo-k3", ".defaults.json.tavimo-k3/x", ".defaults.json.tavimo-k.3"};
    for (const QString &name : ours + others) {
        if (name.contains('/')) {
            QDir(folder.path()).mkpath(name);
            continue;
        }
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString outside = folder.filePath("outside");
    QDir().mkpath(outside);
    QFile(outside + "/target").open(QIODevice::WriteOnly);
    QFile::link(outside + "/target", folder.filePath(".defaults.json.tavimo-link"));

    EXPECT_EQ(HiddenTemporaries::remove(folder.path(), HiddenTemporaries::writerTemporariesOf("defaults.json")), 2);
    for (const QString &name : ours)
        EXPECT_FALSE(QFileInfo::exists(folder.filePath(name))) << name.toStdString();
    for (const QString &name : others)
        EXPECT_TRUE(QFileInfo::exists(folder.filePath(name))) << name.toStdString();
    EXPECT_TRUE(QFileInfo(folder.filePath(".defaults.json.tavimo-link")).isSymLink()) << "links are not followed";
    EXPECT_TRUE(QFileInfo::exists(outside + "/target"));
    EXPECT_EQ(HiddenTemporaries::remove(folder.filePath("missing"), HiddenTemporaries::writerTemporariesOf("x")), 0);
}
