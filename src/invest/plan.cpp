#include "invest/plan.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "common/error.h"
#include "filter/text_lines.h"

namespace zelvor::invest {

namespace {

using i128 = __int128;

const PlanDescriptor kDescriptors[] = {
    {PlanKind::Fixed, "Tfrmgudingjihua", "固定计划投资", "固定投资计划表", "固定投资计划表.txt", 5, 7, "  "},
    {PlanKind::Staged, "Tfrmjieduanjihua", "阶段计划投资", "阶段投资计划表", "阶段投资计划表.txt", 6, 7, " "},
    {PlanKind::Variable, "Tfrmkeibianjihua", "可变投资计划", "可变投资计划表", "可变投资计划表.txt", 6, 8, " "},
};

// The field order of a plan file: P, L, C, W, N, then S or B.
std::vector<PlanField> fileFields(PlanKind kind)
{
    std::vector<PlanField> f{FieldP, FieldL, FieldC, FieldW, FieldN};
    if (kind == PlanKind::Staged)
        f.push_back(FieldS);
    else if (kind == PlanKind::Variable)
        f.push_back(FieldB);
    return f;
}

// A whole number (blanks around allowed) of the 64-bit range.
bool parseInt64(const std::string& text, std::int64_t& value)
{
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    if (b == e)
        return false;
    bool negative = false;
    if (text[b] == '+' || text[b] == '-') {
        negative = text[b] == '-';
        ++b;
    }
    if (b == e)
        return false;
    i128 v = 0;
    for (std::size_t i = b; i < e; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
        if (v > (i128(1) << 63))
            return false;
    }
    if (negative)
        v = -v;
    if (v > INT64_MAX || v < INT64_MIN)
        return false;
    value = static_cast<std::int64_t>(v);
    return true;
}

// A field's label without its colon, for messages.
std::string fieldName(PlanField f)
{
    std::string name = planFieldLabel(f);
    return name.substr(0, name.size() - std::string("：").size());
}

// Why a field's text is refused, or empty when it is fine.
std::string fieldProblem(PlanField f, const std::string& text, std::int64_t& value)
{
    if (!parseInt64(text, value))
        return integerConversionMessage(text);
    if (f == FieldN || f == FieldS) {
        if (value < 1 || value > kMaxIssues)
            return fieldName(f) + "必须是1到10000之间的整数！";
    } else if (value < -kFieldLimit || value > kFieldLimit) {
        return fieldName(f) + "必须是-1000000000到1000000000之间的整数！";
    }
    return {};
}

std::int64_t& valueOf(PlanValues& v, PlanField f)
{
    switch (f) {
    case FieldP: return v.P;
    case FieldL: return v.L;
    case FieldC: return v.C;
    case FieldW: return v.W;
    case FieldN: return v.N;
    case FieldS: return v.S;
    default: return v.B;
    }
}

} // namespace

std::string pathText(const std::filesystem::path& file)
{
    const std::u8string u = file.u8string();
    return std::string(u.begin(), u.end());
}

const PlanDescriptor& planDescriptor(PlanKind kind) { return kDescriptors[static_cast<int>(kind)]; }

const char* planFieldLabel(PlanField f)
{
    static const char* labels[] = {"前期亏损：", "预期利润：", "单倍投入：", "单注奖金：",
                                   "投注期数：", "阶段次数：", "本期注数："};
    return labels[f];
}

PlanValues readPlanFields(const PlanFields& fields, PlanKind kind)
{
    PlanValues v;
    std::vector<PlanField> used{FieldP, FieldL, FieldW, FieldN};
    if (kind != PlanKind::Variable)
        used.push_back(FieldC);
    if (kind == PlanKind::Staged)
        used.push_back(FieldS);
    if (kind == PlanKind::Variable)
        used.push_back(FieldB);
    std::sort(used.begin(), used.end());
    for (PlanField f : used) {
        const std::string problem = fieldProblem(f, fields.text[f], valueOf(v, f));
        if (!problem.empty())
            throw Error(problem);
    }
    return v;
}

std::vector<std::int64_t> planCells(const PlanRow& r, PlanKind kind)
{
    if (kind == PlanKind::Variable)
        return {r.issue, r.multiplier, r.bets, r.stake, r.total, r.prize, r.net, r.rate};
    return {r.issue, r.multiplier, r.stake, r.total, r.prize, r.net, r.rate};
}

std::vector<std::string> planHeaders(PlanKind kind, bool loaded)
{
    std::vector<std::string> h{kind == PlanKind::Fixed && loaded ? "投注时间" : "投注期号", "投注倍数"};
    if (kind == PlanKind::Variable)
        h.push_back("当期注数");
    for (const char* t : {"当期投注", "当期总投入", "当期中奖", "当期净利润", "当期利润率(%)"})
        h.push_back(t);
    return h;
}

std::int64_t profitRate(std::int64_t net, std::int64_t total)
{
    if (total == 0)
        return 0;
    return static_cast<std::int64_t>(i128(net) * 100 / total);
}

std::optional<std::int64_t> planMultiplier(std::int64_t T, std::int64_t U, std::int64_t W, std::int64_t L)
{
    // m(W − U) ≥ L + T. With W − U ≤ 0 the left side never grows, so m = 1
    // is the only candidate; otherwise m is the ceiling of the quotient.
    const i128 d = i128(W) - U;
    const i128 need = i128(L) + T;
    if (d <= 0)
        return d >= need ? std::optional<std::int64_t>(1) : std::nullopt;
    i128 m = need <= 0 ? 1 : (need + d - 1) / d;
    if (m < 1)
        m = 1;
    if (m > kPlanMaxMultiplier)
        return std::nullopt;
    return static_cast<std::int64_t>(m);
}

std::optional<std::int64_t> planMultiplierByTrial(std::int64_t T, std::int64_t U, std::int64_t W, std::int64_t L)
{
    for (std::int64_t m = 1; m <= kPlanMaxMultiplier; ++m) {
        const i128 net = i128(m) * W - (i128(T) + i128(m) * U);
        if (net >= L)
            return m;
    }
    return std::nullopt;
}

PlanRow planRow(std::int64_t issue, std::int64_t m, std::int64_t T, std::int64_t U, std::int64_t W)
{
    PlanRow r;
    r.issue = issue;
    r.multiplier = m;
    r.stake = m * U;
    r.total = T + r.stake;
    r.prize = m * W;
    r.net = r.prize - r.total;
    r.rate = profitRate(r.net, r.total);
    return r;
}

PlanResult generateFixedPlan(const PlanValues& v)
{
    PlanResult result;
    std::int64_t T = v.P;
    for (std::int64_t i = 1; i <= v.N; ++i) {
        const std::optional<std::int64_t> m = planMultiplier(T, v.C, v.W, v.L);
        if (!m) {
            result.message = kMultiplierTooLarge;
            return result;
        }
        result.rows.push_back(planRow(i, *m, T, v.C, v.W));
        T = result.rows.back().total;
    }
    return result;
}

PlanResult generateStagedPlan(const PlanValues& v)
{
    PlanResult result;
    if (v.S < 1 || v.N < 1)
        return result; // readPlanFields admits neither
    const std::int64_t n = v.N / v.S + (v.N % v.S != 0 ? 1 : 0);
    std::int64_t T = v.P;
    for (std::int64_t s = 1; s <= v.S; ++s) {
        const std::int64_t first = (s - 1) * n + 1;
        if (first > v.N)
            break; // the plan is complete
        const std::int64_t len = std::min(n, v.N - first + 1);
        // Issue t of the stage (0-based) leaves m(W − (t+1)U) − T0; the
        // stage passes when the smallest of these, at t = 0 or t = len − 1,
        // still reaches L.
        const std::int64_t W1 = v.W - v.C;                       // t = 0
        const i128 Wl = i128(v.W) - i128(len) * v.C;             // t = len − 1
        const i128 worst = std::min<i128>(W1, Wl);
        // Search as for one issue with U' = W − worst.
        const i128 need = i128(v.L) + T;
        std::optional<std::int64_t> m;
        if (worst <= 0) {
            if (worst >= need)
                m = 1;
        } else {
            i128 mm = need <= 0 ? 1 : (need + worst - 1) / worst;
            if (mm < 1)
                mm = 1;
            if (mm <= kPlanMaxMultiplier)
                m = static_cast<std::int64_t>(mm);
        }
        if (!m) {
            result.message = kMultiplierTooLarge;
            return result;
        }
        for (std::int64_t j = first; j < first + len; ++j) {
            result.rows.push_back(planRow(j, *m, T, v.C, v.W));
            T = result.rows.back().total;
        }
    }
    return result;
}

std::string addVariableIssue(std::vector<PlanRow>& rows, const PlanValues& v, const std::string& nText)
{
    if (static_cast<std::int64_t>(rows.size()) >= v.N)
        return "投资期限已满" + nText + "天!";
    const std::int64_t U = v.B * 2;
    const std::int64_t T = rows.empty() ? v.P : rows.back().total;
    const std::optional<std::int64_t> m = planMultiplier(T, U, v.W, v.L);
    // A refused issue is not entered, so the next addition starts from the
    // last complete row.
    if (!m)
        return kMultiplierTooLarge;
    PlanRow r = planRow(static_cast<std::int64_t>(rows.size()) + 1, *m, T, U, v.W);
    r.bets = v.B;
    rows.push_back(r);
    return {};
}

std::string planPrintLine(PlanKind kind, const PlanFields& f, const std::string& date)
{
    const std::string sep = planDescriptor(kind).labelSeparator;
    std::string line = "前期亏损:" + f.text[FieldP] + sep + "预测利润:" + f.text[FieldL];
    if (kind != PlanKind::Variable)
        line += sep + "单倍投入:" + f.text[FieldC];
    line += sep + "单注奖金:" + f.text[FieldW] + sep + "投注天数:" + f.text[FieldN];
    if (kind == PlanKind::Staged)
        line += sep + "阶段次数:" + f.text[FieldS];
    if (kind == PlanKind::Variable)
        line += sep + "本期注数:" + f.text[FieldB];
    return line + sep + "打印日期:" + date;
}

std::string planAverageText(const std::vector<PlanRow>& rows)
{
    if (rows.empty())
        return {};
    i128 sum = 0;
    for (const PlanRow& r : rows)
        sum += r.net;
    const i128 avg = sum / static_cast<i128>(rows.size());
    return std::string(kAverageLabel) + std::to_string(static_cast<long long>(avg));
}

void savePlanFile(const std::filesystem::path& file, PlanKind kind, const PlanFields& fields,
                  const std::vector<PlanRow>& rows)
{
    std::string text;
    for (PlanField f : fileFields(kind))
        text += fields.text[f] + "\r\n";
    for (const PlanRow& r : rows)
        for (std::int64_t c : planCells(r, kind))
            text += std::to_string(c) + "\r\n";
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) || !out.flush())
        throw Error("无法写入文件“" + pathText(file) + "”。");
}

