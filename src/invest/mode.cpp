#include "invest/mode.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <unordered_map>

#include "common/error.h"
#include "filter/text_lines.h"
#include "invest/plan.h"

namespace zelvor::invest {

namespace {

using i128 = __int128;

// The largest multiplier a cycle's plan tries, and the most plan steps.
constexpr std::int64_t kModeMaxMultiplier = 100000;
constexpr int kMaxSteps = kRepItems;

std::vector<std::string> readLines(const std::filesystem::path& file)
{
    std::vector<std::string> lines;
    std::string error;
    if (!forEachLine(file, [&](std::string_view l) { lines.emplace_back(withoutCr(l)); return true; }, &error))
        throw Error(error);
    return lines;
}

[[noreturn]] void refuseLine(const char* what, std::size_t line, const std::string& why)
{
    throw Error(std::string(what) + "第" + std::to_string(line) + "行：" + why);
}

// A line holding a whole number lo..hi.
std::int64_t numberLine(const char* what, const std::vector<std::string>& lines, std::size_t at, std::int64_t lo,
                        std::int64_t hi)
{
    if (at >= lines.size())
        refuseLine(what, at + 1, "缺少这一行");
    int n = 0;
    if (!tryParseInteger(lines[at], n))
        refuseLine(what, at + 1, integerConversionMessage(lines[at]));
    if (n < lo || n > hi)
        refuseLine(what, at + 1, "“" + clipped(lines[at]) + "”不在" + std::to_string(lo) + "到" + std::to_string(hi) + "之间。");
    return n;
}

// The count line and bet lines of a bets file starting at line `at`.
void readBetLines(const char* what, const std::vector<std::string>& lines, std::size_t at, LoadedBets& out)
{
    out.count = numberLine(what, lines, at, -kFieldLimit, kFieldLimit);
    for (std::size_t i = at + 1; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        Bet b{};
        if (l.size() < 3)
            refuseLine(what, i + 1, integerConversionMessage(l));
        for (int j = 0; j < 3; ++j) {
            if (l[j] < '0' || l[j] > '9')
                refuseLine(what, i + 1, integerConversionMessage(l.substr(0, 3)));
            b[j] = l[j] - '0';
        }
        out.bets.push_back(b);
    }
}

void writeText(const std::filesystem::path& file, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush())
        throw Error("无法写入文件“" + pathText(file) + "”。");
}

std::vector<std::string> betLines(const std::vector<Bet>& bets)
{
    std::vector<std::string> lines{std::to_string(bets.size())};
    for (const Bet& b : bets)
        lines.push_back(std::string{char('0' + b[0]), char('0' + b[1]), char('0' + b[2])});
    return lines;
}

int betValue(const Bet& b) { return b[0] * 100 + b[1] * 10 + b[2]; }

// The sorted digits of a bet or draw as one number: the group types' key.
int groupKey(int a, int b, int c)
{
    if (a > b)
        std::swap(a, b);
    if (b > c)
        std::swap(b, c);
    if (a > b)
        std::swap(a, b);
    return a * 100 + b * 10 + c;
}

// Rate test of the plan steps, linear in m: trunc(100·net/total) ≥ L with
// total > 0 is 100·net ≥ L·total for L ≥ 1 and 100·net > (L−1)·total for
// L ≤ 0. With net = m(W−U) − T and total = T + mU this reads m·a ≥ b.
std::optional<std::int64_t> modeMultiplier(std::int64_t T, std::int64_t U, std::int64_t W, std::int64_t L)
{
    i128 a, b;
    if (L >= 1) {
        a = 100 * (i128(W) - U) - i128(L) * U;
        b = (100 + i128(L)) * T;
    } else {
        a = 100 * (i128(W) - U) - (i128(L) - 1) * U;
        b = (99 + i128(L)) * T + 1;
    }
    if (a <= 0)
        return a >= b ? std::optional<std::int64_t>(1) : std::nullopt;
    const i128 m = b <= 0 ? 1 : (b + a - 1) / a;
    if (m > kModeMaxMultiplier)
        return std::nullopt;
    return static_cast<std::int64_t>(m);
}

std::optional<std::int64_t> modeMultiplierByTrial(std::int64_t T, std::int64_t U, std::int64_t W, std::int64_t L)
{
    for (std::int64_t m = 1; m <= kModeMaxMultiplier; ++m) {
        const std::int64_t total = T + m * U;
        const std::int64_t net = m * W - total;
        if (total != 0 && static_cast<std::int64_t>(i128(net) * 100 / total) >= L)
            return m;
    }
    return std::nullopt;
}

Cycle cycleFrom(const PlanRow& r)
{
    Cycle c;
    c.step = r.issue;
    c.multiplier = r.multiplier;
    c.stake = r.stake;
    c.total = r.total;
    c.prize = r.prize;
    c.net = r.net;
    c.rate = r.rate;
    return c;
}

// The plan rows of a cycle for all 50 steps, computed with the given
// multiplier search; no m leaves a row of zeros.
template <class Search>
std::vector<PlanRow> cyclePlan(std::int64_t carried, const ModeSettings& s, int steps, Search search,
                               int& firstNoM)
{
    const std::int64_t U = 2 * s.bets;
    std::vector<PlanRow> rows(static_cast<std::size_t>(steps));
    firstNoM = steps + 1;
    std::int64_t T = carried;
    for (int j = 1; j <= steps; ++j) {
        const std::optional<std::int64_t> m = search(T, U, s.prize, s.profit);
        if (!m) {
            firstNoM = j;
            break; // the run ends at this step; later steps are never read
        }
        rows[j - 1] = planRow(j, *m, T, U, s.prize);
        T += rows[j - 1].stake;
    }
    return rows;
}

bool stepAffordable(const PlanRow& r, const ModeSettings& s) { return r.stake <= s.maxStake && r.total <= s.maxTotal; }

} // namespace

