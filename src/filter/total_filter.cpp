#include "filter/total_filter.h"

#include <algorithm>
#include <cstring>

#include "common/error.h"

namespace zelvor {

namespace {

constexpr std::int64_t kProgressRows = 65536;

bool within(int v, int lo, int hi) { return v >= lo && v <= hi; }

std::vector<int> sortedWithin(const std::vector<int>& numbers, int range)
{
    std::vector<int> out;
    for (int n : numbers)
        if (n >= 1 && n <= range)
            out.push_back(n);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

TotalFilterProblem userError(std::string message)
{
    return {TotalFilterProblem::Kind::UserError, std::move(message)};
}

// Per-number lookups shared by both passes: whether a number is chosen, and
// how many banker items its shown value equals (0 or 1).
struct NumberTables {
    std::array<std::uint8_t, 256> chosen{};
    std::array<std::uint8_t, 256> banker{};
};

NumberTables numberTables(const TotalFilterConditions& c, const TotalFilterView& view)
{
    NumberTables t;
    for (int n : c.chosenReds)
        if (n >= 0 && n < 256)
            t.chosen[static_cast<std::size_t>(n)] = 1;
    for (int x = 0; x < 256; ++x) {
        const int shown = view.value(x);
        t.banker[static_cast<std::size_t>(x)] =
            std::find(c.bankerItems.begin(), c.bankerItems.end(), shown) != c.bankerItems.end();
    }
    return t;
}

// Span, dispersion and AC value of distinct values 1..N (N <= 63) held as
// the bits of `set`, in one walk over the values in ascending order: the
// dispersion is the widest of the hole below the smallest value, the hole
// above the largest and half of every gap; the AC value counts the distinct
// positive differences, the bits of the set shifted down by each value.
struct SetShape {
    int span = 0;
    int dispersion = 0;
    int ac = 0;
};

inline SetShape shapeOfSet(std::uint64_t set, int N)
{
    SetShape shape;
    if (!set)
        return shape;
    const int lowest = __builtin_ctzll(set);
    int previous = lowest;
    int widest = lowest - 1;
    std::uint64_t differences = 0;
    for (std::uint64_t rest = set; rest; rest &= rest - 1) {
        const int v = __builtin_ctzll(rest);
        differences |= set >> v;
        widest = std::max(widest, (v - previous) / 2);
        previous = v;
    }
    shape.span = previous - lowest;
    shape.dispersion = std::max({widest, N - previous, 0});
    shape.ac = __builtin_popcountll(differences >> 1);
    return shape;
}

// The banker pass: no progress, applied after every other test.
std::int64_t bankerPass(CombinationTable& table, const TotalFilterConditions& c, const NumberTables& t)
{
    std::int64_t dropped = 0;
    if (!c.banker)
        return 0;
    const int k = table.pickCount();
    const std::uint8_t* numbers = table.numbers();
    std::uint8_t* marks = table.marks();
    const std::int64_t rows = table.size();
    for (std::int64_t r = 0; r < rows; ++r) {
        if (marks[r])
            continue;
        const std::uint8_t* row = numbers + r * k;
        int hits = 0;
        for (int i = 0; i < k; ++i)
            hits += t.banker[row[i]];
        if (!within(hits, c.bankerHitsLow, c.bankerHitsHigh)) {
            marks[r] = 1;
            ++dropped;
        }
    }
    return dropped;
}

} // namespace

// ---------------------------------------------------------------- inputs

Bounds rangeListBounds(RangeTest test, int N, int k)
{
    const MetricBoundsTable b = MetricBounds(N, k);
    switch (test) {
    case RangeTest::Big: return {0, k};
    case RangeTest::Odd: return b.odd;
    case RangeTest::Sum: return b.sum;
    case RangeTest::Span: return b.span;
    case RangeTest::Dispersion: return b.dispersion;
    case RangeTest::Skewness: return b.skewness;
    case RangeTest::Ac: return b.ac;
    }
    return {};
}

std::vector<std::string> rangeListItems(RangeTest test, int N, int k)
{
    const Bounds b = rangeListBounds(test, N, k);
    std::vector<std::string> items;
    for (int v = b.min; v <= b.max; ++v)
        items.push_back(std::to_string(v));
    return items;
}

std::vector<std::string> splitBankerItems(std::string_view text)
{
    std::vector<std::string> items;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == ','))
            ++i;
        if (i >= text.size())
            break;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ')
            ++i;
        items.emplace_back(text.substr(start, i - start));
    }
    return items;
}

