// The shipped wheel library: every file a library type, in the library
// format, keeping its guarantee (by the checker), within its size limit, and
// never larger than the wheel for v + 1 or than a stronger wheel of the same k and v.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <tuple>

#include "filter/wheel_check.h"
#include "filter/wheel_targets.h"

using namespace zelvor;

namespace {

using Key = std::tuple<int, int, int, int>; // k, v, p, t

std::map<Key, int> checkedLibrary()
{
    std::map<Key, int> rows;
    const std::filesystem::path folder = std::filesystem::path(ZELVOR_SOURCE_DIR) / "data" / std::filesystem::u8path("旋转矩阵");
    if (!std::filesystem::exists(folder))
        return rows;
    std::map<Key, bool> inLibrary;
    for (const WheelType& w : wheelLibraryTypes())
        inLibrary[{w.pick, w.numbers, w.hit, w.keep}] = true;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto u8 = entry.path().filename().u8string();
        const std::string name(u8.begin(), u8.end());
        if (name.size() < 4 || name.substr(name.size() - 4) != ".txt")
            continue;
        std::ifstream f(entry.path(), std::ios::binary);
        const std::string content((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        const WheelFileCheck check = checkWheelFile(name, content);
        EXPECT_EQ(check.verdict, WheelFileCheck::Verdict::Ok) << wheelCheckLine(name, check);
        const std::optional<WheelName> n = parseWheelName(name);
        if (!n)
            continue;
        const Key key{n->pick, n->numbers, n->hit, n->keep};
        EXPECT_TRUE(inLibrary.count(key)) << name << " is no library type";
        const WheelType type{n->pick, n->numbers, n->hit, n->keep};
        if (const std::optional<int> limit = wheelSizeLimit(type))
            EXPECT_LE(check.rows, *limit) << name << " best known " << *bestKnownWheelSize(type);
        if (const std::optional<int> best = bestKnownWheelSize(type); best && check.rows < *best)
            std::printf("new record: %s has %d rows, best known %d\n", name.c_str(), check.rows, *best);
        rows[key] = check.rows;
    }
    return rows;
}

} // namespace

TEST(WheelLibrary, EveryShippedWheelHoldsItsGuaranteeAndSize)
{
    const std::map<Key, int> rows = checkedLibrary();
    for (const auto& [key, count] : rows) {
        const auto [k, v, p, t] = key;
        if (auto up = rows.find({k, v + 1, p, t}); up != rows.end())
            EXPECT_LE(count, up->second) << "k=" << k << " v=" << v << " 中" << p << "保" << t << " against v + 1";
        for (const auto& [other, otherCount] : rows) {
            const auto [k2, v2, p2, t2] = other;
            if (k2 == k && v2 == v && p2 <= p && t2 >= t)
                EXPECT_LE(count, otherCount) << "k=" << k << " v=" << v << " 中" << p << "保" << t << " against 中" << p2
                                             << "保" << t2;
        }
    }
}
