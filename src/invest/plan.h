#pragma once
// Multiplier plans for chasing one bet over a number of issues: the fixed plan
// (a multiplier chosen afresh for every issue), the staged plan (one
// multiplier per stage of consecutive issues) and the variable plan (issue by
// issue with its own number of bets). Plain C++, shared by the three plan
// windows and zelvor-cli.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zelvor::invest {

enum class PlanKind { Fixed, Staged, Variable };

// The largest multiplier a plan tries.
inline constexpr std::int64_t kPlanMaxMultiplier = 10000;
// Every field is a whole number within ±kFieldLimit; 投注期数 and 阶段次数 1..kMaxIssues.
inline constexpr std::int64_t kFieldLimit = 1000000000;
inline constexpr std::int64_t kMaxIssues = 10000;

inline constexpr const char* kMultiplierTooLarge = "所需倍数太大，无法投注！";
inline constexpr const char* kAverageLabel = "平均每期净利润为:";

// What describes one plan window: caption, print title, file name, the
// fields it shows, its grid columns and its print labels.
struct PlanDescriptor {
    PlanKind kind;
    const char* className;   // "Tfrmgudingjihua"
    const char* caption;     // "固定计划投资"
    const char* title;       // "固定投资计划表"
    const char* fileName;    // "固定投资计划表.txt"
    int parameterLines;      // 5 or 6 lines of fields in a plan file
    int columns;             // 7 or 8 grid columns
    const char* labelSeparator; // "  " (fixed) or " " before each printed label
};
const PlanDescriptor& planDescriptor(PlanKind kind);

// The field texts of a window: P, L, C, W, N, S, B in this order.
enum PlanField { FieldP, FieldL, FieldC, FieldW, FieldN, FieldS, FieldB, PlanFieldCount };
struct PlanFields {
    std::array<std::string, PlanFieldCount> text{"0", "10", "16", "1000", "80", "10", "8"};
};
// The labels of the fields in the window ("前期亏损：" ...).
const char* planFieldLabel(PlanField f);

// The fields as numbers; readPlanFields throws Error with a message naming the
// field when one is no whole number or out of range.
struct PlanValues {
    std::int64_t P = 0, L = 0, C = 0, W = 0, N = 0, S = 0, B = 0;
};
PlanValues readPlanFields(const PlanFields& fields, PlanKind kind);

// One plan row; `bets` is used by the variable plan only.
struct PlanRow {
    std::int64_t issue = 0, multiplier = 0, bets = 0, stake = 0, total = 0, prize = 0, net = 0, rate = 0;
};
// The row's cells in grid column order (7 or 8 values).
std::vector<std::int64_t> planCells(const PlanRow& row, PlanKind kind);
// The grid's header texts; `loaded` heads the fixed plan's column 0 "投注时间".
std::vector<std::string> planHeaders(PlanKind kind, bool loaded = false);

// net × 100 div total, truncating toward zero; 0 when the total is 0.
std::int64_t profitRate(std::int64_t net, std::int64_t total);

// The smallest m in 1..kPlanMaxMultiplier whose win leaves at least L after
// the running total T plus m × U; nullopt when none does. net = m(W−U) − T,
// so this is the smallest m ≥ 1 with m(W−U) ≥ L + T.
std::optional<std::int64_t> planMultiplier(std::int64_t T, std::int64_t U, std::int64_t W, std::int64_t L);
// The same by trying m = 1, 2, … in turn (kept for tests and comparison).
std::optional<std::int64_t> planMultiplierByTrial(std::int64_t T, std::int64_t U, std::int64_t W, std::int64_t L);
// The row of an issue at multiplier m after running total T.
PlanRow planRow(std::int64_t issue, std::int64_t m, std::int64_t T, std::int64_t U, std::int64_t W);

// A generated, loaded or entered plan: its rows and the message a refused
// action leaves (empty when none).
struct PlanResult {
    std::vector<PlanRow> rows;
    std::string message;
};
PlanResult generateFixedPlan(const PlanValues& v);
PlanResult generateStagedPlan(const PlanValues& v);
// The variable plan's "添加本期计划": appends one row to `rows` unless the plan
// is full or no multiplier fits; returns the message of a refusal (empty when
// the row was added). `nText` is the 投注期数 field's text for the message.
std::string addVariableIssue(std::vector<PlanRow>& rows, const PlanValues& v, const std::string& nText);

// "平均每期净利润为:" + the net profits' sum div their count; empty for no rows.
std::string planAverageText(const std::vector<PlanRow>& rows);

// The printed parameter line under the title, with the print date's text.
std::string planPrintLine(PlanKind kind, const PlanFields& fields, const std::string& date);

// A path as UTF-8 text for messages.
std::string pathText(const std::filesystem::path& file);

// Plan files: the field lines, then every row's cells one a line, CR LF.
// Saving throws Error when the file cannot be written.
void savePlanFile(const std::filesystem::path& file, PlanKind kind, const PlanFields& fields,
                  const std::vector<PlanRow>& rows);
// Loading checks the whole file before anything is taken over: the field lines
// (whole numbers in range), every row line a 64-bit integer, whole rows only,
// no more rows than 投注期数. Throws Error naming the line otherwise.
struct LoadedPlan {
    PlanFields fields;
    std::vector<PlanRow> rows;
};
// The fields the file does not hold keep their texts from `current`.
LoadedPlan loadPlanFile(const std::filesystem::path& file, PlanKind kind, const PlanFields& current);

} // namespace zelvor::invest