std::optional<TotalFilterProblem> validateTotalFilter(const TotalFilterInputs& in, const LotteryParams& lottery)
{
    bool any = in.redChoiceTicked || in.bankerTicked;
    for (const RangeInput& r : in.ranges)
        any = any || r.ticked;
    if (!any)
        return userError("请选择过滤条件！");

    for (const RangeInput& r : in.ranges)
        if (r.ticked && (r.lowerText.empty() || r.upperText.empty()))
            return userError("请选择组合框中的数值！");

    if (in.bankerTicked && (in.bankerText.empty() || in.bankerHitsFrom.empty() || in.bankerHitsTo.empty()))
        return userError("请输入胆码以及最少中奖个数和最多中奖个数！");

    for (const RangeInput& r : in.ranges)
        if (r.upperIndex < r.lowerIndex)
            return userError("请前面组合框中的数值应该小于等于后面组合框中的数值！");

    // Read whether or not the banker box is ticked.
    int hitsTo = 0;
    int hitsFrom = 0;
    if (!tryParseInteger(in.bankerHitsTo, hitsTo))
        return TotalFilterProblem{TotalFilterProblem::Kind::ConversionError,
                                  integerConversionMessage(in.bankerHitsTo)};
    if (!tryParseInteger(in.bankerHitsFrom, hitsFrom))
        return TotalFilterProblem{TotalFilterProblem::Kind::ConversionError,
                                  integerConversionMessage(in.bankerHitsFrom)};
    if (hitsTo < hitsFrom)
        return userError("胆码前面的中奖个数应该小于等于后面的中奖个数！");

    if (in.redChoiceTicked) {
        const auto reds = sortedWithin(in.chosenReds, lottery.numberRange);
        if (reds.empty())
            return userError("请点击你要选择的红球！");
        if (static_cast<int>(reds.size()) < lottery.pickCount)
            return userError("请至少选择" + std::to_string(lottery.pickCount) + "个红球！");
    }

    if (sortedWithin(in.chosenBlues, lottery.specialRange).empty())
        return userError("请点击你要选择的蓝球！");
    return std::nullopt;
}

std::variant<TotalFilterConditions, TotalFilterProblem> readTotalFilter(const TotalFilterInputs& in,
                                                                        const LotteryParams& lottery)
{
    if (auto problem = validateTotalFilter(in, lottery))
        return *problem;
    TotalFilterConditions c;
    try {
        for (int t = 0; t < RangeTestCount; ++t) {
            const RangeInput& r = in.ranges[static_cast<std::size_t>(t)];
            c.ticked[static_cast<std::size_t>(t)] = r.ticked;
            if (r.ticked) {
                c.lower[static_cast<std::size_t>(t)] = parseInteger(r.lowerText);
                c.upper[static_cast<std::size_t>(t)] = parseInteger(r.upperText);
            }
        }
        c.redChoice = in.redChoiceTicked;
        if (c.redChoice) {
            c.redHitsLow = parseInteger(in.redHitsFrom);
            c.redHitsHigh = parseInteger(in.redHitsTo);
            c.chosenReds = sortedWithin(in.chosenReds, lottery.numberRange);
        }
        c.banker = in.bankerTicked;
        c.bankerHitsLow = parseInteger(in.bankerHitsFrom);
        c.bankerHitsHigh = parseInteger(in.bankerHitsTo);
        if (c.banker)
            for (const std::string& item : splitBankerItems(in.bankerText))
                c.bankerItems.push_back(parseInteger(item));
    } catch (const Error& e) { // only parseInteger throws here
        return TotalFilterProblem{TotalFilterProblem::Kind::ConversionError, e.what()};
    }
    c.blues = sortedWithin(in.chosenBlues, lottery.specialRange);
    return c;
}

TotalFilterView standardView(const LotteryParams& lottery, const DrawHistory& history)
{
    TotalFilterView v;
    v.numberRange = lottery.numberRange;
    v.mode = TrendMode::Standard;
    if (!history.empty()) {
        auto latest = history.main(history.size() - 1);
        v.reference.assign(latest.begin(), latest.end());
    }
    return v;
}

// ---------------------------------------------------------------- cache

