#include "UpdateInstaller.h"
#include "UpdateFixture.h"
#include "UpdaterError.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

QString written(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(contents);
    return path;
}

std::optional<UpdaterError> failureOf(const std::function<void()> &job)
{
    try {
        job();
        return std::nullopt;
    } catch (const UpdaterFailure &failure) {
        return failure.code();
    }
}

} // namespace

TEST(UpdateInstaller, ReplacesThroughLinksAndKeepsPermissions)
{
    UpdateFixture fixture;
    const QFile::Permissions mode =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
    QFile::setPermissions(fixture.installedPath, mode);
    const QString link = fixture.root.filePath("tavimo-link");
    ASSERT_TRUE(QFile::link(fixture.installedPath, link));
    const QString archive = written(fixture.root.filePath("tmp/archive"), UpdateFixture::program("new"));

    UpdateInstaller::replace(link, archive);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fixture.installedContents(), UpdateFixture::program("new"));
    EXPECT_EQ(QFile::permissions(fixture.installedPath) & 0x7077, mode & 0x7077);
    EXPECT_EQ(QDir(fixture.root.filePath("app")).entryList(QDir::Files | QDir::Hidden), QStringList{"tavimo-capture"});

    EXPECT_EQ(failureOf([&] { UpdateInstaller::replace(fixture.root.filePath("app/gone"), archive); }),
              UpdaterError::installFailed);
    EXPECT_EQ(failureOf([&] { UpdateInstaller::replace(fixture.installedPath, fixture.root.filePath("none")); }),
              UpdaterError::installFailed);
    EXPECT_EQ(fixture.installedContents(), UpdateFixture::program("new"));
}
