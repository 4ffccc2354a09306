// libFuzzer target: loading a saved bet file. The loader reads a path, so the
// input (after two setting bytes) is written to a file of its own first. A
// loaded set must hold only ascending combinations of the lottery's numbers.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "filter/betlist.h"

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

std::filesystem::path scratch(const char* name)
{
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / ("zelvor-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir / name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    zelvor::BetFileLoadOptions options;
    options.reader = data[0] & 1 ? zelvor::BetFileReader::Exclusion : zelvor::BetFileReader::TotalFilter;
    options.pickCount = 4 + (data[0] >> 1) % 4;               // 4..7
    options.numberRange = options.pickCount + data[1] % 60;   // k..k+59
    options.specialRange = data[0] & 0x10 ? 0 : 16;
    options.specialCount = options.specialRange ? 1 : 0;
    options.maxCombinations = 1000;
    const bool toListFile = data[0] & 0x20;
    if (toListFile)
        options.listFile = scratch("temp.txt");

    const std::filesystem::path file = scratch("bets.txt");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 2), static_cast<std::streamsize>(size - 2));
    }
    const zelvor::BetFileLoad load = zelvor::loadBetFile(file, options);
    if (!load.ok()) {
        check(!load.error.empty());
        check(load.error.size() < 400);
        check(load.numbers.empty());
        return 0;
    }
    const std::size_t k = static_cast<std::size_t>(options.pickCount);
    check(load.numbers.size() == static_cast<std::size_t>(load.combinations) * k);
    check(load.combinations <= options.maxCombinations);
    for (std::size_t i = 0; i < load.numbers.size(); i += k) {
        check(load.numbers[i] >= 1);
        check(load.numbers[i + k - 1] <= options.numberRange);
        for (std::size_t j = 1; j < k; ++j)
            check(load.numbers[i + j - 1] < load.numbers[i + j]);
    }
    for (int v : load.chosenBlues)
        check(v >= 1 && v <= options.specialRange);
    if (!toListFile)
        check(static_cast<std::int64_t>(load.shownLines.size()) == load.linesShown);
    return 0;
}
