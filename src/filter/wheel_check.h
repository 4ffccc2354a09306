#pragma once
// The wheel library's checker: file names, the library's file format and the
// guarantee, counted exactly. Written apart from anything that makes wheels,
// so that a fault in a search cannot hide itself here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvor {

// What a library file name promises: 选{k}型{v}码中{p}保{t}.txt.
struct WheelName {
    int pick = 0;    // k
    int numbers = 0; // v
    int hit = 0;     // p
    int keep = 0;    // t
};
// "选六型10码中6保5.txt" → {6, 10, 6, 5}: numeral 一..七, v in two digits,
// p and t without leading zeros, 1 ≤ t ≤ p ≤ v and t ≤ k ≤ v ≤ 21.
std::optional<WheelName> parseWheelName(std::string_view fileName);

// Number of p-subsets of 1..v that meet no row in t or more indexes (rows:
// index sets of 1..v as bit masks, index i as bit i - 1). With first, the
// lexicographically first of them (ascending indexes) when there is one.
std::int64_t uncoveredSubsets(int v, int p, int t, const std::vector<std::uint32_t>& rows,
                              std::vector<int>* first = nullptr);

struct WheelFileCheck {
    enum class Verdict { Ok, Holes, BadLine, BadName };
    Verdict verdict = Verdict::Ok;
    int rows = 0;
    std::int64_t holes = 0;
    std::vector<int> first; // Holes: the first uncovered p-subset
    int badLine = 0;        // BadLine: 1-based
};
// Checks one library file: its name, then its format (k indexes a line in
// 1..v ascending, one blank between, every line ended CR LF, rows strictly
// increasing, nothing else; an empty file breaks at line 1), then the guarantee.
WheelFileCheck checkWheelFile(std::string_view fileName, std::string_view content);

// The report line of one file: "NAME\trows=R\tok", "NAME\trows=R\tholes=H\tfirst=01 02 …",
// "NAME\tbad line n" or "NAME\tbad name".
std::string wheelCheckLine(std::string_view fileName, const WheelFileCheck& check);

} // namespace zelvor