const char* playTypeText(int type)
{
    static const char* t[] = {"直选", "全组选", "组选3", "组选6"};
    return t[type];
}

int playTypeMaxBets(int type)
{
    static const int n[] = {1000, 210, 90, 120};
    return n[type];
}

const char* playTypeCountMessage(int type)
{
    static const char* t[] = {"请请输入1到1000的直选注数！", "请请输入1到210的组选注数！", "请请输入1到90的组选3注数！",
                              "请请输入1到120的组选6注数！"};
    return t[type];
}

ModeSettings clearedSettings()
{
    ModeSettings s;
    s.maxStake = 10000;
    s.maxTotal = 100000;
    return s;
}

void applyGapModeRule(ModeSettings& s)
{
    if (!s.gapMode) {
        s.gapMinPos = 0;
        s.gapRunsPos = 0;
    }
}

bool modeFitsLottery(const LotteryParams& lottery)
{
    return lottery.kind == LotteryKind::Digit && lottery.pickCount == 3;
}

std::string generateBets(int type, std::int64_t count, Random& random, std::vector<Bet>& bets)
{
    if (count < 1 || count > playTypeMaxBets(type))
        return playTypeCountMessage(type);
    bets.clear();
    std::array<bool, 1000> taken{};
    while (static_cast<std::int64_t>(bets.size()) < count) {
        Bet b{random.below(10), random.below(10), random.below(10)};
        if (taken[betValue(b)])
            continue;
        if (type != Direct) {
            if (b[0] > b[1] || b[1] > b[2])
                continue;
            const int pairs = (b[0] == b[1]) + (b[0] == b[2]) + (b[1] == b[2]);
            if ((type == AnyGroup && pairs == 3) || (type == Group3 && pairs != 1) || (type == Group6 && pairs != 0))
                continue;
        }
        taken[betValue(b)] = true;
        bets.push_back(b);
    }
    // The bets are distinct, so ascending order is the exchange sort's order.
    std::sort(bets.begin(), bets.end(), [](const Bet& x, const Bet& y) { return betValue(x) < betValue(y); });
    return {};
}

bool betHits(int type, const Bet& bet, std::span<const int> draw)
{
    if (type == Direct)
        return bet[0] == draw[0] && bet[1] == draw[1] && bet[2] == draw[2];
    return groupKey(bet[0], bet[1], bet[2]) == groupKey(draw[0], draw[1], draw[2]);
}

