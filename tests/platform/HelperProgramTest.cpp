#include "HelperProgram.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void makeProgram(const QString &path)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

TEST(HelperProgram, FoundBesideTheAppInTheBuildTreeAndInLibexecOnceInstalled)
{
    QTemporaryDir prefix;
    const QString installed = prefix.filePath("libexec/tavimo-capture/tavimo-ocr");
    makeProgram(installed);
    ASSERT_TRUE(QDir().mkpath(prefix.filePath("bin")));
    EXPECT_EQ(HelperProgram::path("tavimo-ocr", prefix.filePath("bin")), installed);

    makeProgram(prefix.filePath("bin/tavimo-ocr"));
    EXPECT_EQ(HelperProgram::path("tavimo-ocr", prefix.filePath("bin")), prefix.filePath("bin/tavimo-ocr"));
}

} // namespace
