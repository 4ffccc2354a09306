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

RangeInput rangeInput(RangeTest test, int N, int k, bool ticked, std::string lowerText, std::string upperText)
{
    const std::vector<std::string> items = rangeListItems(test, N, k);
    auto position = [&items](const std::string& text) {
        const auto it = std::find(items.begin(), items.end(), text);
        return text.empty() || it == items.end() ? -1 : static_cast<int>(it - items.begin());
    };
    RangeInput r;
    r.ticked = ticked;
    r.lowerIndex = position(lowerText);
    r.upperIndex = position(upperText);
    r.lowerText = std::move(lowerText);
    r.upperText = std::move(upperText);
    return r;
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

// The ranges of one run, in the order the pass tests them: the cheap tests
// first, span, dispersion and AC last (in the variable view they need the
// whole set of shown values).
struct RangeLimits {
    explicit RangeLimits(const TotalFilterConditions& c) : c_(c) {}
    bool on(RangeTest t) const { return c_.ticked[static_cast<std::size_t>(t)]; }
    bool fails(RangeTest t, int v) const
    {
        return !within(v, c_.lower[static_cast<std::size_t>(t)], c_.upper[static_cast<std::size_t>(t)]);
    }
    // Tests the cheaper metrics of a row first: Row::kWholeSetIsCheap says
    // whether span, dispersion and AC cost less than skewness and red hits.
    template <class Row> bool outside(Row& m) const
    {
        const bool simple = (big && fails(RangeTest::Big, m.big())) || (odd && fails(RangeTest::Odd, m.odd()))
            || (sum && fails(RangeTest::Sum, m.sum()));
        if (simple)
            return true;
        auto perNumber = [&] {
            return (skew && fails(RangeTest::Skewness, m.skew()))
                || (red && !within(m.red(), c_.redHitsLow, c_.redHitsHigh));
        };
        auto wholeSet = [&] {
            return (span && fails(RangeTest::Span, m.span())) || (disp && fails(RangeTest::Dispersion, m.dispersion()))
                || (ac && fails(RangeTest::Ac, m.ac()));
        };
        if constexpr (Row::kWholeSetIsCheap)
            return wholeSet() || perNumber();
        else
            return perNumber() || wholeSet();
    }

    const TotalFilterConditions& c_;
    const bool big = on(RangeTest::Big), odd = on(RangeTest::Odd), sum = on(RangeTest::Sum),
               span = on(RangeTest::Span), disp = on(RangeTest::Dispersion), skew = on(RangeTest::Skewness),
               ac = on(RangeTest::Ac), red = c_.redChoice;
};

// Everything one number contributes to a row's metrics as the view shows it:
// the parts that add up (big, odd, sum, chosen) or take a maximum (skewness),
// taken from the metric definitions on one-number sets of the shown value.
struct NumberInfo {
    std::uint64_t bit; // the shown value as a set member (0 when it does not fit)
    std::uint16_t sum;
    std::uint8_t big, odd, skew, chosen;
};

std::array<NumberInfo, 256> numberInfo(const TotalFilterView& view, const NumberTables& tables)
{
    const int N = view.numberRange;
    std::array<NumberInfo, 256> info{};
    for (int x = 0; x < 256; ++x) {
        const int v = view.value(x);
        const int shown[1] = {v};
        const std::span<const int> one(shown, 1);
        info[static_cast<std::size_t>(x)] = {
            (v >= 0 && v < 64) ? std::uint64_t{1} << v : 0,
            static_cast<std::uint16_t>(SumValue(one)),
            static_cast<std::uint8_t>(TotalFilterBigCount(one, N)),
            static_cast<std::uint8_t>(OddCount(one)),
            static_cast<std::uint8_t>(SkewnessValue(one, std::span<const int>(view.reference))),
            tables.chosen[static_cast<std::size_t>(x)]};
    }
    return info;
}

// Metrics of the rows of the standard view: the cached per-row values, with
// skewness and red hits from the row's numbers. row() gives one row's view.
class CachedRowMetrics {
public:
    CachedRowMetrics(const TotalFilterCache& cache, const std::array<NumberInfo, 256>& info, int k)
        : big_(cache.big()), odd_(cache.odd()), span_(cache.span()), disp_(cache.dispersion()), ac_(cache.ac()),
          sum_(cache.sum()), info_(info.data()), k_(k)
    {
    }
    // Holds the table pointers itself: kept in registers, they need no reload
    // after each mark written.
    struct Row {
        static constexpr bool kWholeSetIsCheap = true;
        const std::uint8_t *big_, *odd_, *span_, *disp_, *ac_;
        const std::uint16_t* sum_;
        const NumberInfo* info_;
        int k_;
        std::int64_t r;
        const std::uint8_t* numbers;
        int big() const { return big_[r]; }
        int odd() const { return odd_[r]; }
        int sum() const { return sum_[r]; }
        int span() const { return span_[r]; }
        int dispersion() const { return disp_[r]; }
        int ac() const { return ac_[r]; }
        int skew() const
        {
            int s = 0;
            for (int i = 0; i < k_; ++i)
                s = std::max<int>(s, info_[numbers[i]].skew);
            return s;
        }
        int red() const
        {
            int h = 0;
            for (int i = 0; i < k_; ++i)
                h += info_[numbers[i]].chosen;
            return h;
        }
    };
    Row row(std::int64_t r, const std::uint8_t* numbers) const
    {
        return {big_, odd_, span_, disp_, ac_, sum_, info_, k_, r, numbers};
    }

private:
    const std::uint8_t *big_, *odd_, *span_, *disp_, *ac_;
    const std::uint16_t* sum_;
    const NumberInfo* info_;
    int k_;
};

// Metrics of the rows of the variable view, from the shown values. Span,
// dispersion and AC depend on the whole set: calling the metric functions on
// every row costs about 90 ns a row, too slow for a run, so while the shown
// values are distinct and fit a 64-bit set shapeOfSet gives the same three
// values (checked against totalFilterPassDirect, which calls the metric
// functions). A row works them out once, when first asked for.
class ShownRowMetrics {
public:
    ShownRowMetrics(const TotalFilterView& view, const std::array<NumberInfo, 256>& info, int k)
        : info_(info.data()), N_(view.numberRange), k_(k)
    {
        fitsSet_ = N_ >= 1 && N_ <= 63;
        for (int x = 0; x < 256; ++x) {
            const int v = view.value(x);
            shownOf_[static_cast<std::size_t>(x)] = v;
            if (x >= 1 && x <= N_ && (v < 1 || v > N_))
                fitsSet_ = false;
        }
    }
    class Row {
    public:
        static constexpr bool kWholeSetIsCheap = false;
        Row(const ShownRowMetrics& m, const std::uint8_t* numbers) : m_(m), numbers_(numbers)
        {
            bool inRange = m.fitsSet_;
            for (int i = 0; i < m.k_; ++i) {
                const NumberInfo& n = m.info_[numbers[i]];
                big_ += n.big;
                odd_ += n.odd;
                sum_ += n.sum;
                skew_ = std::max<int>(skew_, n.skew);
                red_ += n.chosen;
                set_ |= n.bit;
                inRange = inRange && numbers[i] >= 1 && numbers[i] <= m.N_;
            }
            inRange_ = inRange;
        }
        int big() const { return big_; }
        int odd() const { return odd_; }
        int sum() const { return sum_; }
        int skew() const { return skew_; }
        int red() const { return red_; }
        int span() { return shape().span; }
        int dispersion() { return shape().dispersion; }
        int ac() { return shape().ac; }

    private:
        const SetShape& shape()
        {
            if (!shaped_) {
                shaped_ = true;
                shape_ = inRange_ && __builtin_popcountll(set_) == m_.k_ ? shapeOfSet(set_, m_.N_)
                                                                          : m_.shapeOfValues(numbers_);
            }
            return shape_;
        }
        const ShownRowMetrics& m_;
        const std::uint8_t* numbers_;
        int big_ = 0, odd_ = 0, sum_ = 0, skew_ = 0, red_ = 0;
        std::uint64_t set_ = 0;
        bool inRange_ = false;
        bool shaped_ = false;
        SetShape shape_{};
    };
    Row row(std::int64_t, const std::uint8_t* numbers) const { return Row(*this, numbers); }

private:
    // The metric functions on the shown values (repeated or out-of-range values).
    SetShape shapeOfValues(const std::uint8_t* numbers) const
    {
        int values[64];
        const int n = std::min(k_, 64);
        for (int i = 0; i < n; ++i)
            values[i] = shownOf_[numbers[i]];
        const std::span<const int> shown(values, static_cast<std::size_t>(n));
        return {SpanValue(shown), DispersionValue(shown, N_), AcValue(shown)};
    }

    const NumberInfo* info_;
    std::array<int, 256> shownOf_{};
    int N_, k_;
    bool fitsSet_ = false;
};

// Marks every unmarked row outside the limits; counts the rows kept.
template <class Metrics>
[[gnu::flatten]] bool markOutsideRows(CombinationTable& table, const RangeLimits& limits, const Metrics metrics, const ProgressFn& progress,
                     std::int64_t& survivors)
{
    const int k = table.pickCount();
    const std::int64_t rows = table.size();
    const std::uint8_t* numbers = table.numbers();
    std::uint8_t* marks = table.marks();
    for (std::int64_t block = 0; block < rows; block += kProgressRows) {
        if (!reportProgress(progress, block, rows))
            return false;
        const std::int64_t end = std::min(rows, block + kProgressRows);
        for (std::int64_t r = block; r < end; ++r) {
            if (marks[r])
                continue;
            auto row = metrics.row(r, numbers + r * k);
            if (limits.outside(row))
                marks[r] = 1;
            else
                ++survivors;
        }
    }
    return true;
}

TotalFilterPass filterRows(CombinationTable& table, const TotalFilterConditions& c, const TotalFilterView& view,
                           TotalFilterCache& cache, const ProgressFn& progress, std::optional<std::uint64_t> knownFingerprint)
{
    TotalFilterPass result;
    const NumberTables tables = numberTables(c, view);
    const std::array<NumberInfo, 256> info = numberInfo(view, tables);
    const RangeLimits limits(c);
    bool completed = false;
    if (view.mode == TrendMode::Variable) {
        ShownRowMetrics metrics(view, info, table.pickCount());
        completed = markOutsideRows(table, limits, metrics, progress, result.survivors);
    } else {
        cache.prepare(table, view.numberRange,
                      knownFingerprint ? *knownFingerprint : TotalFilterCache::fingerprint(table));
        CachedRowMetrics metrics(cache, info, table.pickCount());
        completed = markOutsideRows(table, limits, metrics, progress, result.survivors);
    }
    if (!completed) {
        result.stopped = true;
        return result;
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