HitTable buildHitTable(int type, const std::vector<Bet>& bets, const DrawHistory& history)
{
    // Which three-digit draws some bet hits, by direct value or group key.
    std::array<bool, 1000> hitting{};
    for (const Bet& b : bets)
        hitting[type == Direct ? betValue(b) : groupKey(b[0], b[1], b[2])] = true;
    HitTable t;
    const int D = history.size();
    t.issue.reserve(static_cast<std::size_t>(D));
    t.distance.reserve(static_cast<std::size_t>(D));
    std::int64_t lastHit = -1;
    for (int i = 0; i < D; ++i) {
        const std::span<const int> d = history.main(i);
        bool hit = false;
        if (d.size() >= 3 && d[0] >= 0 && d[0] <= 9 && d[1] >= 0 && d[1] <= 9 && d[2] >= 0 && d[2] <= 9)
            hit = hitting[type == Direct ? d[0] * 100 + d[1] * 10 + d[2] : groupKey(d[0], d[1], d[2])];
        t.issue.push_back(history.issue(i));
        if (hit) {
            t.distance.push_back(0);
            lastHit = i;
        } else {
            t.distance.push_back(i - lastHit);
        }
    }
    return t;
}

std::vector<std::int64_t> intervalList(const HitTable& hits)
{
    std::vector<std::int64_t> list;
    std::int64_t last = -1;
    const std::int64_t R = hits.size();
    for (std::int64_t i = 0; i < R; ++i)
        if (hits.distance[i] == 0) {
            list.push_back(i - last);
            last = i;
        }
    if (R > 0 && hits.distance[R - 1] != 0)
        list.push_back(R - last + 1);
    return list;
}

std::vector<IntervalStat> intervalStatistics(const HitTable& hits)
{
    // No hit, no rows: the grid then shows only its header, never the rows
    // of earlier bets.
    std::vector<IntervalStat> rows;
    if (std::find(hits.distance.begin(), hits.distance.end(), 0) == hits.distance.end())
        return rows;
    const std::int64_t G = *std::max_element(hits.distance.begin(), hits.distance.end()) + 1;
    const std::vector<std::int64_t> list = intervalList(hits);
    std::vector<std::int64_t> counts(list.size() + 1);
    for (std::int64_t m = 1; m <= G; ++m) {
        std::fill(counts.begin(), counts.end(), 0);
        std::size_t run = 0;
        for (std::int64_t e : list) {
            if (e >= m) {
                ++run;
            } else {
                if (run >= 1)
                    ++counts[run];
                run = 0;
            }
        }
        for (std::size_t l = 1; l < counts.size(); ++l)
            if (counts[l] > 0)
                rows.push_back({m, static_cast<std::int64_t>(l), counts[l]});
    }
    return rows;
}

std::vector<std::string> settingsFileLines(const ModeSettings& s)
{
    return {std::to_string(s.type),     std::to_string(s.waitPos),   std::to_string(s.repPos),
            std::to_string(s.gapMinPos), std::to_string(s.gapRunsPos), std::to_string(s.maxStake),
            std::to_string(s.maxTotal), std::to_string(s.bets),      std::to_string(s.prize),
            std::to_string(s.profit),   s.carry ? "1" : "0",         s.gapMode ? "1" : "0",
            std::to_string(s.type)};
}

void saveBetsFile(const std::filesystem::path& file, int type, const std::vector<Bet>& bets)
{
    std::vector<std::string> lines{std::to_string(type)};
    for (const std::string& l : betLines(bets))
        lines.push_back(l);
    writeText(file, lines);
}

void saveSettingsFile(const std::filesystem::path& file, const ModeSettings& s) { writeText(file, settingsFileLines(s)); }

void saveBothFile(const std::filesystem::path& file, const ModeSettings& s, const std::vector<Bet>& bets)
{
    std::vector<std::string> lines = settingsFileLines(s);
    for (const std::string& l : betLines(bets))
        lines.push_back(l);
    writeText(file, lines);
}

LoadedBets loadBetsFile(const std::filesystem::path& file)
{
    const char* what = "投注文件";
    const std::vector<std::string> lines = readLines(file);
    LoadedBets out;
    out.type = static_cast<int>(numberLine(what, lines, 0, 0, kPlayTypeCount - 1));
    readBetLines(what, lines, 1, out);
    return out;
}

