#include "filter/prize_check.h"

#include <algorithm>
#include <bit>
#include <cstdio>

#include "common/error.h"
#include "common/text.h"
#include "filter/text_lines.h"

namespace zelvor {

namespace {

// Kinds of line, kept in bits 56..58 of a mask.
enum Kind : std::uint64_t { WithBlue = 0, RedOnly = 1, SixNumbers = 2, SevenNumbers = 3, Digits = 4 };
constexpr int kKindShift = 56;
constexpr int kKeys = 5 * 16;
constexpr std::uint64_t kNumberBits = (std::uint64_t{1} << 50) - 2; // bits 1..49
constexpr int kBlueBase = 33;                                       // blue b is bit 33 + b

Kind kindOf(std::uint64_t mask) { return static_cast<Kind>((mask >> kKindShift) & 7); }

int keyOf(std::uint64_t mask, int matches, bool special)
{
    return static_cast<int>(kindOf(mask)) * 16 + matches * 2 + (special ? 1 : 0);
}

// Level of one single bet from its matches and special hit, -1 for none.
int ssqLevel(int reds, bool blue)
{
    if (reds == 6)
        return blue ? 0 : 1;
    if (reds == 5)
        return blue ? 2 : 3;
    if (reds == 4)
        return blue ? 3 : 4;
    if (reds == 3)
        return blue ? 4 : -1;
    return blue ? 5 : -1;
}

int markSixLevel(int main, bool extra)
{
    switch (main) {
    case 6:
        return 0;
    case 5:
        return extra ? 1 : 2;
    case 4:
        return extra ? 3 : 4;
    case 3:
        return extra ? 5 : 6;
    default:
        return -1;
    }
}

// How many bets of each level one line of a key wins: up to three levels a
// key (a seven-number line splits into its seven single bets).
struct KeyWins {
    int level[3] = {-1, -1, -1};
    int bets[3] = {0, 0, 0};
    void add(int l, int n)
    {
        if (l < 0 || n <= 0)
            return;
        for (int j = 0; j < 3; ++j) {
            if (level[j] == l || level[j] < 0) {
                level[j] = l;
                bets[j] += n;
                return;
            }
        }
    }
};

KeyWins winsOfKey(int key)
{
    const int kind = key / 16;
    const int h = (key % 16) / 2;
    const bool e = (key & 1) != 0;
    KeyWins w;
    switch (kind) {
    case WithBlue:
        w.add(ssqLevel(h, e), 1);
        break;
    case RedOnly:
        if (h >= 4)
            w.add(6 + (6 - h), 1);
        break;
    case SixNumbers:
        w.add(markSixLevel(h, e), 1);
        break;
    case SevenNumbers:
        // Leaving out one of the h matched numbers, the extra number, or one
        // of the others gives the line's seven single bets.
        if (h >= 1)
            w.add(markSixLevel(h - 1, e), h);
        if (e)
            w.add(markSixLevel(h, false), 1);
        w.add(markSixLevel(h, e), 7 - h - (e ? 1 : 0));
        break;
    case Digits:
        if (h == 3)
            w.add(0, 1);
        break;
    default:
        break;
    }
    return w;
}

const std::array<KeyWins, kKeys>& keyWins()
{
    static const std::array<KeyWins, kKeys> table = [] {
        std::array<KeyWins, kKeys> t{};
        for (int key = 0; key < kKeys; ++key)
            t[static_cast<std::size_t>(key)] = winsOfKey(key);
        return t;
    }();
    return table;
}

using Histogram = std::array<std::int64_t, kKeys>;

// The hot loop. Four histograms in turn so consecutive equal keys do not wait
// on each other's increments.
inline __attribute__((always_inline)) void histogramBody(const std::uint64_t* m, std::size_t n,
                                                         std::uint64_t mainMask, int specialBit, Histogram& out)
{
    std::uint32_t h[4][128] = {};
    std::size_t i = 0;
    auto key = [&](std::uint64_t x) {
        return ((x >> kKindShift) << 4) | (static_cast<std::uint64_t>(__builtin_popcountll(x & mainMask)) << 1)
               | ((x >> specialBit) & 1);
    };
    // Counts stay within 32 bits: the loop is cut into pieces of 2^30 lines.
    while (i < n) {
        const std::size_t end = std::min(n, i + (std::size_t{1} << 30));
        for (; i + 4 <= end; i += 4) {
            ++h[0][key(m[i]) & 127];
            ++h[1][key(m[i + 1]) & 127];
            ++h[2][key(m[i + 2]) & 127];
            ++h[3][key(m[i + 3]) & 127];
        }
        for (; i < end; ++i)
            ++h[0][key(m[i]) & 127];
        for (int k = 0; k < kKeys; ++k) {
            out[static_cast<std::size_t>(k)] += h[0][k] + h[1][k] + h[2][k] + h[3][k];
            h[0][k] = h[1][k] = h[2][k] = h[3][k] = 0;
        }
    }
}

__attribute__((target("popcnt"))) void histogramPopcnt(const std::uint64_t* m, std::size_t n,
                                                       std::uint64_t mainMask, int specialBit, Histogram& out)
{
    histogramBody(m, n, mainMask, specialBit, out);
}

void histogramPlain(const std::uint64_t* m, std::size_t n, std::uint64_t mainMask, int specialBit, Histogram& out)
{
    histogramBody(m, n, mainMask, specialBit, out);
}

Histogram histogram(const PrizeBets& bets, const PrizeDraw& draw)
{
    static const bool popcnt = __builtin_cpu_supports("popcnt");
    Histogram hist{};
    if (popcnt)
        histogramPopcnt(bets.masks.data(), bets.masks.size(), draw.mainMask, draw.specialBit, hist);
    else
        histogramPlain(bets.masks.data(), bets.masks.size(), draw.mainMask, draw.specialBit, hist);
    return hist;
}

PrizeTally tallyOf(PrizeGame game, const Histogram& hist)
{
    const auto& levels = prizeLevels(game);
    PrizeTally t;
    t.counts.assign(levels.size(), 0);
    const auto& wins = keyWins();
    for (int key = 0; key < kKeys; ++key) {
        const std::int64_t lines = hist[static_cast<std::size_t>(key)];
        if (lines == 0)
            continue;
        const KeyWins& w = wins[static_cast<std::size_t>(key)];
        for (int j = 0; j < 3; ++j)
            if (w.level[j] >= 0 && static_cast<std::size_t>(w.level[j]) < levels.size())
                t.counts[static_cast<std::size_t>(w.level[j])] += lines * w.bets[j];
    }
    for (std::size_t l = 0; l < levels.size(); ++l)
        if (levels[l].kind == PrizeLevel::Amount::Fixed)
            t.fixedTotal += t.counts[l] * levels[l].yuan;
    return t;
}

// ----------------------------------------------------------------- parsing

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isDigit(char c) { return isAsciiDigit(c); }

std::string_view trimmed(std::string_view s) { return trimmedOf(s, " \t\r\n"); }

struct Token {
    std::string_view text;
    bool afterSpecialMark = false; // "+" or "|" stands right before it
};

// Splits on blanks, commas, "+" and "|". False for any other character or an
// empty field between two marks.
bool tokenize(std::string_view s, std::vector<Token>& out)
{
    out.clear();
    bool special = false;
    bool comma = false;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        if (c == '+' || c == '|' || c == ',') {
            if (out.empty() || special || comma)
                return false; // a mark with no number before it, or two in a row
            (c == ',' ? comma : special) = true;
            ++i;
            continue;
        }
        if (!isDigit(c))
            return false;
        std::size_t j = i;
        while (j < s.size() && isDigit(s[j]))
            ++j;
        out.push_back({s.substr(i, j - i), special});
        special = comma = false;
        i = j;
    }
    return !special && !comma;
}

int twoDigits(std::string_view t) { return (t[0] - '0') * 10 + (t[1] - '0'); }

bool fail(std::string* why, const char* text)
{
    if (why)
        *why = text;
    return false;
}

constexpr const char* kBadForm = "格式有误";
constexpr const char* kBadWidth = "号码应为两位数";
constexpr const char* kOutOfRange = "号码超出范围";
constexpr const char* kRepeated = "号码重复";

// Two-digit numbers of 1..range, distinct, into a mask.
bool numbersMask(const std::vector<Token>& tokens, std::size_t count, int range, std::uint64_t& mask,
                 std::string* why)
{
    mask = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (tokens[i].text.size() != 2)
            return fail(why, kBadWidth);
        const int n = twoDigits(tokens[i].text);
        if (n < 1 || n > range)
            return fail(why, kOutOfRange);
        if (mask & (std::uint64_t{1} << n))
            return fail(why, kRepeated);
        mask |= std::uint64_t{1} << n;
    }
    return true;
}

