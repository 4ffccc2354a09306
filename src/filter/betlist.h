#pragma once
// Bet lists as the filtering windows show them (BetLine, the list file
// "temp.txt") and as users save them (BetFile): line layouts, writing a list
// from a CombinationTable, saving shown lines, loading a saved file.
// Plain C++: windows and the command line call these and show the result.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/progress.h"
#include "data/combinations.h"
#include "data/lottery.h"

namespace zelvor {

enum class BetLineLayout {
    WithSpecial, // "0000001    01 02 03 04 05 06+01"
    RedOnly,     // "0000012    03 07 11 19 25 33 " (ends in a blank)
};

// One BetLine. The sequence number is "%.7d"; numbers are "%.2d".
std::string betLineWithSpecial(std::int64_t sequence, std::span<const std::uint8_t> reds, int special);
std::string betLineRedOnly(std::int64_t sequence, std::span<const std::uint8_t> reds);

// Outcome of writing a file through a temporary file and a rename.
struct FileWriteResult {
    enum class Status { Written, Stopped, Failed };
    Status status = Status::Written;
    std::int64_t lines = 0; // lines written (the list's count)
    std::string error;      // for Failed
    bool ok() const { return status == Status::Written; }
};

// Writes a text file next to its target and renames it into place on commit,
// so a failure or a stop never leaves a half-written target. Buffers large
// blocks itself; callers append raw bytes.
class SafeFileWriter {
public:
    explicit SafeFileWriter(std::filesystem::path target, std::size_t bufferSize = 8u << 20);
    ~SafeFileWriter(); // drops the temporary file unless committed
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    bool isOpen() const { return ok_; }
    const std::string& error() const { return error_; }

    // Room for at least n more bytes; write them at the returned pointer and
    // then call advance(n).
    char* reserve(std::size_t n);
    void advance(std::size_t n) { used_ += n; }
    void append(std::string_view s);
    // Flush, close and rename over the target. False (with error()) on failure.
    bool commit();

private:
    bool flush();
    void fail(const std::string& what);

    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::ofstream out_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool ok_ = false;
    bool committed_ = false;
    std::string error_;
};

// Writes the list file from every kept row (mark 0) in row order: one line
// per row (RedOnly) or one line per special number in ascending order
// (WithSpecial). Lines end CR LF. progress(rowsDone, rowCount) is called
// every few thousand rows; false stops the write and keeps the old file.
FileWriteResult writeBetList(const std::filesystem::path& listFile, const CombinationTable& table,
                             BetLineLayout layout, std::span<const int> specials = {},
                             const ProgressFn& progress = {});

// ---------------------------------------------------------------- BetFile

// Which window a saved list belongs to; decides the default file name.
enum class BetListOwner { TotalFilter, RepeatExclusion, SumExclusion, SkewExclusion, FollowExclusion };

const char* betFileSuffix(BetListOwner owner);
// Lottery name + (last issue + 1) + suffix; the issue is never rolled over.
// An empty history counts as last issue 0.
std::string defaultBetFileName(const std::string& lotteryName, const DrawHistory& history,
                               BetListOwner owner);
// What the follow exclusion's open dialog proposes: name + issue text + "期投注号码.txt".
std::string followExclusionOpenName(const std::string& lotteryName, const std::string& issueText);

// The BetFile line for shown line n (1-based): its sequence number dropped,
// blanks trimmed. The number of line n is written with at least seven digits,
// so lines past 9,999,999 drop eight or more characters; a hand-edited line
// that lost its blanks still keeps its first red number.
std::string betFileLine(std::string_view shownLine, std::int64_t lineNumber);

// Writes a BetFile from shown lines pushed one at a time (the save rule of
// saveBetFile), through a temporary file and a rename on finish().
class BetFileWriter {
public:
    explicit BetFileWriter(const std::filesystem::path& file) : out_(file) {}
    bool isOpen() const { return out_.isOpen(); }
    void addShownLine(std::string_view shownLine);
    FileWriteResult finish();
    // Gives up: the target keeps its old content.
    FileWriteResult stop();

private:
    SafeFileWriter out_;
    std::int64_t lines_ = 0;
    std::int64_t shown_ = 0;
};

// Pulls the next shown line into `line`; false at the end.
using LineSource = std::function<bool(std::string_view& line)>;

// Saves shown lines as a BetFile (CR LF, temp file + rename). A line that is
// empty after the sequence number is removed is skipped, so the file never
// holds a blank line that would end a later load early.
FileWriteResult saveBetFile(const std::filesystem::path& file, const LineSource& shownLines);
FileWriteResult saveBetFile(const std::filesystem::path& file, std::span<const std::string> shownLines);

// Which window reads the file: the total filter stops at an empty line and
// reads the blue fields; the exclusion windows read red numbers only and
// refuse an empty line as a number that is not an integer.
enum class BetFileReader { TotalFilter, Exclusion };

struct BetFileLoadOptions {
    BetFileReader reader = BetFileReader::TotalFilter;
    int numberRange = 33; // N
    int pickCount = 6;    // k
    int specialRange = 16; // M
    int specialCount = 1;  // m
    std::int64_t maxCombinations = 1'200'000;
    // Where to write the list to show (normally ProgramDir/"temp.txt"). When
    // empty the shown lines are returned in BetFileLoad::shownLines instead.
    std::filesystem::path listFile;
    ProgressFn progress; // called every few thousand lines; false stops the load
};

struct BetFileLoad {
    enum class Status { Loaded, Failed, Stopped };
    Status status = Status::Loaded;
    std::string error;                 // for Failed: names the line and the text
    int pickCount = 0;
    std::vector<std::uint8_t> numbers; // the combinations, k numbers each, file order
    std::int64_t combinations = 0;
    std::int64_t linesRead = 0;        // lines taken (before an empty line for the total filter)
    std::int64_t linesShown = 0;       // lines of the list to show
    std::vector<int> chosenReds;       // every red number found, ascending
    std::vector<int> chosenBlues;      // every blue found while lines were long enough, ascending
    std::vector<std::string> shownLines; // only when no list file was given
    bool ok() const { return status == Status::Loaded; }
};

// Reads a BetFile. Nothing global is touched: the caller replaces its
// CandidateTable by `numbers` (CombinationTable::assign) and shows the list.
// On failure nothing is written and the list file keeps its old content.
BetFileLoad loadBetFile(const std::filesystem::path& file, const BetFileLoadOptions& options);

// The load options of a window of the open lottery: its reader, the
// lottery's ranges and the list file to write.
BetFileLoadOptions betFileLoadOptions(BetFileReader reader, const LotteryParams& lottery,
                                      std::filesystem::path listFile);

} // namespace zelvor
