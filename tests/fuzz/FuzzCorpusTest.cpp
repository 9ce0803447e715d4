#include "FuzzEntryPoints.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

namespace {

class FuzzCorpusTest : public testing::TestWithParam<FuzzEntryPoints::Target> {};

std::string nameOf(const testing::TestParamInfo<FuzzEntryPoints::Target> &info)
{
    return info.param.name.toStdString();
}

} // namespace

// Seeds and every input the fuzzers found a fault with, fed as the fuzzers
// feed them: a fault that comes back crashes, hangs or fails here.
TEST_P(FuzzCorpusTest, EveryInputIsReadWithoutFault)
{
    QImageReader::setAllocationLimit(1024);
    const QDir folder(QStringLiteral(TAVIMO_FUZZ_CORPUS "/") + GetParam().name);
    const QStringList files = folder.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << folder.path().toStdString();
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray input = file.readAll();
        GetParam().run(input);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzCorpusTest, testing::ValuesIn(FuzzEntryPoints::targets()), nameOf);