namespace {

ModeSettings readSettingsLines(const char* what, const std::vector<std::string>& lines, const ModeSettings& current)
{
    ModeSettings s = current;
    s.type = static_cast<int>(numberLine(what, lines, 0, 0, kPlayTypeCount - 1));
    s.waitPos = static_cast<int>(numberLine(what, lines, 1, 0, kWaitItems - 1));
    s.repPos = static_cast<int>(numberLine(what, lines, 2, 0, kRepItems - 1));
    s.gapMinPos = static_cast<int>(numberLine(what, lines, 3, 0, kGapMinItems - 1));
    s.gapRunsPos = static_cast<int>(numberLine(what, lines, 4, 0, kGapRunsItems - 1));
    s.maxStake = numberLine(what, lines, 5, -kFieldLimit, kFieldLimit);
    s.maxTotal = numberLine(what, lines, 6, -kFieldLimit, kFieldLimit);
    s.bets = numberLine(what, lines, 7, -kFieldLimit, kFieldLimit);
    s.prize = numberLine(what, lines, 8, -kFieldLimit, kFieldLimit);
    s.profit = numberLine(what, lines, 9, -kFieldLimit, kFieldLimit);
    if (lines.size() < 13)
        refuseLine(what, lines.size() + 1, "缺少这一行");
    s.carry = lines[10] == "1";
    s.gapMode = lines[11] == "1";
    s.type = static_cast<int>(numberLine(what, lines, 12, 0, kPlayTypeCount - 1));
    applyGapModeRule(s);
    return s;
}

} // namespace

ModeSettings loadSettingsFile(const std::filesystem::path& file, const ModeSettings& current)
{
    return readSettingsLines("设置文件", readLines(file), current);
}

LoadedBoth loadBothFile(const std::filesystem::path& file, const ModeSettings& current)
{
    const char* what = "号码和设置文件";
    const std::vector<std::string> lines = readLines(file);
    LoadedBoth out;
    out.settings = readSettingsLines(what, lines, current);
    out.bets.type = out.settings.type;
    readBetLines(what, lines, 13, out.bets);
    return out;
}

std::vector<std::pair<std::string, std::string>> modeSettingsPrintLines(const ModeSettings& s,
                                                                        const std::string& surplus)
{
    return {
        {"观察间隔数：" + std::to_string(gapMinValue(s.gapMinPos)), "单期最大投入：" + std::to_string(s.maxStake)},
        {"观察间隔连续次数：" + std::to_string(gapRunsValue(s.gapRunsPos)), "累计最大投入：" + std::to_string(s.maxTotal)},
        {"中出后间隔数：" + std::to_string(waitValue(s.waitPos)), "单倍注数：" + std::to_string(s.bets)},
        {"连续投入期数：" + std::to_string(repValue(s.repPos)), "单注奖金：" + std::to_string(s.prize)},
        {"总体赢余：" + surplus, "预期利润：" + std::to_string(s.profit)},
        {s.carry ? "选中预计亏损" : "取消预计亏损", s.gapMode ? "选中间隔模式" : "取消间隔模式"},
    };
}

const std::vector<std::string>& cycleHeaders()
{
    static const std::vector<std::string> h{"投注时间", "投注倍数", "当期投注", "当期总投入",
                                            "当期中奖", "当期净利润", "当期利润率(%)"};
    return h;
}

// ---- simulation ----

// A cycle's plan for one carried loss, for every 连续投入期数 at once: the
// rows of all 50 steps, the first step without a multiplier, and for each
// step count r the last affordable step up to r.
struct Simulator::PlanInfo {
    std::vector<PlanRow> rows;
    int firstNoM = kMaxSteps + 1;
    bool firstAffordable = false;
    std::array<int, kMaxSteps + 1> lastAffordable{};
    // The plan after a loss of all r steps (carrying the total of step r),
    // found once and kept.
    mutable std::array<const PlanInfo*, kMaxSteps + 1> afterLoss{};
};

Simulator::Simulator(const HitTable& hits) : R_(hits.size())
{
    nextHit_.assign(static_cast<std::size_t>(R_) + 2, R_ + 1);
    for (int i = R_; i >= 1; --i)
        nextHit_[i] = hits.distance[i - 1] == 0 ? i : nextHit_[i + 1];
}

Simulator::~Simulator() = default;
Simulator::Simulator(Simulator&&) noexcept = default;