std::string lineMessage(std::int64_t lineNo, const std::string& why, std::string_view text)
{
    return "第" + std::to_string(lineNo) + "行不是本彩票的投注号码（" + why + "）：“" + clipped(std::string(text))
           + "”";
}

} // namespace

std::optional<PrizeGame> prizeGameFor(const LotteryParams& lottery)
{
    if (lottery.name == kTwoColourBall)
        return PrizeGame::TwoColourBall;
    if (lottery.name == kMarkSix)
        return PrizeGame::MarkSix;
    if (lottery.kind == LotteryKind::Digit && lottery.pickCount == 3 && lottery.numberRange == 10)
        return PrizeGame::Digit3;
    return std::nullopt;
}

const std::vector<PrizeLevel>& prizeLevels(PrizeGame game)
{
    using A = PrizeLevel::Amount;
    static const std::vector<PrizeLevel> ssq = {
        {"一等奖", A::Floating, 0}, {"二等奖", A::Floating, 0}, {"三等奖", A::Fixed, 3000},
        {"四等奖", A::Fixed, 200},  {"五等奖", A::Fixed, 10},   {"六等奖", A::Fixed, 5},
        {"红球中6个", A::None, 0},  {"红球中5个", A::None, 0},  {"红球中4个", A::None, 0},
    };
    static const std::vector<PrizeLevel> digit3 = {{"直选", A::Fixed, 1040}};
    static const std::vector<PrizeLevel> markSix = {
        {"头奖", A::Floating, 0}, {"二奖", A::Floating, 0}, {"三奖", A::Floating, 0}, {"四奖", A::Floating, 0},
        {"五奖", A::Floating, 0}, {"六奖", A::Floating, 0}, {"七奖", A::Floating, 0},
    };
    switch (game) {
    case PrizeGame::Digit3:
        return digit3;
    case PrizeGame::MarkSix:
        return markSix;
    default:
        return ssq;
    }
}

