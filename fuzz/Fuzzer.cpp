// A libFuzzer target over one entry point, chosen when built (TAVIMO_FUZZ_TARGET).
#include "FuzzEntryPoints.h"

#include <QCoreApplication>
#include <QImageReader>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

FuzzEntryPoints::Target::Runner runner = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    QImageReader::setAllocationLimit(1024);
    const auto &targets = FuzzEntryPoints::targets();
    const auto found = std::ranges::find(targets, QStringLiteral(TAVIMO_FUZZ_TARGET), &FuzzEntryPoints::Target::name);
    if (found == targets.end())
        std::abort();
    runner = found->run;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    runner(QByteArrayView(data, qsizetype(size)));
    return 0;
}