std::uint64_t TotalFilterCache::fingerprint(const CombinationTable& table)
{
    // Eight independent multiply-xor lanes over 8-byte words. Each step is a
    // bijection of the lane for a given word, so changing one word always
    // changes the result; a fraction of a millisecond for a 33/6 table.
    const std::uint8_t* p = table.numbers();
    const std::size_t bytes = static_cast<std::size_t>(table.size()) * static_cast<std::size_t>(table.pickCount());
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
    std::uint64_t lane[8];
    for (int l = 0; l < 8; ++l)
        lane[l] = 0x243F6A8885A308D3ull + static_cast<std::uint64_t>(l) * 0x13198A2E03707345ull;
    std::size_t i = 0;
    for (; i + 64 <= bytes; i += 64)
        for (int l = 0; l < 8; ++l) {
            std::uint64_t w;
            std::memcpy(&w, p + i + 8 * l, 8);
            lane[l] = (lane[l] ^ w) * kMul;
        }
    std::uint64_t h = (static_cast<std::uint64_t>(bytes) * kMul) ^ static_cast<std::uint64_t>(table.pickCount());
    for (; i < bytes; ++i)
        h = (h ^ p[i]) * kMul;
    for (std::uint64_t l : lane) {
        h = (h ^ l ^ (l >> 29)) * kMul;
        h ^= h >> 32;
    }
    return h;
}

void TotalFilterCache::prepare(const CombinationTable& table, int N, std::uint64_t tableFingerprint)
{
    if (describes(tableFingerprint, N))
        return;
    valid_ = false;
    const int k = table.pickCount();
    const std::int64_t rows = table.size();
    const auto n = static_cast<std::size_t>(rows);
    big_.resize(n);
    odd_.resize(n);
    sum_.resize(n);
    span_.resize(n);
    dispersion_.resize(n);
    ac_.resize(n);
    for (std::int64_t r = 0; r < rows; ++r) {
        const auto row = table.row(r);
        const auto i = static_cast<std::size_t>(r);
        big_[i] = static_cast<std::uint8_t>(TotalFilterBigCount(row, N));
        odd_[i] = static_cast<std::uint8_t>(OddCount(row));
        sum_[i] = static_cast<std::uint16_t>(SumValue(row));
        span_[i] = static_cast<std::uint8_t>(SpanValue(row));
        dispersion_[i] = static_cast<std::uint8_t>(DispersionValue(row, N));
        ac_[i] = static_cast<std::uint8_t>(AcValue(row));
    }
    N_ = N;
    k_ = k;
    fingerprint_ = tableFingerprint;
    valid_ = true;
}

// ---------------------------------------------------------------- passes