std::string prizeAmountText(const PrizeLevel& level)
{
    switch (level.kind) {
    case PrizeLevel::Amount::Fixed:
        return std::to_string(level.yuan);
    case PrizeLevel::Amount::Floating:
        return "浮动";
    default:
        return "-";
    }
}

bool PrizeTally::anyWin() const
{
    return std::any_of(counts.begin(), counts.end(), [](std::int64_t c) { return c != 0; });
}

bool parsePrizeBetLine(PrizeGame game, std::string_view line, ParsedBetLine& out, std::string* why)
{
    out = {};
    std::string_view s = trimmed(line);
    if (s.empty()) {
        out.empty = true;
        return true;
    }
    // A shown list's sequence number: seven or more digits and a blank.
    std::size_t digits = 0;
    while (digits < s.size() && isDigit(s[digits]))
        ++digits;
    if (digits >= 7 && digits < s.size() && isBlank(s[digits]))
        s = trimmed(s.substr(digits));

    std::vector<Token> t;
    if (!tokenize(s, t))
        return fail(why, kBadForm);
    std::uint64_t mask = 0;
    switch (game) {
    case PrizeGame::TwoColourBall: {
        if (t.size() != 6 && t.size() != 7)
            return fail(why, kBadForm);
        for (std::size_t i = 0; i < t.size(); ++i)
            if (t[i].afterSpecialMark && i != 6)
                return fail(why, kBadForm); // "+" / "|" only before the blue
        if (!numbersMask(t, 6, 33, mask, why))
            return false;
        if (t.size() == 7) {
            if (t[6].text.size() != 2)
                return fail(why, kBadWidth);
            const int blue = twoDigits(t[6].text);
            if (blue < 1 || blue > 16)
                return fail(why, kOutOfRange);
            mask |= (std::uint64_t{1} << (kBlueBase + blue)) | (std::uint64_t{WithBlue} << kKindShift);
        } else {
            mask |= std::uint64_t{RedOnly} << kKindShift;
        }
        out.bets = 1;
        break;
    }
    case PrizeGame::MarkSix: {
        if (t.size() != 6 && t.size() != 7)
            return fail(why, kBadForm);
        for (const Token& k : t)
            if (k.afterSpecialMark)
                return fail(why, kBadForm);
        if (!numbersMask(t, t.size(), 49, mask, why))
            return false;
        mask |= std::uint64_t{t.size() == 6 ? SixNumbers : SevenNumbers} << kKindShift;
        out.bets = t.size() == 6 ? 1 : 7;
        break;
    }
    case PrizeGame::Digit3: {
        for (const Token& k : t)
            if (k.afterSpecialMark)
                return fail(why, kBadForm);
        std::string three;
        if (t.size() == 1 && t[0].text.size() == 3) {
            three = std::string(t[0].text);
        } else if (t.size() == 3) {
            for (const Token& k : t) {
                if (k.text.size() == 2 && k.text[0] != '0')
                    return fail(why, kOutOfRange);
                if (k.text.size() > 2)
                    return fail(why, kBadWidth);
                three += k.text.back();
            }
        } else {
            return fail(why, kBadForm);
        }
        for (int p = 0; p < 3; ++p)
            mask |= std::uint64_t{1} << (1 + 10 * p + (three[static_cast<std::size_t>(p)] - '0'));
        mask |= std::uint64_t{Digits} << kKindShift;
        out.bets = 1;
        break;
    }
    }
    out.mask = mask;
    return true;
}

