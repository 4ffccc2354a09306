#pragma once
// Intersection of saved bet files ("大底交集"): every combination is counted
// once per file that holds it, and those held by all files (or all but a
// tolerated number of them) are written to the list file, with the special
// numbers chosen. Plain C++; the window and the command line call run().
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/progress.h"
#include "data/lottery.h"

namespace zelvor {

inline constexpr int kMaxIntersectionFiles = 20000;

// "导入特码", "不选特码", "全选特码", "输入特码".
enum class SpecialChoice { Import = 0, None = 1, All = 2, Typed = 3 };

struct IntersectionInput {
    std::vector<std::filesystem::path> files; // in list order
    int toleranceLow = 0;  // a
    int toleranceHigh = 0; // b
    SpecialChoice specials = SpecialChoice::Import;
    std::string typed;     // "输入特码": numbers separated by blanks, "+" or ","
    std::filesystem::path listFile; // "temp.txt"
    // Called before each file (done, files) and every few thousand result
    // rows (done, rows); false stops the run with nothing written.
    ProgressFn progress;
};

struct IntersectionResult {
    enum class Status { Written, Refused, Failed, Stopped };
    Status status = Status::Written;
    std::string message;        // for Refused and Failed
    std::int64_t lines = 0;     // lines written to the list file
    std::int64_t combinations = 0; // combinations in the result
    bool withSpecials = false;  // whether the lines carry a special number
    std::vector<int> specials;  // the specials written, ascending
    bool ok() const { return status == Status::Written; }
};

// The typed special numbers, ascending and distinct; an empty message when
// they are fine, else why they are refused.
std::string readTypedSpecials(std::string_view text, int specialRange, std::vector<int>& specials);

// Checks the input, reads every file, and only then rewrites the list file.
// A refusal, a read error or a bad line leaves the list file as it was.
IntersectionResult runIntersection(const LotteryParams& lottery, const IntersectionInput& input);

// What reading the files leaves for writing: per combination (in the list's
// order) how many files hold it, and the special numbers to write.
struct IntersectionCounts {
    struct Entry {
        std::uint16_t count; // files holding the combination
        std::uint16_t stamp; // the last file (1-based) that counted it
    };
    std::int64_t rows = 0;
    std::unique_ptr<Entry, void (*)(void*)> entries{nullptr, &std::free};
};

// runIntersection in its two halves. countIntersection checks the input and
// reads every file; its result is ok() with withSpecials and specials set,
// or says why not. writeIntersection then writes the list file from those
// counts and that result.
IntersectionResult countIntersection(const LotteryParams& lottery, const IntersectionInput& input,
                                     IntersectionCounts& counts);
IntersectionResult writeIntersection(const LotteryParams& lottery, const IntersectionInput& input,
                                     const IntersectionCounts& counts, IntersectionResult counted);

// The window's "保存号码": every shown line unchanged, one blank and CR LF.
// Written through a temporary file; false with *error on failure.
bool saveIntersectionLines(const std::filesystem::path& listFile, const std::filesystem::path& target,
                           std::string* error);

} // namespace zelvor