const Simulator::PlanInfo& Simulator::plan(std::int64_t carried)
{
    auto found = plans_.find(carried);
    if (found != plans_.end())
        return *found->second;
    auto info = std::make_unique<PlanInfo>();
    info->rows = cyclePlan(carried, planSettings_, kMaxSteps, modeMultiplier, info->firstNoM);
    int last = 0;
    for (int r = 1; r <= kMaxSteps; ++r) {
        if (stepAffordable(info->rows[r - 1], planSettings_))
            last = r;
        info->lastAffordable[r] = last;
    }
    info->firstAffordable = info->lastAffordable[1] == 1;
    return *plans_.emplace(carried, std::move(info)).first->second;
}

RunResult Simulator::run(const ModeSettings& s, bool wantCycles)
{
    RunResult result;
    // A plan depends only on the carried loss and these settings.
    if (!havePlans_ || s.bets != planSettings_.bets || s.prize != planSettings_.prize ||
        s.profit != planSettings_.profit || s.maxStake != planSettings_.maxStake ||
        s.maxTotal != planSettings_.maxTotal) {
        plans_.clear();
        planSettings_ = s;
        havePlans_ = true;
    }
    const int R = R_;
    const int rep = repValue(s.repPos);
    const int wait = waitValue(s.waitPos);
    const int gapMin = gapMinValue(s.gapMinPos);
    const int gapRuns = gapRunsValue(s.gapRunsPos);
    const int* next = nextHit_.data();

    int p = 0;
    int obs = 0;
    bool havePrev = false;
    std::int64_t prevNet = 0;
    bool prevCut = false;
    const PlanInfo* prevPlan = nullptr;
    bool prevLost = false;
    const PlanInfo* fresh = &plan(0);
    while (true) {
        // 1. Plan.
        const std::int64_t carried = s.carry && havePrev && prevNet < 0 && !prevCut ? -prevNet : 0;
        const PlanInfo* planned = fresh;
        if (carried != 0) {
            if (prevLost) {
                const PlanInfo*& next = prevPlan->afterLoss[rep];
                if (!next)
                    next = &plan(carried);
                planned = next;
            } else {
                planned = &plan(carried);
            }
        }
        const PlanInfo& info = *planned;
        if (!info.firstAffordable) {
            result.aborted = true;
            if (havePrev)
                result.message = kFirstDayTooMuch;
            break;
        }
        if (info.firstNoM <= rep) {
            result.aborted = true;
            result.message = kModeMultiplierTooLarge;
            break;
        }
        const int A = info.lastAffordable[rep];
        // 2. Observation, hit to hit.
        bool ended = false;
        while (obs < gapRuns) {
            const int h = next[p + 1];
            if (h > R) {
                ended = true;
                break;
            }
            obs = h - p >= gapMin ? obs + 1 : 0;
            p = h;
        }
        if (ended)
            break;
        // 3. Waiting: a hit within `wait` draws starts the count again.
        while (true) {
            const int h = next[p + 1];
            if (h <= R && h <= p + wait) {
                p = h;
                continue;
            }
            if (p + wait >= R)
                ended = true;
            else
                p += wait;
            break;
        }
        if (ended)
            break;
        // 4. Betting.
        const int h = next[p + 1]; // R + 1 when no hit is left
        const int step = h - p;
        Cycle c;
        if (step <= A) {
            if (h > R)
                break; // the history ended during the affordable steps
            c = cycleFrom(info.rows[step - 1]);
            obs = 0;
        } else {
            c = cycleFrom(info.rows[A - 1]);
            c.net = -c.total;
            c.cut = rep > A;
        }
        p = h;
        c.carriedIn = carried > 0;
        // Each amount counts once: a loss carried into this plan is part of
        // this cycle's net, so the earlier cycle's own net drops out.
        result.surplus += c.net;
        if (c.carriedIn)
            result.surplus -= prevNet;
        if (wantCycles)
            result.cycles.push_back(c);
        // 5. Next cycle.
        if (p >= R)
            break;
        havePrev = true;
        prevNet = c.net;
        prevCut = c.cut;
        prevPlan = &info;
        prevLost = step > A;
    }
    return result;
}