namespace {

// Shared by the file and the in-memory reader: takes lines one by one.
class BetCollector {
public:
    explicit BetCollector(PrizeGame game) { load_.bets.game = game; }
    bool take(std::string_view line)
    {
        ++lineNo_;
        // Editors on some systems start a text file with a UTF-8 byte-order mark.
        if (lineNo_ == 1 && line.substr(0, 3) == "\xEF\xBB\xBF")
            line.remove_prefix(3);
        ParsedBetLine p;
        std::string why;
        if (!parsePrizeBetLine(load_.bets.game, line, p, &why)) {
            load_.status = PrizeBetsLoad::Status::Refused;
            load_.message = lineMessage(lineNo_, why, trimmed(withoutCr(line)));
            return false;
        }
        if (!p.empty) {
            load_.bets.masks.push_back(p.mask);
            load_.bets.betCount += p.bets;
        }
        return true;
    }
    std::int64_t lines() const { return lineNo_; }
    PrizeBetsLoad& result() { return load_; }

private:
    PrizeBetsLoad load_;
    std::int64_t lineNo_ = 0;
};

} // namespace

PrizeBetsLoad loadPrizeBets(PrizeGame game, const std::filesystem::path& file, const ProgressFn& progress)
{
    BetCollector c(game);
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    const std::int64_t total = ec ? 0 : static_cast<std::int64_t>(size);
    if (!ec)
        c.result().bets.masks.reserve(static_cast<std::size_t>(size / 20 + 1));
    std::int64_t bytes = 0;
    bool stopped = false;
    std::string error;
    const bool read = forEachLine(
        file,
        [&](std::string_view line) {
            bytes += static_cast<std::int64_t>(line.size()) + 2;
            if (!c.take(line))
                return false;
            if ((c.lines() & 0xFFFF) == 0 && !reportProgress(progress, std::min(bytes, total), total)) {
                stopped = true;
                return false;
            }
            return true;
        },
        &error);
    PrizeBetsLoad& r = c.result();
    if (!read) {
        r = {};
        r.status = PrizeBetsLoad::Status::Failed;
        r.message = error;
    } else if (stopped && r.ok()) {
        r.status = PrizeBetsLoad::Status::Stopped;
    }
    if (!r.ok())
        r.bets = PrizeBets{game, {}, 0};
    return std::move(r);
}

PrizeBetsLoad parsePrizeBets(PrizeGame game, const std::vector<std::string>& lines)
{
    BetCollector c(game);
    for (const std::string& l : lines)
        if (!c.take(l))
            break;
    PrizeBetsLoad& r = c.result();
    if (!r.ok())
        r.bets = PrizeBets{game, {}, 0};
    return std::move(r);
}

PrizeDraw prizeDraw(PrizeGame game, const DrawHistory& history, int i)
{
    PrizeDraw d;
    const auto main = history.main(i);
    switch (game) {
    case PrizeGame::TwoColourBall:
        for (std::size_t j = 0; j < main.size() && j < 6; ++j)
            d.mainMask |= std::uint64_t{1} << (main[j] & 63);
        if (!history.special(i).empty())
            d.specialBit = kBlueBase + history.special(i)[0];
        break;
    case PrizeGame::MarkSix:
        for (std::size_t j = 0; j < main.size() && j < 6; ++j)
            d.mainMask |= std::uint64_t{1} << (main[j] & 63);
        if (main.size() >= 7)
            d.specialBit = main[6];
        break;
    case PrizeGame::Digit3:
        for (std::size_t p = 0; p < main.size() && p < 3; ++p)
            d.mainMask |= std::uint64_t{1} << (1 + 10 * static_cast<int>(p) + main[p]);
        break;
    }
    d.mainMask &= kNumberBits;
    if (d.specialBit < 1 || d.specialBit > 49)
        d.specialBit = 55;
    return d;
}

PrizeTally checkDraw(const PrizeBets& bets, const PrizeDraw& draw)
{
    return tallyOf(bets.game, histogram(bets, draw));
}

