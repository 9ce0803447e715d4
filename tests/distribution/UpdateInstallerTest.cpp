#include "UpdateInstaller.h"
#include "UpdateFixture.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(UpdateInstaller, ReplacesByRenameThroughLinksKeepingPermissions)
{
    UpdateFixture fixture;
    const QFile::Permissions mode =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
    QFile::setPermissions(fixture.installedPath, mode);
    const QString link = fixture.root.filePath("tavimo-link");
    ASSERT_TRUE(QFile::link(fixture.installedPath, link));
    const QString archive = fixture.root.filePath("tmp/archive");
    QFile newBuild(archive);
    ASSERT_TRUE(newBuild.open(QIODevice::WriteOnly) && newBuild.write(UpdateFixture::program("new")) > 0);
    newBuild.close();
    QFile running(fixture.installedPath);
    ASSERT_TRUE(running.open(QIODevice::ReadOnly));
    UpdateInstaller::replace(link, archive);
    EXPECT_EQ(running.readAll(), UpdateFixture::program("installed")) << "the old file is renamed over, not rewritten";
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fixture.installedContents(), UpdateFixture::program("new"));
    EXPECT_EQ(QFile::permissions(fixture.installedPath) & 0x7077, mode & 0x7077);
    EXPECT_EQ(QDir(fixture.root.filePath("app")).entryList(QDir::Files | QDir::Hidden), QStringList{"tavimo-capture"});
    for (const auto &[installed, source] : {std::pair{fixture.root.filePath("app/gone"), archive},
                                            {fixture.installedPath, fixture.root.filePath("none")},
                                            {fixture.installedPath, fixture.root.filePath("tmp")}}) {
        SCOPED_TRACE(source.toStdString());
        EXPECT_EQ(UpdateFixture::failureOf([&] { UpdateInstaller::replace(installed, source); }),
                  UpdaterError::installFailed);
        EXPECT_EQ(fixture.installedContents(), UpdateFixture::program("new"));
        EXPECT_EQ(QDir(fixture.root.filePath("app")).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"tavimo-capture"});
    }
}

TEST(UpdateInstaller, LeftoversOfACutShortInstallAreRemovedAndNothingElse)
{
    UpdateFixture fixture;
    const QDir app(fixture.root.filePath("app"));
    const QStringList leftovers{".tavimo-capture.update-Ab12Cd", ".tavimo-capture.update-000000"};
    const QStringList others{".tavimo-capture.bak", ".other.update-Ab12Cd", "tavimo-capture.update-Ab12Cd"};
    for (const QString &name : leftovers + others) {
        QFile file(app.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    UpdateInstaller::removeLeftovers(fixture.installedPath);
    EXPECT_EQ(
        app.entryList(QDir::Files | QDir::Hidden, QDir::Name),
        (QStringList{".other.update-Ab12Cd", ".tavimo-capture.bak", "tavimo-capture", "tavimo-capture.update-Ab12Cd"}));
    EXPECT_EQ(fixture.installedContents(), UpdateFixture::program("installed"));
}