namespace {

TotalFilterPass filterRows(CombinationTable& table, const TotalFilterConditions& c, const TotalFilterView& view,
                           TotalFilterCache& cache, const ProgressFn& progress, std::optional<std::uint64_t> knownFingerprint)
{
    TotalFilterPass result;
    const int N = view.numberRange;
    const int k = table.pickCount();
    const std::int64_t rows = table.size();
    const std::uint8_t* numbers = table.numbers();
    std::uint8_t* marks = table.marks();
    const NumberTables tables = numberTables(c, view);
    const bool variable = view.mode == TrendMode::Variable;

    auto on = [&](RangeTest t) { return c.ticked[static_cast<std::size_t>(t)]; };
    auto lo = [&](RangeTest t) { return c.lower[static_cast<std::size_t>(t)]; };
    auto hi = [&](RangeTest t) { return c.upper[static_cast<std::size_t>(t)]; };
    const bool tBig = on(RangeTest::Big), tOdd = on(RangeTest::Odd), tSum = on(RangeTest::Sum),
               tSpan = on(RangeTest::Span), tDisp = on(RangeTest::Dispersion), tSkew = on(RangeTest::Skewness),
               tAc = on(RangeTest::Ac), tRed = c.redChoice;

    // Per-number parts of the metrics that add up (big, odd, sum) or take a
    // maximum (skewness) over the numbers, taken from the metric definitions
    // on one-number sets of the shown value.
    std::array<std::uint8_t, 256> bigOf{}, oddOf{}, skewOf{};
    std::array<std::uint16_t, 256> sumOf{};
    for (int x = 0; x < 256; ++x) {
        const int shown[1] = {view.value(x)};
        const std::span<const int> one(shown, 1);
        bigOf[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(TotalFilterBigCount(one, N));
        oddOf[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(OddCount(one));
        sumOf[static_cast<std::size_t>(x)] = static_cast<std::uint16_t>(SumValue(one));
        skewOf[static_cast<std::size_t>(x)] =
            static_cast<std::uint8_t>(SkewnessValue(one, std::span<const int>(view.reference)));
    }

    auto skewness = [&](const std::uint8_t* row) {
        int s = 0;
        for (int i = 0; i < k; ++i)
            s = std::max<int>(s, skewOf[row[i]]);
        return s;
    };
    auto redHits = [&](const std::uint8_t* row) {
        int h = 0;
        for (int i = 0; i < k; ++i)
            h += tables.chosen[row[i]];
        return h;
    };

    if (!variable) {
        cache.prepare(table, N, knownFingerprint ? *knownFingerprint : TotalFilterCache::fingerprint(table));
        const std::uint8_t* big = cache.big();
        const std::uint8_t* odd = cache.odd();
        const std::uint16_t* sum = cache.sum();
        const std::uint8_t* span = cache.span();
        const std::uint8_t* disp = cache.dispersion();
        const std::uint8_t* ac = cache.ac();
        for (std::int64_t block = 0; block < rows; block += kProgressRows) {
            if (!reportProgress(progress, block, rows)) {
                result.stopped = true;
                return result;
            }
            const std::int64_t end = std::min(rows, block + kProgressRows);
            for (std::int64_t r = block; r < end; ++r) {
                if (marks[r])
                    continue;
                const std::uint8_t* row = numbers + r * k;
                const bool out = (tBig && !within(big[r], lo(RangeTest::Big), hi(RangeTest::Big)))
                    || (tOdd && !within(odd[r], lo(RangeTest::Odd), hi(RangeTest::Odd)))
                    || (tSum && !within(sum[r], lo(RangeTest::Sum), hi(RangeTest::Sum)))
                    || (tSpan && !within(span[r], lo(RangeTest::Span), hi(RangeTest::Span)))
                    || (tDisp && !within(disp[r], lo(RangeTest::Dispersion), hi(RangeTest::Dispersion)))
                    || (tAc && !within(ac[r], lo(RangeTest::Ac), hi(RangeTest::Ac)))
                    || (tSkew && !within(skewness(row), lo(RangeTest::Skewness), hi(RangeTest::Skewness)))
                    || (tRed && !within(redHits(row), c.redHitsLow, c.redHitsHigh));
                if (out)
                    marks[r] = 1;
                else
                    ++result.survivors;
            }
        }
    } else {
        // Span, dispersion and AC depend on the whole set of shown values.
        // Calling the metric functions on every row costs about 90 ns a row,
        // too slow for a run; while the shown values are distinct and fit a
        // 64-bit set, shapeOfSet gives the same three values (checked against
        // totalFilterPassDirect, which calls the metric functions).
        // Everything a number contributes, in one 16-byte entry per number.
        struct NumberInfo {
            std::uint64_t bit;
            std::uint16_t sum;
            std::uint8_t big, odd, skew, chosen;
        };
        std::array<NumberInfo, 256> info{};
        std::array<int, 256> shownOf{};
        bool fitsSet = N >= 1 && N <= 63;
        for (int x = 0; x < 256; ++x) {
            const int v = view.value(x);
            const auto i = static_cast<std::size_t>(x);
            shownOf[i] = v;
            if (x >= 1 && x <= N && (v < 1 || v > N))
                fitsSet = false;
            info[i] = {(v >= 0 && v < 64) ? std::uint64_t{1} << v : 0, sumOf[i], bigOf[i], oddOf[i], skewOf[i],
                       tables.chosen[i]};
        }
        int values[64];
        const std::span<const int> shownSet(values, static_cast<std::size_t>(std::min(k, 64)));
        for (std::int64_t block = 0; block < rows; block += kProgressRows) {
            if (!reportProgress(progress, block, rows)) {
                result.stopped = true;
                return result;
            }
            const std::int64_t end = std::min(rows, block + kProgressRows);
            for (std::int64_t r = block; r < end; ++r) {
                if (marks[r])
                    continue;
                const std::uint8_t* row = numbers + r * k;
                int big = 0, odd = 0, sum = 0, skew = 0, red = 0;
                std::uint64_t set = 0;
                bool inRange = fitsSet;
                for (int i = 0; i < k; ++i) {
                    const NumberInfo& n = info[row[i]];
                    big += n.big;
                    odd += n.odd;
                    sum += n.sum;
                    skew = std::max<int>(skew, n.skew);
                    red += n.chosen;
                    set |= n.bit;
                    inRange = inRange && row[i] >= 1 && row[i] <= N;
                }
                bool out = (tBig && !within(big, lo(RangeTest::Big), hi(RangeTest::Big)))
                    || (tOdd && !within(odd, lo(RangeTest::Odd), hi(RangeTest::Odd)))
                    || (tSum && !within(sum, lo(RangeTest::Sum), hi(RangeTest::Sum)))
                    || (tSkew && !within(skew, lo(RangeTest::Skewness), hi(RangeTest::Skewness)))
                    || (tRed && !within(red, c.redHitsLow, c.redHitsHigh));
                if (!out && (tSpan || tDisp || tAc)) {
                    if (inRange && __builtin_popcountll(set) == k) {
                        const SetShape shape = shapeOfSet(set, N);
                        out = (tSpan && !within(shape.span, lo(RangeTest::Span), hi(RangeTest::Span)))
                            || (tAc && !within(shape.ac, lo(RangeTest::Ac), hi(RangeTest::Ac)))
                            || (tDisp && !within(shape.dispersion, lo(RangeTest::Dispersion), hi(RangeTest::Dispersion)));
                    } else {
                        for (int i = 0; i < k; ++i)
                            values[i] = shownOf[row[i]];
                        out = (tSpan && !within(SpanValue(shownSet), lo(RangeTest::Span), hi(RangeTest::Span)))
                            || (tAc && !within(AcValue(shownSet), lo(RangeTest::Ac), hi(RangeTest::Ac)))
                            || (tDisp
                                && !within(DispersionValue(shownSet, N), lo(RangeTest::Dispersion),
                                           hi(RangeTest::Dispersion)));
                    }
                }
                if (out)
                    marks[r] = 1;
                else
                    ++result.survivors;
            }
        }
    }
    result.survivors -= bankerPass(table, c, tables);
    return result;
}

} // namespace

TotalFilterPass totalFilterPass(CombinationTable& table, const TotalFilterConditions& conditions,
                                const TotalFilterView& view, TotalFilterCache& cache, const ProgressFn& progress)
{
    return filterRows(table, conditions, view, cache, progress, std::nullopt);
}

TotalFilterPass totalFilterPassDirect(CombinationTable& table, const TotalFilterConditions& c,
                                      const TotalFilterView& view)
{
    TotalFilterPass result;
    const int N = view.numberRange;
    const int k = table.pickCount();
    const std::span<const int> reference(view.reference);
    std::vector<int> values(static_cast<std::size_t>(k));
    const std::span<const int> cs(values);
    auto test = [&](RangeTest t, int measure, std::int64_t r) {
        const auto i = static_cast<std::size_t>(t);
        if (c.ticked[i] && (measure < c.lower[i] || measure > c.upper[i]))
            table.setMark(r, 1);
    };
    for (std::int64_t r = 0; r < table.size(); ++r) {
        if (table.mark(r) != 0)
            continue;
        const auto row = table.row(r);
        for (int i = 0; i < k; ++i)
            values[static_cast<std::size_t>(i)] = view.value(row[static_cast<std::size_t>(i)]);
        test(RangeTest::Big, TotalFilterBigCount(cs, N), r);
        test(RangeTest::Odd, OddCount(cs), r);
        test(RangeTest::Sum, SumValue(cs), r);
        test(RangeTest::Span, SpanValue(cs), r);
        test(RangeTest::Dispersion, DispersionValue(cs, N), r);
        test(RangeTest::Skewness, SkewnessValue(cs, reference), r);
        test(RangeTest::Ac, AcValue(cs), r);
        if (c.redChoice) {
            int hits = 0;
            for (std::uint8_t n : row)
                hits += std::binary_search(c.chosenReds.begin(), c.chosenReds.end(), static_cast<int>(n));
            if (hits < c.redHitsLow || hits > c.redHitsHigh)
                table.setMark(r, 1);
        }
        if (table.mark(r) == 0)
            ++result.survivors;
    }
    if (c.banker) {
        for (std::int64_t r = 0; r < table.size(); ++r) {
            if (table.mark(r) != 0)
                continue;
            const auto row = table.row(r);
            int hits = 0;
            for (std::uint8_t n : row) {
                const int shown = view.value(n);
                hits += std::find(c.bankerItems.begin(), c.bankerItems.end(), shown) != c.bankerItems.end();
            }
            if (hits < c.bankerHitsLow || hits > c.bankerHitsHigh) {
                table.setMark(r, 1);
                --result.survivors;
            }
        }
    }
    return result;
}

// ---------------------------------------------------------------- run

void TotalFilter::takeLoaded(const BetFileLoad& load)
{
    if (!load.ok())
        return;
    table_.assign(load.pickCount, load.numbers);
    startFromAll_ = false;
}

TotalFilterRun TotalFilter::run(const TotalFilterInputs& inputs, const LotteryParams& lottery,
                                const TotalFilterView& view, const std::filesystem::path& listFile,
                                const ProgressFn& progress)
{
    TotalFilterRun run;
    auto read = readTotalFilter(inputs, lottery);
    if (auto* problem = std::get_if<TotalFilterProblem>(&read)) {
        run.status = problem->kind == TotalFilterProblem::Kind::UserError ? TotalFilterStatus::UserError
                                                                         : TotalFilterStatus::ConversionError;
        run.message = problem->message;
        return run;
    }
    const TotalFilterConditions& conditions = std::get<TotalFilterConditions>(read);
    run.blues = conditions.blues;
    const int N = lottery.numberRange;
    const int k = lottery.pickCount;

    std::optional<std::uint64_t> fingerprint;
    if (startFromAll_) {
        // The table usually still holds all combinations from an earlier run:
        // clearing the marks is then the same as rebuilding it, and cheaper.
        fingerprint = TotalFilterCache::fingerprint(table_);
        if (!(*fingerprint == allFingerprint_ && allN_ == N && allK_ == k && !table_.empty())) {
            table_.buildAll(N, k);
            fingerprint = TotalFilterCache::fingerprint(table_);
            allFingerprint_ = *fingerprint;
            allN_ = N;
            allK_ = k;
        } else {
            table_.resetMarks();
        }
        if (table_.empty()) {
            run.status = TotalFilterStatus::UserError;
            run.message = kNoCombinationsMessage;
            return run;
        }
    }

    const TotalFilterPass pass = filterRows(table_, conditions, view, cache_, progress, fingerprint);
    run.survivors = pass.survivors;
    if (pass.stopped) {
        run.status = TotalFilterStatus::Stopped;
        return run;
    }
    if (pass.survivors == 0) {
        run.status = TotalFilterStatus::NoSurvivors;
        run.message = kNoSurvivorsMessage;
        return run;
    }
    run.lines = pass.survivors * static_cast<std::int64_t>(conditions.blues.size());
    if (!listFile.empty()) {
        const FileWriteResult written =
            writeBetList(listFile, table_, BetLineLayout::WithSpecial, conditions.blues, progress);
        if (written.status == FileWriteResult::Status::Stopped) {
            run.status = TotalFilterStatus::Stopped;
            return run;
        }
        if (!written.ok()) {
            run.status = TotalFilterStatus::ListFailed;
            run.message = written.error;
            return run;
        }
        run.lines = written.lines;
    }
    startFromAll_ = false;
    return run;
}

// ---------------------------------------------------------------- random choice

RandomChoice chooseRandomNumbers(std::string_view countText, int range, Random& random)
{
    RandomChoice choice;
    int count = 0;
    if (!tryParseInteger(std::string(countText), count)) {
        choice.message = integerConversionMessage(std::string(countText));
        return choice;
    }
    if (count < 0 || count > range) {
        choice.message = "随机选择的个数应在0到" + std::to_string(std::max(range, 0)) + "之间！";
        return choice;
    }
    // Draw again on a repeat, as many times as it takes; count <= range ends it.
    std::vector<bool> taken(static_cast<std::size_t>(range), false);
    for (int i = 0; i < count; ++i) {
        int r;
        do
            r = random.below(range);
        while (taken[static_cast<std::size_t>(r)]);
        taken[static_cast<std::size_t>(r)] = true;
    }
    for (int r = 0; r < range; ++r)
        if (taken[static_cast<std::size_t>(r)])
            choice.numbers.push_back(r + 1);
    choice.ok = true;
    return choice;
}

} // namespace zelvor
