#include "filter/exclusion.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <limits>

#include "common/error.h"
#include "common/format.h"

namespace zelvor {

namespace {

int popcount(std::uint64_t v) { return std::popcount(v); }

// Bits 1..N of a set of values.
std::uint64_t maskOf(std::span<const int> values)
{
    std::uint64_t m = 0;
    for (int v : values)
        m |= numberBit(v);
    return m;
}

// A view-space mask mapped back to numbers: bit x for each value map[x] in the mask.
std::uint64_t backMap(std::uint64_t viewMask, const std::vector<int>& inverse)
{
    std::uint64_t m = 0;
    while (viewMask) {
        const int v = std::countr_zero(viewMask);
        viewMask &= viewMask - 1;
        m |= numberBit(inverse[static_cast<std::size_t>(v)]);
    }
    return m;
}

std::vector<int> inverseOf(const std::vector<int>& map)
{
    std::vector<int> inv(map.size(), 0);
    for (std::size_t x = 1; x < map.size(); ++x)
        inv[static_cast<std::size_t>(map[x])] = static_cast<int>(x);
    return inv;
}

// The view values of draw u's numbers, in the draw's order.
std::vector<int> viewValues(const DrawHistory& history, int u, const std::vector<int>& map)
{
    std::vector<int> v;
    for (int d : history.main(u))
        v.push_back(d >= 1 && d < static_cast<int>(map.size()) ? map[static_cast<std::size_t>(d)] : 0);
    return v;
}

PlaceKey followKey(bool omissionKey) { return omissionKey ? PlaceKey::LongestGap : PlaceKey::CountFirst; }

// Masks of the follower draws found at t (see followCount).
std::vector<std::uint64_t> followers(std::span<const std::uint64_t> draws, int t, int h)
{
    std::vector<std::uint64_t> found;
    if (t < 2 || h < 1)
        return found;
    std::vector<int> last;
    for (std::uint64_t m = draws[static_cast<std::size_t>(t - 1)]; m; m &= m - 1)
        last.push_back(std::countr_zero(m));
    const int k = static_cast<int>(last.size());
    if (h > k)
        return found;
    // h-subsets of the draw's numbers in lexicographic order of their places.
    std::vector<int> idx(static_cast<std::size_t>(h));
    for (int i = 0; i < h; ++i)
        idx[static_cast<std::size_t>(i)] = i;
    for (;;) {
        std::uint64_t x = 0;
        for (int i : idx)
            x |= numberBit(last[static_cast<std::size_t>(i)]);
        for (int j = t - 2; j >= 0; --j)
            if ((draws[static_cast<std::size_t>(j)] & x) == x) {
                found.push_back(draws[static_cast<std::size_t>(j + 1)]);
                break;
            }
        int i = h - 1;
        while (i >= 0 && idx[static_cast<std::size_t>(i)] == k - h + i)
            --i;
        if (i < 0)
            break;
        ++idx[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < h; ++j)
            idx[static_cast<std::size_t>(j)] = idx[static_cast<std::size_t>(j - 1)] + 1;
    }
    return found;
}

bool isBigOrOdd(int v, int N, bool oddMode) { return oddMode ? (v % 2 == 1) : (v >= N / 2); }

// The stage length of a variable follow view.
int followStage(const ExclusionSettings& s, ViewSource& source, int pass)
{
    const int limit = s.maxStage ? s.b + 1 : s.stage;
    return s.randomStage ? source.stage(pass, limit) : limit;
}

// Maps and masks of every draw 0..upTo-1 under a view, and the map at upTo.
struct WalkedViews {
    std::vector<std::uint64_t> drawMasks; // view space
    std::vector<int> mapAtEnd;
};

WalkedViews walkViews(const DrawHistory& history, int N, std::span<const int> P, int W, PlaceKey key, bool wheel,
                      int from, int upTo)
{
    WalkedViews out;
    out.drawMasks.assign(static_cast<std::size_t>(std::max(upTo, 0)), 0);
    ViewWalk walk(history, N, P, W, key);
    std::vector<int> map;
    for (int t = 0; t < upTo; ++t) {
        if (t >= from) {
            wheel ? walk.wheelMap(map) : walk.viewMap(map);
            out.drawMasks[static_cast<std::size_t>(t)] = maskOf(viewValues(history, t, map));
        }
        walk.advance();
    }
    wheel ? walk.wheelMap(out.mapAtEnd) : walk.viewMap(out.mapAtEnd);
    return out;
}

std::vector<std::uint64_t> drawMasks(const DrawHistory& history, int upTo)
{
    std::vector<std::uint64_t> m(static_cast<std::size_t>(std::max(upTo, 0)));
    for (int u = 0; u < upTo; ++u) {
        auto d = history.main(u);
        m[static_cast<std::size_t>(u)] = maskOf(std::vector<int>(d.begin(), d.end()));
    }
    return m;
}

} // namespace

std::optional<std::string> exclusionRefusal(const LotteryParams& lottery)
{
    if (lottery.kind != LotteryKind::Lotto)
        return std::string(kExclusionLottoOnlyMessage);
    if (lottery.pickCount < 4 || lottery.pickCount > 7 || lottery.numberRange > 62
        || lottery.numberRange < lottery.pickCount)
        return std::string(kExclusionPickCountMessage);
    return std::nullopt;
}

// ------------------------------------------------------------ candidates

void ExclusionCandidates::buildAll(int N, int k)
{
    k_ = k;
    rows_.clear();
    if (k < 1 || N < k || N > 62)
        return;
    std::vector<int> c(static_cast<std::size_t>(k));
    for (int i = 0; i < k; ++i)
        c[static_cast<std::size_t>(i)] = i + 1;
    for (;;) {
        std::uint64_t m = 0;
        for (int x : c)
            m |= numberBit(x);
        rows_.push_back(m);
        int i = k - 1;
        while (i >= 0 && c[static_cast<std::size_t>(i)] == N - k + i + 1)
            --i;
        if (i < 0)
            break;
        ++c[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < k; ++j)
            c[static_cast<std::size_t>(j)] = c[static_cast<std::size_t>(j - 1)] + 1;
    }
}

void ExclusionCandidates::assign(int k, const std::vector<std::uint8_t>& flat)
{
    k_ = k;
    rows_.clear();
    if (k < 1)
        return;
    rows_.reserve(flat.size() / static_cast<std::size_t>(k));
    for (std::size_t i = 0; i + static_cast<std::size_t>(k) <= flat.size(); i += static_cast<std::size_t>(k)) {
        std::uint64_t m = 0;
        for (int j = 0; j < k; ++j)
            m |= numberBit(flat[i + static_cast<std::size_t>(j)]);
        rows_.push_back(m);
    }
}

void ExclusionCandidates::compact()
{
    std::erase_if(rows_, [](std::uint64_t r) { return (r & MarkBit) != 0; });
}

std::int64_t ExclusionCandidates::countKept() const
{
    return std::count_if(rows_.begin(), rows_.end(), [](std::uint64_t r) { return (r & MarkBit) == 0; });
}

std::vector<int> ExclusionCandidates::numbers(std::uint64_t row)
{
    std::vector<int> n;
    row &= ~MarkBit;
    for (; row; row &= row - 1)
        n.push_back(std::countr_zero(row));
    return n;
}

FileWriteResult writeExclusionList(const std::filesystem::path& file, const ExclusionCandidates& candidates,
                                   bool asBetFile, const ProgressFn& progress)
{
    FileWriteResult result;
    SafeFileWriter out(file);
    if (!out.isOpen()) {
        result.status = FileWriteResult::Status::Failed;
        result.error = out.error();
        return result;
    }
    const std::int64_t rows = candidates.size();
    std::int64_t lines = 0;
    for (std::int64_t i = 0; i < rows; ++i) {
        if ((i & 0xFFFF) == 0 && !reportProgress(progress, i, rows)) {
            result.status = FileWriteResult::Status::Stopped;
            return result;
        }
        const std::uint64_t r = candidates.row(i);
        if (r & ExclusionCandidates::MarkBit)
            continue;
        ++lines;
        char* p = out.reserve(64);
        char* start = p;
        if (!asBetFile) {
            const std::string seq = seven(lines);
            std::memcpy(p, seq.data(), seq.size());
            p += seq.size();
            std::memcpy(p, "    ", 4);
            p += 4;
        }
        bool first = true;
        for (std::uint64_t m = r; m; m &= m - 1) {
            const int x = std::countr_zero(m);
            if (asBetFile && !first)
                *p++ = ' ';
            first = false;
            *p++ = static_cast<char>('0' + x / 10);
            *p++ = static_cast<char>('0' + x % 10);
            if (!asBetFile)
                *p++ = ' ';
        }
        *p++ = '\r';
        *p++ = '\n';
        out.advance(static_cast<std::size_t>(p - start));
    }
    if (!out.commit()) {
        result.status = FileWriteResult::Status::Failed;
        result.error = out.error();
        return result;
    }
    result.lines = lines;
    return result;
}

// ------------------------------------------------------------ pass views

bool comesBefore(const PositionRecord& a, const PositionRecord& b, PlaceKey key)
{
    switch (key) {
    case PlaceKey::CountFirst:
        return a.count < b.count || (a.count == b.count && a.omission > b.omission);
    case PlaceKey::OmissionFirst:
        return a.omission < b.omission || (a.omission == b.omission && a.count > b.count);
    case PlaceKey::LongestGap:
        return a.omission > b.omission || (a.omission == b.omission && a.count < b.count);
    }
    return false;
}

void exchangeSort(std::vector<PositionRecord>& records, PlaceKey key)
{
    const std::size_t n = records.size();
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (comesBefore(records[j], records[i], key))
                std::swap(records[i], records[j]);
}

std::vector<int> drawPositionPermutation(int N, Random& random)
{
    std::vector<int> p(static_cast<std::size_t>(N) + 1, 0);
    std::vector<bool> taken(static_cast<std::size_t>(N) + 1, false);
    for (int n = 1; n <= N; ++n) {
        int v = 0;
        do
            v = 1 + random.below(N);
        while (taken[static_cast<std::size_t>(v)]);
        taken[static_cast<std::size_t>(v)] = true;
        p[static_cast<std::size_t>(n)] = v;
    }
    return p;
}

ViewWalk::ViewWalk(const DrawHistory& history, int N, std::span<const int> permutation, int W, PlaceKey key)
    : history_(history), N_(N), P_(permutation.begin(), permutation.end()), W_(W), key_(key),
      count_(static_cast<std::size_t>(N) + 1, 0), last_(static_cast<std::size_t>(N) + 1, -1)
{
    P_.resize(static_cast<std::size_t>(N) + 1, 0);
}

void ViewWalk::advance()
{
    const int t = t_;
    for (int d : history_.main(t)) {
        if (d < 1 || d > N_)
            continue;
        const int p = (P_[static_cast<std::size_t>(d)] + t) % N_ + 1;
        ++count_[static_cast<std::size_t>(p)];
        last_[static_cast<std::size_t>(p)] = t;
    }
    if (W_ > 0 && t - W_ >= 0) {
        const int u = t - W_;
        for (int d : history_.main(u)) {
            if (d < 1 || d > N_)
                continue;
            --count_[static_cast<std::size_t>((P_[static_cast<std::size_t>(d)] + u) % N_ + 1)];
        }
    }
    ++t_;
}

void ViewWalk::advanceTo(int t)
{
    while (t_ < t)
        advance();
}

std::vector<PositionRecord> ViewWalk::records() const
{
    std::vector<PositionRecord> r(static_cast<std::size_t>(N_));
    for (int p = 1; p <= N_; ++p) {
        const int last = last_[static_cast<std::size_t>(p)];
        r[static_cast<std::size_t>(p - 1)] = {p, count_[static_cast<std::size_t>(p)], last >= 0 ? t_ - last : 0};
    }
    return r;
}

void ViewWalk::viewMap(std::vector<int>& map) const
{
    std::vector<PositionRecord> r = records();
    exchangeSort(r, key_);
    std::vector<int> place(static_cast<std::size_t>(N_) + 1, 0);
    for (int slot = 0; slot < N_; ++slot)
        place[static_cast<std::size_t>(r[static_cast<std::size_t>(slot)].position)] = slot + 1;
    map.assign(static_cast<std::size_t>(N_) + 1, 0);
    for (int x = 1; x <= N_; ++x)
        map[static_cast<std::size_t>(x)] = place[static_cast<std::size_t>(pos(x))];
}

void ViewWalk::wheelMap(std::vector<int>& map) const
{
    map.assign(static_cast<std::size_t>(N_) + 1, 0);
    for (int x = 1; x <= N_; ++x)
        map[static_cast<std::size_t>(x)] = pos(x);
}

// ------------------------------------------------------------ sources

int GivenViewSource::stage(int pass, int maxW)
{
    if (stages_.empty())
        return std::min(1, maxW);
    return stages_[static_cast<std::size_t>((pass - 1) % static_cast<int>(stages_.size()))];
}

std::vector<int> GivenViewSource::permutation(int pass, int N)
{
    if (permutations_.empty()) {
        std::vector<int> p(static_cast<std::size_t>(N) + 1);
        for (int x = 0; x <= N; ++x)
            p[static_cast<std::size_t>(x)] = x;
        return p;
    }
    return permutations_[static_cast<std::size_t>((pass - 1) % static_cast<int>(permutations_.size()))];
}

// ------------------------------------------------------------ settings

int sumListLow(int, int k) { return k * (k + 1) / 2; }
int sumListHigh(int N, int k) { return k * (2 * N - k + 1) / 2; }
int defaultSumUpper(int N, int k)
{
    const int count = sumListHigh(N, k) - sumListLow(N, k) + 1;
    return sumListLow(N, k) + std::max(0, count * 9 / 10 - 1);
}
int defaultSumLower(int N, int k)
{
    const int count = sumListHigh(N, k) - sumListLow(N, k) + 1;
    return sumListLow(N, k) + std::max(0, count * 2 / 10 - 1);
}

std::variant<ExclusionSettings, std::string> readExclusionSettings(ExclusionKind kind, const ExclusionInputs& in,
                                                                   const LotteryParams& lottery)
{
    if (auto refusal = exclusionRefusal(lottery))
        return *refusal;
    ExclusionSettings s;
    s.kind = kind;
    s.b = in.b;
    s.byTarget = in.byTarget;
    int v = 0;
    auto read = [&](const std::string& text, int& into) {
        if (!tryParseInteger(text, into)) {
            v = -1;
            return false;
        }
        return true;
    };
    std::string bad;
    auto need = [&](const std::string& text, int& into) {
        if (bad.empty() && !read(text, into))
            bad = integerConversionMessage(text);
    };
    int target = 0;
    need(in.targetText, target);
    need(in.passesText, s.passes);
    s.target = target;
    switch (kind) {
    case ExclusionKind::Repeat:
        s.span = in.span;
        need(in.repeatsText, s.minRepeats);
        break;
    case ExclusionKind::Sum:
        need(in.upperText, s.upper);
        need(in.lowerText, s.lower);
        break;
    case ExclusionKind::Skew:
        s.oddMode = in.oddMode;
        s.high = in.high;
        s.low = in.low;
        need(in.aText, s.A);
        need(in.l1Text, s.L1);
        need(in.u1Text, s.U1);
        need(in.bText, s.B);
        need(in.l2Text, s.L2);
        need(in.u2Text, s.U2);
        need(in.yText, s.Y);
        break;
    case ExclusionKind::Follow:
        s.standard = in.standard;
        s.wheel = in.wheel;
        s.omissionKey = in.omissionKey;
        s.randomStage = in.randomStage;
        s.maxStage = in.maxStage;
        if (!s.standard && !s.maxStage)
            need(in.stageText, s.stage);
        need(in.hText, s.h);
        need(in.upperText, s.upper);
        need(in.lowerText, s.lower);
        if (bad.empty() && !s.standard && !s.maxStage && s.stage < 1)
            return std::string(kFollowStageMessage);
        if (bad.empty() && (s.h < 1 || s.h > 3))
            return std::string(kFollowCompareMessage);
        break;
    }
    (void)v;
    if (!bad.empty())
        return bad;
    return s;
}

// ------------------------------------------------------------ passes

namespace {

// Tests the unmarked rows [from, to) and marks those that fail, at most
// `room` of them. One loop per kind; built twice, once for processors with a
// popcount instruction.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("arch=haswell", "popcnt", "default")))
#endif
ExclusionChunk testRowsImpl(const ExclusionPass& p, std::uint64_t* rows, std::int64_t from, std::int64_t to,
                            std::int64_t room)
{
    constexpr std::uint64_t Mark = ExclusionCandidates::MarkBit;
    ExclusionChunk c{from, 0};
    const std::uint64_t* m = p.masks.data();
    const std::size_t n = p.masks.size();
    auto mark = [&](std::int64_t i) {
        rows[i] |= Mark;
        ++c.excluded;
    };
    std::int64_t i = from;
    switch (p.kind) {
    case ExclusionKind::Repeat:
        if (p.threshold >= p.pickCount && p.threshold > 0) {
            // Every row holds k numbers: k repeats mean the row lies inside a
            // compared view. Flags for a block first (a loop the compiler can
            // vectorise; a marked row never matches, its mark bit is in r but
            // in no view), then the marks in row order.
            if (p.threshold > p.pickCount) {
                i = to;
                break;
            }
            constexpr std::int64_t Block = 256;
            std::uint8_t flag[Block];
            while (i < to && c.excluded < room) {
                const std::int64_t len = std::min(Block, to - i);
                const std::uint64_t* block = rows + i;
                for (std::int64_t b = 0; b < len; ++b)
                    flag[b] = 0;
                for (std::size_t j = 0; j < n; ++j) {
                    const std::uint64_t mj = m[j];
                    for (std::int64_t b = 0; b < len; ++b)
                        flag[b] |= static_cast<std::uint8_t>((block[b] & mj) == block[b]);
                }
                std::int64_t b = 0;
                for (; b < len && c.excluded < room; ++b)
                    if (flag[b])
                        mark(i + b);
                i += b;
            }
            break;
        }
        for (; i < to && c.excluded < room; ++i) {
            const std::uint64_t r = rows[i];
            if (r & Mark)
                continue;
            bool fail = p.threshold <= 0;
            for (std::size_t j = 0; j < n && !fail; ++j)
                fail = std::popcount(r & m[j]) >= p.threshold;
            if (fail)
                mark(i);
        }
        break;
    case ExclusionKind::Sum:
        for (; i < to && c.excluded < room; ++i) {
            std::uint64_t r = rows[i];
            if (r & Mark)
                continue;
            int sum = 0;
            for (; r; r &= r - 1)
                sum += p.value[static_cast<std::size_t>(std::countr_zero(r))];
            if (sum >= p.upper || sum <= p.lower)
                mark(i);
        }
        break;
    case ExclusionKind::Skew:
        for (; i < to && c.excluded < room; ++i) {
            const std::uint64_t r = rows[i];
            if (r & Mark)
                continue;
            const int k = std::popcount(r & m[0]);
            if ((p.high && (k < p.L1 || k > p.U1)) || (p.low && (k < p.L2 || k > p.U2)))
                mark(i);
        }
        break;
    case ExclusionKind::Follow:
        for (; i < to && c.excluded < room; ++i) {
            const std::uint64_t r = rows[i];
            if (r & Mark)
                continue;
            int best = 0;
            for (std::size_t j = 0; j < n && best < p.upper; ++j)
                best = std::max(best, std::popcount(r & m[j]));
            if (best >= p.upper || best <= p.lower)
                mark(i);
        }
        break;
    }
    c.next = i;
    return c;
}

} // namespace

ExclusionChunk testRows(const ExclusionPass& p, std::uint64_t* rows, std::int64_t from, std::int64_t to,
                        std::int64_t room)
{
    return testRowsImpl(p, rows, from, to, room);
}

ExclusionPass prepareExclusionPass(const ExclusionSettings& s, const LotteryParams& lottery,
                                   const DrawHistory& history, ViewSource& source, int pass)
{
    const int N = lottery.numberRange;
    const int b = std::clamp(s.b, 0, history.size());
    ExclusionPass p;
    p.kind = s.kind;
    p.pickCount = lottery.pickCount;
    p.upper = s.upper;
    p.lower = s.lower;

    if (s.kind == ExclusionKind::Follow && s.standard) {
        p.stage = 0;
        p.masks = followers(drawMasks(history, b), b, s.h);
        std::sort(p.masks.begin(), p.masks.end());
        p.masks.erase(std::unique(p.masks.begin(), p.masks.end()), p.masks.end());
        return p;
    }

    int W = 0;
    if (s.kind == ExclusionKind::Follow)
        W = followStage(s, source, pass);
    else
        W = source.stage(pass, std::max(b, 1));
    p.stage = W;
    const std::vector<int> P = source.permutation(pass, N);

    switch (s.kind) {
    case ExclusionKind::Repeat: {
        const int from = std::max(0, b - s.span);
        WalkedViews v = walkViews(history, N, P, W, PlaceKey::CountFirst, false, from, b);
        const std::vector<int> inv = inverseOf(v.mapAtEnd);
        for (int u = from; u < b; ++u)
            p.masks.push_back(backMap(v.drawMasks[static_cast<std::size_t>(u)], inv));
        p.threshold = s.minRepeats;
        break;
    }
    case ExclusionKind::Sum: {
        ViewWalk walk(history, N, P, W, PlaceKey::OmissionFirst);
        walk.advanceTo(b);
        walk.viewMap(p.value);
        break;
    }
    case ExclusionKind::Skew: {
        const bool enough = s.Y <= 0 || b >= s.Y;
        const int from = s.Y > 0 && enough ? b - s.Y : b;
        WalkedViews v = walkViews(history, N, P, W, PlaceKey::CountFirst, false, from, b);
        bool highState = enough, lowState = enough;
        for (int u = from; u < b && enough; ++u) {
            std::uint64_t m = v.drawMasks[static_cast<std::size_t>(u)];
            int c = 0;
            for (; m; m &= m - 1)
                c += isBigOrOdd(std::countr_zero(m), N, s.oddMode);
            highState = highState && c >= s.A;
            lowState = lowState && c <= s.B;
        }
        std::uint64_t counted = 0;
        for (int x = 1; x <= N; ++x)
            if (isBigOrOdd(v.mapAtEnd[static_cast<std::size_t>(x)], N, s.oddMode))
                counted |= numberBit(x);
        p.masks = {counted};
        p.high = s.high && highState;
        p.low = s.low && lowState;
        p.L1 = s.L1;
        p.U1 = s.U1;
        p.L2 = s.L2;
        p.U2 = s.U2;
        p.testsRows = highState || lowState;
        break;
    }
    case ExclusionKind::Follow: {
        WalkedViews v = walkViews(history, N, P, W, followKey(s.omissionKey), s.wheel, 0, b);
        const std::vector<int> inv = inverseOf(v.mapAtEnd);
        for (std::uint64_t f : followers(v.drawMasks, b, s.h))
            p.masks.push_back(backMap(f, inv));
        break;
    }
    }
    if (s.kind == ExclusionKind::Repeat || s.kind == ExclusionKind::Follow) {
        // The same compared draw or follower twice tests nothing new.
        std::sort(p.masks.begin(), p.masks.end());
        p.masks.erase(std::unique(p.masks.begin(), p.masks.end()), p.masks.end());
    }
    return p;
}

std::int64_t exclusionPassDirect(ExclusionCandidates& candidates, const ExclusionSettings& s,
                                 const LotteryParams& lottery, const DrawHistory& history,
                                 std::span<const int> P, int W)
{
    const int N = lottery.numberRange;
    const int k = lottery.pickCount;
    const int b = std::clamp(s.b, 0, history.size());
    const bool standardFollow = s.kind == ExclusionKind::Follow && s.standard;
    const PlaceKey key = s.kind == ExclusionKind::Sum      ? PlaceKey::OmissionFirst
                         : s.kind == ExclusionKind::Follow ? followKey(s.omissionKey)
                                                           : PlaceKey::CountFirst;
    const bool wheel = s.kind == ExclusionKind::Follow && s.wheel;

    // The views as the rules give them: counts brought along draw by draw,
    // omissions found by looking back, the records sorted at every position.
    auto posOf = [&](int x, int u) { return (P[static_cast<std::size_t>(x)] + u) % N + 1; };
    std::vector<int> count(static_cast<std::size_t>(N) + 1, 0);
    auto orderingAt = [&](int t, std::vector<int>& map) {
        map.assign(static_cast<std::size_t>(N) + 1, 0);
        if (standardFollow) {
            for (int x = 1; x <= N; ++x)
                map[static_cast<std::size_t>(x)] = x;
            return;
        }
        if (wheel) {
            for (int x = 1; x <= N; ++x)
                map[static_cast<std::size_t>(x)] = posOf(x, t);
            return;
        }
        std::vector<PositionRecord> rec;
        for (int p = 1; p <= N; ++p) {
            PositionRecord r{p, count[static_cast<std::size_t>(p)], 0};
            for (int u = t - 1; u >= 0 && r.omission == 0; --u)
                for (int d : history.main(u))
                    if (posOf(d, u) == p)
                        r.omission = t - u;
            rec.push_back(r);
        }
        exchangeSort(rec, key);
        std::vector<int> place(static_cast<std::size_t>(N) + 1);
        for (int slot = 0; slot < N; ++slot)
            place[static_cast<std::size_t>(rec[static_cast<std::size_t>(slot)].position)] = slot + 1;
        for (int x = 1; x <= N; ++x)
            map[static_cast<std::size_t>(x)] = place[static_cast<std::size_t>(posOf(x, t))];
    };
    int firstView = b;
    if (s.kind == ExclusionKind::Repeat)
        firstView = std::max(0, b - s.span);
    else if (s.kind == ExclusionKind::Skew)
        firstView = s.Y > 0 && b >= s.Y ? b - s.Y : b;
    else if (s.kind == ExclusionKind::Follow)
        firstView = 0;
    std::vector<std::vector<int>> views(static_cast<std::size_t>(b));
    std::vector<int> map, at;
    for (int t = 0; t <= b; ++t) {
        if (t >= 1)
            for (int d : history.main(t - 1))
                ++count[static_cast<std::size_t>(posOf(d, t - 1))];
        if (W > 0 && t >= W + 1)
            for (int d : history.main(t - W - 1))
                --count[static_cast<std::size_t>(posOf(d, t - W - 1))];
        if (t < b && t >= firstView) {
            orderingAt(t, map);
            views[static_cast<std::size_t>(t)] = viewValues(history, t, map);
        }
    }
    orderingAt(b, at);
    auto inView = [](const std::vector<int>& values, int v) {
        return std::find(values.begin(), values.end(), v) != values.end();
    };
    auto countOf = [&](const std::vector<int>& values) {
        int c = 0;
        for (int v : values)
            c += isBigOrOdd(v, N, s.oddMode);
        return c;
    };
    bool highState = false, lowState = false;
    if (s.kind == ExclusionKind::Skew) {
        highState = lowState = s.Y <= 0 || b >= s.Y;
        for (int i = 1; i <= s.Y && b >= s.Y; ++i) {
            const int c = countOf(views[static_cast<std::size_t>(b - i)]);
            highState = highState && c >= s.A;
            lowState = lowState && c <= s.B;
        }
        if (!highState && !lowState)
            return 0;
    }

    std::int64_t excluded = 0;
    for (std::int64_t i = 0; i < candidates.size(); ++i) {
        if (candidates.marked(i))
            continue;
        std::vector<int> v;
        for (int x : ExclusionCandidates::numbers(candidates.row(i)))
            v.push_back(at[static_cast<std::size_t>(x)]);
        bool fail = false;
        switch (s.kind) {
        case ExclusionKind::Repeat: {
            int best = 0;
            for (int u = b - s.span; u <= b - 1; ++u) {
                if (u < 0)
                    continue;
                int c = 0;
                for (int j = 0; j < k; ++j)
                    c += inView(views[static_cast<std::size_t>(u)], v[static_cast<std::size_t>(j)]);
                best = std::max(best, c);
            }
            fail = best >= s.minRepeats;
            break;
        }
        case ExclusionKind::Sum: {
            int sum = 0;
            for (int x : v)
                sum += x;
            fail = sum >= s.upper || sum <= s.lower;
            break;
        }
        case ExclusionKind::Skew: {
            const int c = countOf(v);
            fail = (s.high && highState && (c < s.L1 || c > s.U1)) || (s.low && lowState && (c < s.L2 || c > s.U2));
            break;
        }
        case ExclusionKind::Follow: {
            int best = 0;
            if (b >= 2) {
                const std::vector<int>& last = views[static_cast<std::size_t>(b - 1)];
                std::vector<int> idx(static_cast<std::size_t>(s.h));
                for (int a = 0; a < s.h; ++a)
                    idx[static_cast<std::size_t>(a)] = a;
                const int kk = static_cast<int>(last.size());
                while (s.h <= kk) {
                    for (int j = b - 2; j >= 0; --j) {
                        bool all = true;
                        for (int a : idx)
                            all = all && inView(views[static_cast<std::size_t>(j)], last[static_cast<std::size_t>(a)]);
                        if (all) {
                            int c = 0;
                            for (int x : v)
                                c += inView(views[static_cast<std::size_t>(j + 1)], x);
                            best = std::max(best, c);
                            break;
                        }
                    }
                    int a = s.h - 1;
                    while (a >= 0 && idx[static_cast<std::size_t>(a)] == kk - s.h + a)
                        --a;
                    if (a < 0)
                        break;
                    ++idx[static_cast<std::size_t>(a)];
                    for (int c = a + 1; c < s.h; ++c)
                        idx[static_cast<std::size_t>(c)] = idx[static_cast<std::size_t>(c - 1)] + 1;
                }
            }
            fail = best >= s.upper || best <= s.lower;
            break;
        }
        }
        if (fail) {
            candidates.mark(i);
            ++excluded;
        }
    }
    return excluded;
}

// ------------------------------------------------------------ engine

void ExclusionEngine::takeLoaded(const BetFileLoad& load)
{
    candidates_.assign(load.pickCount, load.numbers);
    startFromAll_ = false;
}

ExclusionRunResult ExclusionEngine::run(const ExclusionSettings& s, ViewSource& source, const ExclusionHooks& hooks)
{
    using Clock = std::chrono::steady_clock;
    ExclusionRunResult result;
    if (startFromAll_)
        candidates_.buildAll(lottery_.numberRange, lottery_.pickCount);
    std::int64_t survivors = candidates_.countKept();
    const std::int64_t rows = candidates_.size();
    const std::int64_t progressMax = s.byTarget ? std::max<std::int64_t>(0, rows - s.target) : std::max(0, s.passes);
    std::int64_t progressValue = 0;
    auto progress = [&](std::int64_t value) {
        if (hooks.progress)
            hooks.progress(std::min(value, progressMax), progressMax);
    };
    progress(0);
    auto keepGoing = [&](int pass) { return !hooks.keepGoing || hooks.keepGoing(pass); };

    auto lastPoll = Clock::now();
    const auto pollEvery = std::chrono::milliseconds(20);
    bool reached = false;
    for (int pass = 1;; ++pass) {
        if (!s.byTarget) {
            progress(pass);
            if (pass > s.passes)
                break;
        }
        ExclusionPass p = prepareExclusionPass(s, lottery_, history_, source, pass);
        if (!(s.kind == ExclusionKind::Follow && s.standard))
            stageInForce_ = p.stage;
        if (!keepGoing(pass)) {
            result.stopped = true;
            break;
        }
        lastPoll = Clock::now();
        std::int64_t excluded = 0;
        if (p.testsRows) {
            std::uint64_t* r = candidates_.rows().data();
            constexpr std::int64_t Chunk = 16384;
            for (std::int64_t i = 0; i < rows;) {
                if (i > 0 && Clock::now() - lastPoll >= pollEvery) {
                    if (!keepGoing(pass)) {
                        result.stopped = true;
                        break;
                    }
                    lastPoll = Clock::now();
                }
                const std::int64_t room =
                    s.byTarget ? survivors - s.target : std::numeric_limits<std::int64_t>::max();
                const ExclusionChunk c = testRows(p, r, i, std::min(rows, i + Chunk), std::max<std::int64_t>(room, 1));
                i = c.next;
                survivors -= c.excluded;
                excluded += c.excluded;
                if (s.byTarget && c.excluded > 0) {
                    progressValue += c.excluded;
                    progress(progressValue);
                    if (survivors <= s.target) {
                        reached = true;
                        break;
                    }
                }
            }
        }
        if (result.stopped)
            break;
        result.passes = pass;
        if (hooks.passDone)
            hooks.passDone({pass, p.stage, excluded, survivors});
        if (reached)
            break;
    }
    result.survivors = survivors;
    if (!result.stopped) {
        startFromAll_ = false;
        candidates_.compact();
    }
    return result;
}

// ------------------------------------------------------------ statistics

namespace {

// The k values of every draw, as drawn or under a view.
std::vector<std::vector<int>> statisticsValues(const LotteryParams& lottery, const DrawHistory& history,
                                               const StatisticsView* view, PlaceKey key)
{
    const int D = history.size();
    std::vector<std::vector<int>> values(static_cast<std::size_t>(D));
    if (!view) {
        for (int u = 0; u < D; ++u) {
            auto m = history.main(u);
            values[static_cast<std::size_t>(u)].assign(m.begin(), m.end());
        }
        return values;
    }
    ViewWalk walk(history, lottery.numberRange, view->permutation, view->stage, key);
    std::vector<int> map;
    for (int u = 0; u < D; ++u) {
        view->wheel ? walk.wheelMap(map) : walk.viewMap(map);
        values[static_cast<std::size_t>(u)] = viewValues(history, u, map);
        walk.advance();
    }
    return values;
}

std::string dashOr(bool any, int v) { return any ? std::to_string(v) : std::string("-"); }

} // namespace

ExclusionStatistics repeatStatistics(const LotteryParams& lottery, const DrawHistory& history, int span,
                                     const StatisticsView* view)
{
    const int k = lottery.pickCount;
    ExclusionStatistics st;
    st.headers = {"记录期号", "开奖号码", "理论最小重码数", "理论最大重码数", "理论平均重码数", "实际重码数"};
    const auto values = statisticsValues(lottery, history, view, PlaceKey::CountFirst);
    std::vector<std::uint64_t> masks;
    for (const auto& v : values)
        masks.push_back(maskOf(v));
    int largest = 0, smallest = 0;
    bool any = false;
    for (int u = 0; u < history.size(); ++u) {
        std::string repeat;
        int value = 0;
        if (u >= span) {
            int best = 0;
            for (int j = u - span; j < u; ++j) {
                int c = 0;
                for (int x : values[static_cast<std::size_t>(u)])
                    c += (masks[static_cast<std::size_t>(j)] & numberBit(x)) != 0;
                best = std::max(best, c);
            }
            value = best;
            repeat = std::to_string(best);
            largest = any ? std::max(largest, best) : best;
            smallest = any ? std::min(smallest, best) : best;
            any = true;
        }
        st.rows.push_back({std::to_string(history.issue(u)), numbersWithBlanks(values[static_cast<std::size_t>(u)]),
                           "0", std::to_string(k), oneDecimal(k / 2.0), repeat});
        st.values.push_back(value);
    }
    st.summary = "最大重码个数：" + dashOr(any, largest) + " 最小重码个数：" + dashOr(any, smallest);
    return st;
}

ExclusionStatistics sumStatistics(const LotteryParams& lottery, const DrawHistory& history,
                                  const StatisticsView* view)
{
    const int N = lottery.numberRange;
    const int k = lottery.pickCount;
    ExclusionStatistics st;
    st.headers = {"记录期号", "开奖号码", "和值"};
    const auto values = statisticsValues(lottery, history, view, PlaceKey::CountFirst);
    int largest = 0, smallest = 0;
    bool any = false;
    for (int u = 0; u < history.size(); ++u) {
        int sum = 0;
        for (int x : values[static_cast<std::size_t>(u)])
            sum += x;
        largest = any ? std::max(largest, sum) : sum;
        smallest = any ? std::min(smallest, sum) : sum;
        any = true;
        st.rows.push_back(
            {std::to_string(history.issue(u)), numbersWithBlanks(values[static_cast<std::size_t>(u)]), std::to_string(sum)});
        st.values.push_back(sum);
    }
    st.summary = "和值：理论平均值：" + oneDecimal(k * (N + 1) / 2.0) + " 理论最小值：" + std::to_string(sumListLow(N, k))
                 + " 理论最大值：" + std::to_string(sumListHigh(N, k)) + " 实际最小值：" + dashOr(any, smallest)
                 + " 实际最大值：" + dashOr(any, largest);
    return st;
}

int followCount(std::uint64_t set, std::span<const std::uint64_t> draws, int t, int h)
{
    int best = 0;
    for (std::uint64_t f : followers(draws, t, h))
        best = std::max(best, popcount(set & f));
    return best;
}

ExclusionStatistics followStatistics(const LotteryParams& lottery, const DrawHistory& history, int h,
                                     const StatisticsView* view)
{
    ExclusionStatistics st;
    st.headers = {"记录期号", "开奖号码", "跟随数"};
    const PlaceKey key = view ? followKey(view->omissionKey) : PlaceKey::CountFirst;
    const auto values = statisticsValues(lottery, history, view, key);
    std::vector<std::uint64_t> masks;
    for (const auto& v : values)
        masks.push_back(maskOf(v));
    for (int u = 0; u < history.size(); ++u) {
        const int c = followCount(masks[static_cast<std::size_t>(u)], masks, u, h);
        st.rows.push_back({std::to_string(history.issue(u)), numbersWithBlanks(values[static_cast<std::size_t>(u)]),
                           std::to_string(c)});
        st.values.push_back(c);
    }
    return st;
}

} // namespace zelvor