LoadedPlan loadPlanFile(const std::filesystem::path& file, PlanKind kind, const PlanFields& current)
{
    std::vector<std::string> lines;
    std::string readError;
    if (!forEachLine(file, [&](std::string_view l) { lines.emplace_back(withoutCr(l)); return true; }, &readError))
        throw Error(readError);
    auto refuse = [&](std::size_t line, const std::string& why) {
        throw Error("计划文件第" + std::to_string(line) + "行：" + why);
    };
    const std::vector<PlanField> ff = fileFields(kind);
    LoadedPlan loaded{current, {}};
    PlanValues v;
    for (std::size_t i = 0; i < ff.size(); ++i) {
        if (i >= lines.size())
            refuse(i + 1, "缺少" + fieldName(ff[i]));
        const std::string problem = fieldProblem(ff[i], lines[i], valueOf(v, ff[i]));
        if (!problem.empty())
            refuse(i + 1, problem);
        loaded.fields.text[ff[i]] = lines[i];
    }
    const std::size_t columns = static_cast<std::size_t>(planDescriptor(kind).columns);
    const std::size_t cellLines = lines.size() - ff.size();
    if (cellLines % columns != 0)
        refuse(lines.size(), "计划行不完整");
    if (static_cast<std::int64_t>(cellLines / columns) > v.N)
        refuse(ff.size() + static_cast<std::size_t>(v.N) * columns + 1, "计划行数超过投注期数");
    std::vector<std::int64_t> cells(columns);
    for (std::size_t at = ff.size(); at < lines.size(); at += columns) {
        for (std::size_t c = 0; c < columns; ++c)
            if (!parseInt64(lines[at + c], cells[c]))
                refuse(at + c + 1, integerConversionMessage(lines[at + c]));
        PlanRow r;
        std::size_t c = 0;
        r.issue = cells[c++];
        r.multiplier = cells[c++];
        if (kind == PlanKind::Variable)
            r.bets = cells[c++];
        r.stake = cells[c++];
        r.total = cells[c++];
        r.prize = cells[c++];
        r.net = cells[c++];
        r.rate = cells[c++];
        loaded.rows.push_back(r);
    }
    return loaded;
}

} // namespace zelvor::invest
