#include "filter/wheel.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "common/error.h"
#include "common/text.h"

namespace zelvor {

namespace {

const char* const kNumerals[] = {"一", "二", "三", "四", "五", "六", "七"};

constexpr const char* kNoMatrix = "没有该类型的矩阵！";
constexpr const char* kBadCounts = "基本号码和胆码个数不正确！";
constexpr const char* kBadNumber = "请在下面号码框中输入正确的号码数字！";
constexpr const char* kRepeated = "请不要输入重复的号码数字！";
constexpr const char* kNoRows = "矩阵文件中没有投注号码！";

std::string two(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2d", v);
    return buf;
}

std::string trimmed(std::string_view s) { return std::string(trimmedOf(s, " \t")); }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// An integer token: an optional sign and digits. Values beyond int saturate
// (they are out of every range anyway).
bool integerToken(std::string_view t, long long& value)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    if (i == t.size())
        return false;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return false;
        v = std::min<long long>(v * 10 + (t[i] - '0'), 1'000'000'000'000LL);
    }
    value = negative ? -v : v;
    return true;
}

// The tokens of one matrix line: blanks and commas before each token are
// skipped; a token runs to the next blank.
std::vector<std::string_view> matrixTokens(std::string_view line)
{
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && (isBlank(line[i]) || line[i] == ','))
            ++i;
        if (i >= line.size())
            break;
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

WheelGeneration refusal(std::string message, WheelGeneration::Status status = WheelGeneration::Status::Refused)
{
    WheelGeneration g;
    g.status = status;
    g.message = std::move(message);
    return g;
}

} // namespace

std::string pickNumeral(int k) { return k >= 1 && k <= 7 ? kNumerals[k - 1] : ""; }

std::vector<std::string> wheelPickItems()
{
    std::vector<std::string> items;
    for (int k = 1; k <= 7; ++k)
        items.push_back("选" + std::to_string(k) + "型");
    return items;
}

std::string wheelMatrixName(const WheelSettings& s)
{
    const int D = s.bankerForm ? s.bankers : 0;
    const int k = s.pick - D;
    if (k < 1 || k > 7)
        return {};
    return "选" + pickNumeral(k) + "型" + two(s.basic) + "码中" + std::to_string(s.hit - D) + "保"
        + std::to_string(s.keep - D) + ".txt";
}

std::string wheelSaveName(const WheelSettings& s)
{
    if (!s.bankerForm)
        return "选" + pickNumeral(s.pick) + "型" + std::to_string(s.basic) + "码中" + std::to_string(s.hit) + "保"
            + std::to_string(s.keep) + "投注号码.txt";
    return "选" + pickNumeral(s.pick) + "型" + std::to_string(s.bankers) + "胆" + std::to_string(s.basic) + "拖中"
        + std::to_string(s.hit) + "保" + std::to_string(s.keep) + "投注号码.txt";
}

WheelMatrixRead readWheelMatrix(std::string_view text, int rowWidth, int basic)
{
    WheelMatrixRead read;
    int lineNumber = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        std::string_view line = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        at = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++lineNumber;
        const std::vector<std::string_view> tokens = matrixTokens(line);
        long long first = 0;
        if (tokens.empty() || !integerToken(tokens.front(), first))
            break; // the end of the matrix
        std::vector<int> row;
        bool good = static_cast<int>(tokens.size()) == rowWidth;
        std::vector<bool> used(static_cast<std::size_t>(std::max(basic, 0)) + 1, false);
        for (std::string_view t : tokens) {
            long long v = 0;
            if (!good || !integerToken(t, v) || v < 1 || v > basic || used[static_cast<std::size_t>(v)]) {
                good = false;
                break;
            }
            used[static_cast<std::size_t>(v)] = true;
            row.push_back(static_cast<int>(v));
        }
        if (!good) {
            read.rows.clear();
            read.error = "矩阵文件第" + std::to_string(lineNumber) + "行有误！";
            return read;
        }
        read.rows.push_back(std::move(row));
    }
    if (read.rows.empty())
        read.error = kNoRows;
    return read;
}