RunResult simulateDirect(const HitTable& hits, const ModeSettings& s)
{
    RunResult result;
    const int R = hits.size();
    auto isHit = [&](int draw) { return hits.distance[draw - 1] == 0; };
    const int rep = repValue(s.repPos);
    const int wait = waitValue(s.waitPos);
    const int gapMin = gapMinValue(s.gapMinPos);
    const int gapRuns = gapRunsValue(s.gapRunsPos);
    int p = 0, i = 1, obs = 0;
    bool havePrev = false;
    Cycle prev;
    while (true) {
        const std::int64_t carried = s.carry && havePrev && prev.net < 0 && !prev.cut ? -prev.net : 0;
        int firstNoM = 0;
        const std::vector<PlanRow> rows = cyclePlan(carried, s, rep, modeMultiplierByTrial, firstNoM);
        int A = 0;
        bool stop = false;
        for (int j = 1; j <= rep && !stop; ++j) {
            if (stepAffordable(rows[j - 1], s))
                A = j;
            if (A == 0) {
                result.aborted = true;
                if (havePrev)
                    result.message = kFirstDayTooMuch;
                stop = true;
            } else if (j == firstNoM) {
                result.aborted = true;
                result.message = kModeMultiplierTooLarge;
                stop = true;
            }
        }
        if (stop)
            break;
        bool ended = false;
        while (obs < gapRuns) {
            while (i <= R && !isHit(i))
                ++i;
            if (i > R) {
                ended = true;
                break;
            }
            obs = i - p >= gapMin ? obs + 1 : 0;
            p = i;
            i = i + 1;
        }
        if (ended)
            break;
        int passed = 0;
        while (passed < wait) {
            const int d = p + passed + 1;
            if (d > R) {
                ended = true;
                break;
            }
            if (isHit(d)) {
                p = d;
                passed = 0;
            } else {
                ++passed;
            }
        }
        if (ended || p + wait + 1 > R)
            break;
        p = p + wait;
        i = p + 1;
        int step = 1;
        while (p + step <= R && !isHit(p + step))
            ++step;
        Cycle c;
        if (step <= A) {
            if (p + step > R)
                break;
            c = cycleFrom(rows[step - 1]);
            p += step;
            i = p + 1;
            obs = 0;
        } else {
            c = cycleFrom(rows[A - 1]);
            c.net = -c.total;
            c.cut = rep > A;
            p += step;
            i = p + 1;
        }
        c.carriedIn = carried > 0;
        result.cycles.push_back(c);
        if (p >= R)
            break;
        prev = c;
        havePrev = true;
    }
    for (std::size_t k = 0; k < result.cycles.size(); ++k) {
        const bool carriedOn = k + 1 < result.cycles.size() && result.cycles[k + 1].carriedIn;
        if (!carriedOn)
            result.surplus += result.cycles[k].net;
    }
    return result;
}

std::vector<PlanRow> modePlan(std::int64_t carried, const ModeSettings& s, int steps)
{
    int firstNoM = 0;
    return cyclePlan(carried, s, steps, modeMultiplier, firstNoM);
}

int searchRunCount(const ModeSettings& s) { return (s.gapMode ? kGapRunsItems : 1) * kWaitItems * kRepItems; }

namespace {

template <class RunFn>
SearchResult searchWith(const ModeSettings& s, const std::atomic<bool>* stop, const SearchStep& each, RunFn runOne)
{
    // The best starts from the first run's surplus, whatever its sign.
    SearchResult r;
    bool first = true;
    const int aCount = s.gapMode ? kGapRunsItems : 1;
    ModeSettings t = s;
    for (int a = 0; a < aCount; ++a)
        for (int b = 0; b < kWaitItems; ++b)
            for (int c = 0; c < kRepItems; ++c) {
                if (stop && stop->load(std::memory_order_relaxed))
                    return r;
                t.gapRunsPos = a;
                t.waitPos = b;
                t.repPos = c;
                const std::int64_t surplus = runOne(t);
                ++r.runs;
                if (first || surplus > r.best) {
                    first = false;
                    r.best = surplus;
                    r.gapRunsPos = a;
                    r.waitPos = b;
                    r.repPos = c;
                }
                if (each)
                    each(a, b, c, surplus);
            }
    return r;
}

} // namespace

SearchResult searchSettings(Simulator& sim, const ModeSettings& s, const std::atomic<bool>* stop, const SearchStep& each)
{
    return searchWith(s, stop, each, [&](const ModeSettings& t) { return sim.run(t, false).surplus; });
}

SearchResult searchSettingsDirect(const HitTable& hits, const ModeSettings& s)
{
    return searchWith(s, nullptr, {}, [&](const ModeSettings& t) { return simulateDirect(hits, t).surplus; });
}

} // namespace zelvor::invest
