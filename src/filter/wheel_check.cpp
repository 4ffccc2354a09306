#include "filter/wheel_check.h"

#include <bit>
#include <cstdio>

namespace zelvor {

namespace {

const char* const kNumerals[] = {"一", "二", "三", "四", "五", "六", "七"};

// A whole number written without leading zeros (and without sign).
bool plainNumber(std::string_view s, int& value)
{
    if (s.empty() || s.size() > 2 || (s.size() > 1 && s[0] == '0'))
        return false;
    value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool eat(std::string_view& s, std::string_view prefix)
{
    if (s.substr(0, prefix.size()) != prefix)
        return false;
    s.remove_prefix(prefix.size());
    return true;
}

// The digits at the front of s, taken off.
std::string_view digitsAtFront(std::string_view& s)
{
    std::size_t n = 0;
    while (n < s.size() && s[n] >= '0' && s[n] <= '9')
        ++n;
    const std::string_view d = s.substr(0, n);
    s.remove_prefix(n);
    return d;
}

// Every t-subset of the p positions 0..p-1, as position masks.
std::vector<std::uint32_t> positionSubsets(int p, int t)
{
    std::vector<std::uint32_t> masks;
    for (std::uint32_t m = 0; m < (1u << p); ++m)
        if (std::popcount(m) == t)
            masks.push_back(m);
    return masks;
}

// Lexicographic order of two sets of equal size (ascending index tuples):
// a comes first when the lowest index in one set only belongs to a.
bool lexBefore(std::uint32_t a, std::uint32_t b)
{
    const std::uint32_t d = a ^ b;
    return d && (a & (d & (~d + 1)));
}

} // namespace

std::optional<WheelName> parseWheelName(std::string_view s)
{
    WheelName n;
    if (!eat(s, "选"))
        return std::nullopt;
    for (int k = 1; k <= 7 && !n.pick; ++k)
        if (eat(s, kNumerals[k - 1]))
            n.pick = k;
    if (!n.pick || !eat(s, "型"))
        return std::nullopt;
    const std::string_view v = digitsAtFront(s);
    if (v.size() != 2)
        return std::nullopt;
    n.numbers = (v[0] - '0') * 10 + (v[1] - '0');
    if (!eat(s, "码中") || !plainNumber(digitsAtFront(s), n.hit) || !eat(s, "保")
        || !plainNumber(digitsAtFront(s), n.keep) || s != ".txt")
        return std::nullopt;
    if (!(1 <= n.keep && n.keep <= n.hit && n.hit <= n.numbers && n.keep <= n.pick && n.pick <= n.numbers
          && n.numbers <= 21))
        return std::nullopt;
    return n;
}

std::int64_t uncoveredSubsets(int v, int p, int t, const std::vector<std::uint32_t>& rows, std::vector<int>* first)
{
    if (first)
        first->clear();
    if (v < 1 || v > 21 || p < 1 || p > v || t < 1 || t > p)
        return 0;
    // One bit per t-subset of 1..v (as a mask) that lies inside some row.
    std::vector<std::uint64_t> inRow((std::size_t{1} << v) / 64 + 1, 0);
    for (std::uint32_t row : rows) {
        // Sub-masks of the row with t bits: walk all sub-masks of the row.
        for (std::uint32_t sub = row;; sub = (sub - 1) & row) {
            if (std::popcount(sub) == t)
                inRow[sub >> 6] |= std::uint64_t{1} << (sub & 63);
            if (sub == 0)
                break;
        }
    }
    const std::vector<std::uint32_t> positions = positionSubsets(p, t);
    auto inside = [&](std::uint32_t sub) { return (inRow[sub >> 6] >> (sub & 63) & 1) != 0; };
    std::int64_t holes = 0;
    std::uint32_t firstHole = 0;
    int bits[32];
    // Every p-subset of 1..v, in increasing mask order (Gosper's hack).
    for (std::uint32_t set = (1u << p) - 1; set < (1u << v);) {
        bool covered = false;
        if (p - t == 0) {
            covered = inside(set);
        } else if (p - t == 1) {
            // The t-subsets are the set without one of its indexes.
            for (std::uint32_t m = set; m && !covered; m &= m - 1)
                covered = inside(set ^ (m & (~m + 1)));
        } else if (p - t == 2) {
            for (std::uint32_t a = set; a && !covered; a &= a - 1) {
                const std::uint32_t without = set ^ (a & (~a + 1));
                for (std::uint32_t b = a & (a - 1); b && !covered; b &= b - 1)
                    covered = inside(without ^ (b & (~b + 1)));
            }
        } else {
            int n = 0;
            for (std::uint32_t m = set; m; m &= m - 1)
                bits[n++] = std::countr_zero(m);
            for (std::uint32_t pos : positions) {
                std::uint32_t sub = 0;
                for (std::uint32_t q = pos; q; q &= q - 1)
                    sub |= 1u << bits[std::countr_zero(q)];
                if (inside(sub)) {
                    covered = true;
                    break;
                }
            }
        }
        if (!covered) {
            if (holes == 0 || lexBefore(set, firstHole))
                firstHole = set;
            ++holes;
        }
        const std::uint32_t c = set & (~set + 1);
        const std::uint32_t r = set + c;
        set = (((r ^ set) >> 2) >> std::countr_zero(c)) | r;
    }
    if (first && holes)
        for (std::uint32_t m = firstHole; m; m &= m - 1)
            first->push_back(std::countr_zero(m) + 1);
    return holes;
}

WheelFileCheck checkWheelFile(std::string_view fileName, std::string_view content)
{
    WheelFileCheck check;
    const std::optional<WheelName> name = parseWheelName(fileName);
    if (!name) {
        check.verdict = WheelFileCheck::Verdict::BadName;
        return check;
    }
    std::vector<std::uint32_t> rows;
    std::vector<int> previous;
    int line = 0;
    std::size_t at = 0;
    auto bad = [&] {
        check.verdict = WheelFileCheck::Verdict::BadLine;
        check.badLine = line;
        return check;
    };
    if (content.empty()) {
        line = 1;
        return bad();
    }
    while (at < content.size()) {
        ++line;
        const std::size_t end = content.find("\r\n", at);
        if (end == std::string_view::npos)
            return bad();
        const std::string_view text = content.substr(at, end - at);
        at = end + 2;
        std::vector<int> row;
        std::size_t i = 0;
        while (true) {
            const std::size_t blank = text.find(' ', i);
            const std::string_view token = text.substr(i, blank == std::string_view::npos ? std::string_view::npos : blank - i);
            int value = 0;
            if (!plainNumber(token, value) || value < 1 || value > name->numbers
                || (!row.empty() && value <= row.back()))
                return bad();
            row.push_back(value);
            if (blank == std::string_view::npos)
                break;
            i = blank + 1;
        }
        if (static_cast<int>(row.size()) != name->pick || (!previous.empty() && !(previous < row)))
            return bad();
        std::uint32_t mask = 0;
        for (int v : row)
            mask |= 1u << (v - 1);
        rows.push_back(mask);
        previous = std::move(row);
    }
    check.rows = static_cast<int>(rows.size());
    check.holes = uncoveredSubsets(name->numbers, name->hit, name->keep, rows, &check.first);
    check.verdict = check.holes ? WheelFileCheck::Verdict::Holes : WheelFileCheck::Verdict::Ok;
    return check;
}

std::string wheelCheckLine(std::string_view fileName, const WheelFileCheck& check)
{
    std::string line(fileName);
    switch (check.verdict) {
    case WheelFileCheck::Verdict::BadName:
        return line + "\tbad name";
    case WheelFileCheck::Verdict::BadLine:
        return line + "\tbad line " + std::to_string(check.badLine);
    case WheelFileCheck::Verdict::Ok:
        return line + "\trows=" + std::to_string(check.rows) + "\tok";
    case WheelFileCheck::Verdict::Holes:
        break;
    }
    line += "\trows=" + std::to_string(check.rows) + "\tholes=" + std::to_string(check.holes) + "\tfirst=";
    for (std::size_t i = 0; i < check.first.size(); ++i) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%.2d", check.first[i]);
        line += (i ? " " : "") + std::string(buf);
    }
    return line;
}

} // namespace zelvor