std::optional<WheelGeneration> readWheelSettings(const WheelInputs& in, WheelSettings& s)
{
    s = WheelSettings{};
    s.bankerForm = in.bankerForm;
    if (!tryParseInteger(in.basicText, s.basic))
        return refusal(integerConversionMessage(trimmed(in.basicText)), WheelGeneration::Status::ConversionError);
    s.bankers = 0;
    if (in.bankerForm && !tryParseInteger(in.bankerText, s.bankers))
        return refusal(integerConversionMessage(trimmed(in.bankerText)), WheelGeneration::Status::ConversionError);
    // 20 basic numbers and 2 bankers would address boxes that do not exist.
    if (s.basic < 1 || s.basic > WheelBoxCount || s.bankers < 0 || s.bankers > WheelMaxBankers
        || s.basic + s.bankers > WheelBoxCount)
        return refusal(kBadCounts);
    const std::vector<std::string> items = wheelPickItems();
    const auto item = std::find(items.begin(), items.end(), trimmed(in.pickText));
    if (item == items.end())
        return refusal(kNoMatrix);
    s.pick = static_cast<int>(item - items.begin()) + 1;
    if (!tryParseInteger(in.hitText, s.hit))
        return refusal(integerConversionMessage(trimmed(in.hitText)), WheelGeneration::Status::ConversionError);
    if (!tryParseInteger(in.keepText, s.keep))
        return refusal(integerConversionMessage(trimmed(in.keepText)), WheelGeneration::Status::ConversionError);
    return std::nullopt;
}

WheelGeneration generateWheel(const WheelInputs& in, const std::filesystem::path& folder)
{
    WheelSettings s;
    if (auto refused = readWheelSettings(in, s))
        return *refused;
    const int M = s.basic;
    const int D = s.bankers;
    const std::string name = wheelMatrixName(s);
    const std::filesystem::path file = folder / std::filesystem::u8path(name);
    std::error_code ec;
    if (name.empty() || !std::filesystem::is_regular_file(file, ec))
        return refusal(kNoMatrix);

    // The boxes: one or more digits, 1..99 (two-character fields of bet files).
    std::vector<int> numbers;
    for (int n = 0; n < M + D; ++n) {
        const std::string text = n < static_cast<int>(in.boxes.size()) ? trimmed(in.boxes[static_cast<std::size_t>(n)]) : "";
        long long v = 0;
        const bool digits = !text.empty() && text[0] != '+' && text[0] != '-' && integerToken(text, v);
        if (!digits || v < 1 || v > 99)
            return refusal(kBadNumber);
        numbers.push_back(static_cast<int>(v));
    }
    // Repeats by value: 5 and 05 are one number.
    if (std::set<int>(numbers.begin(), numbers.end()).size() != numbers.size())
        return refusal(kRepeated);

    std::ifstream f(file, std::ios::binary);
    if (!f)
        return refusal(kNoMatrix);
    const std::string text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const WheelMatrixRead read = readWheelMatrix(text, s.pick - D, M);
    if (!read.ok())
        return refusal(read.error);

    WheelGeneration g;
    g.settings = s;
    g.matrixName = name;
    g.bets.reserve(read.rows.size());
    for (const std::vector<int>& row : read.rows) {
        std::vector<int> bet;
        bet.reserve(static_cast<std::size_t>(s.pick));
        for (int index : row)
            bet.push_back(numbers[static_cast<std::size_t>(index - 1)]);
        for (int i = 0; i < D; ++i)
            bet.push_back(numbers[static_cast<std::size_t>(M + i)]);
        std::sort(bet.begin(), bet.end());
        g.bets.push_back(std::move(bet));
    }
    return g;
}

std::string wheelBetLine(const std::vector<int>& bet)
{
    std::string line;
    for (int v : bet)
        line += two(v) + " ";
    return line + "\r\n";
}

} // namespace zelvor
