#include "AtomicFileWriter.h"

#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <optional>
#include <utility>

namespace {

using AtomicFileWriter::Existing;
using AtomicFileWriter::Permissions;

class AtomicFileWriterTest : public testing::Test {
protected:
    QString path(const char *name) const { return folder.filePath(name); }
    QStringList everyFile() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir folder;
};

QFileDevice::Permissions ownerReadWrite()
{
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;
}

// Set by a test to step into the writer's system calls; they run as usual otherwise.
std::function<void()> beforeFsync;
int failRenameWithErrno = 0;
int failLinkWithErrno = 0;

template <typename Function> Function *next(const char *name)
{
    return reinterpret_cast<Function *>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int descriptor)
{
    if (beforeFsync)
        std::exchange(beforeFsync, nullptr)();
    return next<int(int)>("fsync")(descriptor);
}

extern "C" int renameat2(int fromFolder, const char *from, int toFolder, const char *to, unsigned flags)
{
    if (failRenameWithErrno) {
        errno = failRenameWithErrno;
        return -1;
    }
    return next<int(int, const char *, int, const char *, unsigned)>("renameat2")(fromFolder, from, toFolder, to,
                                                                                  flags);
}

extern "C" int link(const char *from, const char *to)
{
    if (failLinkWithErrno) {
        errno = failLinkWithErrno;
        return -1;
    }
    return next<int(const char *, const char *)>("link")(from, to);
}

TEST_F(AtomicFileWriterTest, ReplacesInOneStepWithTheChosenPermissions)
{
    EXPECT_FALSE(AtomicFileWriter::write(path("private"), "one", Existing::replace, Permissions::ownerOnly));
    EXPECT_FALSE(AtomicFileWriter::write(path("private"), "two", Existing::replace, Permissions::ownerOnly));
    EXPECT_EQ(readFile(path("private")), "two");
    EXPECT_EQ(QFile::permissions(path("private")), ownerReadWrite());

    const mode_t previous = ::umask(022);
    EXPECT_FALSE(AtomicFileWriter::write(path("usual"), "new", Existing::replace, Permissions::usual));
    ::umask(previous);
    EXPECT_EQ(QFile::permissions(path("usual")), ownerReadWrite() | QFileDevice::ReadGroup | QFileDevice::ReadOther);

    writeFile(path("export"), "old");
    ASSERT_TRUE(QFile::setPermissions(path("export"), ownerReadWrite() | QFileDevice::ReadGroup));
    EXPECT_FALSE(AtomicFileWriter::write(path("export"), "new", Existing::replace, Permissions::keepReplaced));
    EXPECT_EQ(readFile(path("export")), "new");
    EXPECT_EQ(QFile::permissions(path("export")), ownerReadWrite() | QFileDevice::ReadGroup);
    EXPECT_EQ(everyFile(), QStringList({"export", "private", "usual"}));
}

TEST_F(AtomicFileWriterTest, NeverOverwritesAFileThatIsThereOrAppearsMeanwhile)
{
    EXPECT_FALSE(AtomicFileWriter::write(path("shot.png"), "first", Existing::keep, Permissions::usual));
    EXPECT_EQ(readFile(path("shot.png")), "first");
    EXPECT_EQ(AtomicFileWriter::write(path("shot.png"), "second", Existing::keep, Permissions::usual),
              std::errc::file_exists);
    EXPECT_EQ(readFile(path("shot.png")), "first");
    beforeFsync = [this] {
        writeFile(path("late.png"), "intruder");
    };
    EXPECT_EQ(AtomicFileWriter::write(path("late.png"), "mine", Existing::keep, Permissions::usual),
              std::errc::file_exists);
    EXPECT_EQ(readFile(path("late.png")), "intruder");
    EXPECT_EQ(everyFile(), QStringList({"late.png", "shot.png"}));
}

TEST_F(AtomicFileWriterTest, WithoutAnExclusiveRenameFallsBackToALinkThenToAnExclusiveCreate)
{
    failRenameWithErrno = EINVAL;
    EXPECT_FALSE(AtomicFileWriter::write(path("linked.png"), "linked", Existing::keep, Permissions::ownerOnly));
    beforeFsync = [this] {
        writeFile(path("late.png"), "intruder");
    };
    EXPECT_EQ(AtomicFileWriter::write(path("late.png"), "mine", Existing::keep, Permissions::usual),
              std::errc::file_exists);
    failLinkWithErrno = EPERM;
    EXPECT_FALSE(AtomicFileWriter::write(path("created.png"), "created", Existing::keep, Permissions::ownerOnly));
    EXPECT_EQ(AtomicFileWriter::write(path("created.png"), "again", Existing::keep, Permissions::usual),
              std::errc::file_exists);
    // The disk fills up after the hidden file is complete, while the target is written in place.
    std::optional<FileSizeLimit> diskFull;
    beforeFsync = [&diskFull] {
        diskFull.emplace(1000);
    };
    EXPECT_EQ(AtomicFileWriter::write(path("full.png"), QByteArray(5000, 'x'), Existing::keep, Permissions::usual),
              std::errc::file_too_large);
    diskFull.reset();
    failRenameWithErrno = failLinkWithErrno = 0;
    EXPECT_EQ(readFile(path("linked.png")), "linked");
    EXPECT_EQ(QFile::permissions(path("linked.png")), ownerReadWrite());
    EXPECT_EQ(readFile(path("late.png")), "intruder");
    EXPECT_EQ(readFile(path("created.png")), "created");
    EXPECT_EQ(QFile::permissions(path("created.png")), ownerReadWrite());
    EXPECT_EQ(everyFile(), QStringList({"created.png", "late.png", "linked.png"}));
}

TEST_F(AtomicFileWriterTest, FailuresLeaveTheTargetAsItWasAndNoHiddenFile)
{
    writeFile(path("kept"), "before");
    {
        const FileSizeLimit diskFull(1000);
        const QByteArray large(5000, 'x');
        EXPECT_EQ(AtomicFileWriter::write(path("kept"), large, Existing::replace, Permissions::ownerOnly),
                  std::errc::file_too_large);
        EXPECT_EQ(AtomicFileWriter::write(path("new"), large, Existing::keep, Permissions::usual),
                  std::errc::file_too_large);
    }
    EXPECT_EQ(readFile(path("kept")), "before");
    EXPECT_EQ(everyFile(), QStringList{"kept"});

    EXPECT_EQ(AtomicFileWriter::write(path("missing/shot.png"), "x", Existing::keep, Permissions::usual),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(AtomicFileWriter::write(path("kept/shot.png"), "x", Existing::replace, Permissions::usual),
              std::errc::not_a_directory);
    EXPECT_EQ(everyFile(), QStringList{"kept"});
}