PrizeTally checkDrawDirect(const PrizeBets& bets, const PrizeDraw& draw)
{
    // Decode both sides into lists of numbers and compare them pairwise.
    std::vector<int> drawn;
    for (int b = 1; b <= 49; ++b)
        if (draw.mainMask & (std::uint64_t{1} << b))
            drawn.push_back(b);
    Histogram hist{};
    std::vector<int> mine;
    for (const std::uint64_t m : bets.masks) {
        mine.clear();
        for (int b = 1; b <= 49; ++b)
            if (m & (std::uint64_t{1} << b))
                mine.push_back(b);
        int matches = 0;
        bool special = false;
        for (const int n : mine) {
            for (const int d : drawn)
                if (n == d)
                    ++matches;
            if (n == draw.specialBit)
                special = true;
        }
        ++hist[static_cast<std::size_t>(keyOf(m, matches, special))];
    }
    return tallyOf(bets.game, hist);
}

HistoryPrizeCheck checkHistory(const PrizeBets& bets, const DrawHistory& history, const ProgressFn& progress)
{
    HistoryPrizeCheck r;
    r.totals.counts.assign(prizeLevels(bets.game).size(), 0);
    for (int i = 0; i < history.size(); ++i) {
        PrizeTally t = checkDraw(bets, prizeDraw(bets.game, history, i));
        ++r.draws;
        for (std::size_t l = 0; l < t.counts.size(); ++l)
            r.totals.counts[l] += t.counts[l];
        r.totals.fixedTotal += t.fixedTotal;
        if (t.anyWin())
            r.rows.push_back({i, std::move(t)});
        if (!reportProgress(progress, i + 1, history.size())) {
            r.stopped = true;
            break;
        }
    }
    r.cost = bets.cost() * r.draws;
    return r;
}

int winningLevel(const PrizeBets& bets, std::size_t bet, const PrizeDraw& draw)
{
    const std::uint64_t m = bets.masks[bet];
    const int key = keyOf(m, std::popcount(m & draw.mainMask), ((m >> draw.specialBit) & 1) != 0);
    const KeyWins& w = keyWins()[static_cast<std::size_t>(key)];
    int best = -1;
    for (int j = 0; j < 3; ++j)
        if (w.level[j] >= 0 && (best < 0 || w.level[j] < best))
            best = w.level[j];
    return best;
}

std::string prizeBetText(PrizeGame game, std::uint64_t mask)
{
    std::string s;
    char buf[8];
    if (kindOf(mask) == Digits) {
        for (int p = 0; p < 3; ++p)
            for (int d = 0; d < 10; ++d)
                if (mask & (std::uint64_t{1} << (1 + 10 * p + d))) {
                    if (!s.empty())
                        s += ' ';
                    s += static_cast<char>('0' + d);
                }
        return s;
    }
    const int top = game == PrizeGame::TwoColourBall ? 33 : 49;
    for (int n = 1; n <= top; ++n)
        if (mask & (std::uint64_t{1} << n)) {
            if (!s.empty())
                s += ' ';
            std::snprintf(buf, sizeof buf, "%.2d", n);
            s += buf;
        }
    if (kindOf(mask) == WithBlue)
        for (int b = 1; b <= 16; ++b)
            if (mask & (std::uint64_t{1} << (kBlueBase + b))) {
                std::snprintf(buf, sizeof buf, "+%.2d", b);
                s += buf;
            }
    return s;
}

FileWriteResult writeWinningBets(const std::filesystem::path& listFile, const PrizeBets& bets,
                                 const PrizeDraw& draw, const ProgressFn& progress)
{
    FileWriteResult r;
    SafeFileWriter out(listFile);
    if (!out.isOpen()) {
        r.status = FileWriteResult::Status::Failed;
        r.error = out.error();
        return r;
    }
    const auto& levels = prizeLevels(bets.game);
    const std::int64_t n = static_cast<std::int64_t>(bets.masks.size());
    char seq[24];
    for (std::int64_t i = 0; i < n; ++i) {
        if ((i & 0xFFFF) == 0 && !reportProgress(progress, i, n)) {
            r.status = FileWriteResult::Status::Stopped;
            return r;
        }
        const int level = winningLevel(bets, static_cast<std::size_t>(i), draw);
        if (level < 0)
            continue;
        std::snprintf(seq, sizeof seq, "%.7lld    ", static_cast<long long>(i + 1));
        out.append(seq);
        out.append(prizeBetText(bets.game, bets.masks[static_cast<std::size_t>(i)]));
        out.append("    ");
        out.append(levels[static_cast<std::size_t>(level)].name);
        out.append("\r\n");
        ++r.lines;
    }
    if (!out.commit()) {
        r.status = FileWriteResult::Status::Failed;
        r.error = out.error();
    }
    return r;
}

} // namespace zelvor
