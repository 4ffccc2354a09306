// Multiplier plans: the default plans worked by hand, the closed-form
// multiplier against trying every multiplier, the variable plan's additions
// and refusals, and plan files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/error.h"
#include "common/random.h"
#include "invest/plan.h"

using namespace zelvor;
using namespace zelvor::invest;

namespace {

PlanValues defaults(PlanKind kind) { return readPlanFields(PlanFields{}, kind); }

std::vector<std::int64_t> cells(const PlanRow& r, PlanKind k = PlanKind::Fixed) { return planCells(r, k); }

std::filesystem::path tempFile(const std::string& name)
{
    return std::filesystem::temp_directory_path() /
           (name + "." + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "." +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
}

std::string readAll(const std::filesystem::path& f)
{
    std::ifstream in(f, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeAll(const std::filesystem::path& f, const std::string& text)
{
    std::ofstream out(f, std::ios::binary | std::ios::trunc);
    out << text;
}

} // namespace

TEST(Plans, DefaultFixedAndStagedPlans)
{
    // Fixed: T after issue i is 16i; multiplier 1 while 1000 − 16i ≥ 10, that
    // is up to i = 61; issue 62 needs 2: 2000 − (976 + 32) = 992.
    const PlanResult fixed = generateFixedPlan(defaults(PlanKind::Fixed));
    ASSERT_TRUE(fixed.message.empty());
    ASSERT_EQ(fixed.rows.size(), 80u);
    for (int i = 0; i < 80; ++i)
        EXPECT_EQ(fixed.rows[i].multiplier, i < 61 ? 1 : 2) << "issue " << i + 1;
    EXPECT_EQ(cells(fixed.rows[0]), (std::vector<std::int64_t>{1, 1, 16, 16, 1000, 984, 6150}));
    EXPECT_EQ(cells(fixed.rows[60]), (std::vector<std::int64_t>{61, 1, 16, 976, 1000, 24, 2}));
    EXPECT_EQ(cells(fixed.rows[61]), (std::vector<std::int64_t>{62, 2, 32, 1008, 2000, 992, 98}));
    EXPECT_EQ(cells(fixed.rows[79]), (std::vector<std::int64_t>{80, 2, 32, 1584, 2000, 416, 26}));
    EXPECT_EQ(planAverageText(fixed.rows), "平均每期净利润为:551");

    // Staged: stages of 8; stage 7 ends at 896 (net 104), stage 8 at
    // multiplier 1 would end at 1024 > 990, so stages 8–10 use 2.
    const PlanResult staged = generateStagedPlan(defaults(PlanKind::Staged));
    ASSERT_EQ(staged.rows.size(), 80u);
    for (int i = 0; i < 80; ++i)
        EXPECT_EQ(staged.rows[i].multiplier, i < 56 ? 1 : 2) << "issue " << i + 1;
    EXPECT_EQ(cells(staged.rows[79]), (std::vector<std::int64_t>{80, 2, 32, 1664, 2000, 336, 20}));
}

TEST(Plans, RefusalsAndShortLastStage)
{
    PlanValues v = defaults(PlanKind::Staged);
    v.W = 16; // W ≤ C: no multiplier ever leaves a profit
    EXPECT_EQ(generateFixedPlan(v).message, kMultiplierTooLarge);
    EXPECT_EQ(generateStagedPlan(v).message, kMultiplierTooLarge);

    // N = 81, S = 10: stages of 9 issues, the ninth ends the plan at 81.
    PlanValues s = defaults(PlanKind::Staged);
    s.N = 81;
    const PlanResult r = generateStagedPlan(s);
    ASSERT_TRUE(r.message.empty());
    ASSERT_EQ(r.rows.size(), 81u);
    EXPECT_EQ(r.rows[80].issue, 81);
    EXPECT_EQ(r.rows[72].multiplier, r.rows[80].multiplier);

    PlanFields f;
    f.text[FieldN] = "0";
    EXPECT_THROW(readPlanFields(f, PlanKind::Fixed), Error);
    f.text[FieldN] = "80";
    f.text[FieldW] = "1e3";
    try {
        readPlanFields(f, PlanKind::Fixed);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), integerConversionMessage("1e3"));
    }
}

// The staged plan's loop as the window runs it: every m from 1, every issue
// of the stage.
PlanResult stagedByTrial(const PlanValues& v)
{
    PlanResult r;
    const std::int64_t n = v.N / v.S + (v.N % v.S != 0);
    std::int64_t T = v.P;
    for (std::int64_t s = 1; s <= v.S; ++s) {
        const std::int64_t start = T;
        bool done = false, complete = false;
        std::vector<PlanRow> stage;
        for (std::int64_t m = 1; m <= kPlanMaxMultiplier && !done; ++m) {
            T = start;
            stage.clear();
            bool ok = true;
            for (std::int64_t j = (s - 1) * n + 1; j <= s * n; ++j) {
                if (j > v.N) {
                    complete = true;
                    break;
                }
                const PlanRow row = planRow(j, m, T, v.C, v.W);
                if (row.net < v.L) {
                    ok = false;
                    break;
                }
                stage.push_back(row);
                T = row.total;
            }
            done = ok;
        }
        if (!done) {
            r.message = kMultiplierTooLarge;
            return r;
        }
        r.rows.insert(r.rows.end(), stage.begin(), stage.end());
        if (complete)
            break;
    }
    return r;
}

TEST(Plans, ClosedFormMatchesTryingEveryMultiplier)
{
    Random random(20260101);
    auto pick = [&](int lo, int hi) { return static_cast<std::int64_t>(lo + random.below(hi - lo + 1)); };
    for (int k = 0; k < 400; ++k) {
        const std::int64_t T = pick(-2000, 200000), U = pick(-50, 400), W = pick(-100, 3000), L = pick(-500, 2000);
        EXPECT_EQ(planMultiplier(T, U, W, L), planMultiplierByTrial(T, U, W, L))
            << "T=" << T << " U=" << U << " W=" << W << " L=" << L;
    }
    for (int k = 0; k < 60; ++k) {
        PlanValues v;
        v.P = pick(-500, 3000);
        v.L = pick(-100, 300);
        v.C = pick(-20, 60);
        v.W = pick(0, 2000);
        v.N = pick(1, 120);
        v.S = pick(1, 15);
        const PlanResult fast = generateStagedPlan(v), slow = stagedByTrial(v);
        EXPECT_EQ(fast.message, slow.message);
        ASSERT_EQ(fast.rows.size(), slow.rows.size()) << "case " << k;
        for (std::size_t i = 0; i < fast.rows.size(); ++i)
            EXPECT_EQ(cells(fast.rows[i]), cells(slow.rows[i])) << "case " << k << " row " << i;
    }
}

TEST(Plans, VariablePlanAdditions)
{
    PlanValues v = defaults(PlanKind::Variable);
    std::vector<PlanRow> rows;
    ASSERT_EQ(addVariableIssue(rows, v, "80"), "");
    EXPECT_EQ(cells(rows[0], PlanKind::Variable), (std::vector<std::int64_t>{1, 1, 8, 16, 16, 1000, 984, 6150}));

    // A refused issue in the middle is not entered; the next one goes on
    // from the last complete row.
    v.B = 600; // stake 1200 ≥ prize 1000: no multiplier
    EXPECT_EQ(addVariableIssue(rows, v, "80"), kMultiplierTooLarge);
    EXPECT_EQ(rows.size(), 1u);
    v.B = 8;
    ASSERT_EQ(addVariableIssue(rows, v, "80"), "");
    EXPECT_EQ(cells(rows[1], PlanKind::Variable), (std::vector<std::int64_t>{2, 1, 8, 16, 32, 1000, 968, 3025}));

    while (rows.size() < 80)
        ASSERT_EQ(addVariableIssue(rows, v, "80"), "");
    EXPECT_EQ(addVariableIssue(rows, v, "80"), "投资期限已满80天!");
    EXPECT_EQ(rows.size(), 80u);
}

TEST(Plans, RowWithZeroTotalHasRateZero)
{
    EXPECT_EQ(profitRate(500, 0), 0);
    EXPECT_EQ(profitRate(-7, 3), -233);
    PlanValues v = defaults(PlanKind::Fixed);
    v.C = 0;
    const PlanResult r = generateFixedPlan(v);
    ASSERT_FALSE(r.rows.empty());
    EXPECT_EQ(cells(r.rows[0]), (std::vector<std::int64_t>{1, 1, 0, 0, 1000, 1000, 0}));
}

TEST(PlanFiles, SaveLoadSaveIsIdentical)
{
    const auto a = tempFile("plan_a.txt"), b = tempFile("plan_b.txt");
    const PlanFields fields;
    const PlanResult r = generateFixedPlan(defaults(PlanKind::Fixed));
    savePlanFile(a, PlanKind::Fixed, fields, r.rows);
    const std::string first = readAll(a);
    std::size_t lines = 0;
    for (std::size_t at = first.find("\r\n"); at != std::string::npos; at = first.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 565u);
    EXPECT_EQ(first.substr(0, 21), "0\r\n10\r\n16\r\n1000\r\n80\r\n");

    PlanFields other;
    other.text[FieldP] = "77";
    const LoadedPlan loaded = loadPlanFile(a, PlanKind::Fixed, other);
    EXPECT_EQ(loaded.fields.text, fields.text);
    ASSERT_EQ(loaded.rows.size(), 80u);
    EXPECT_EQ(planAverageText(loaded.rows), "平均每期净利润为:551");
    savePlanFile(b, PlanKind::Fixed, loaded.fields, loaded.rows);
    EXPECT_EQ(readAll(b), first);
    std::filesystem::remove(a);
    std::filesystem::remove(b);
}

TEST(PlanFiles, BadFilesAreRefusedNamingTheLine)
{
    const auto f = tempFile("plan_bad.txt");
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {"0\r\n10\r\n16\r\n", "计划文件第4行：缺少单注奖金"},
        {"0\r\n10\r\nx\r\n1000\r\n2\r\n", "计划文件第3行：" + integerConversionMessage("x")},
        {"0\r\n10\r\n16\r\n1000\r\n0\r\n", "计划文件第5行：投注期数必须是1到10000之间的整数！"},
        // One row and a half.
        {"0\r\n10\r\n16\r\n1000\r\n2\r\n1\r\n1\r\n16\r\n16\r\n1000\r\n984\r\n6150\r\n2\r\n1\r\n",
         "计划文件第14行：计划行不完整"},
        {"0\r\n10\r\n16\r\n1000\r\n2\r\n1\r\n1\r\n16\r\nabc\r\n1000\r\n984\r\n6150\r\n",
         "计划文件第9行：" + integerConversionMessage("abc")},
        // Two rows for one issue.
        {"0\r\n10\r\n16\r\n1000\r\n1\r\n1\r\n1\r\n16\r\n16\r\n1000\r\n984\r\n6150\r\n"
         "2\r\n1\r\n16\r\n32\r\n1000\r\n968\r\n3025\r\n",
         "计划文件第13行：计划行数超过投注期数"},
    };
    for (const Case& c : cases) {
        writeAll(f, c.text);
        try {
            loadPlanFile(f, PlanKind::Fixed, PlanFields{});
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
    // Only the file's rows count.
    writeAll(f, "0\r\n10\r\n16\r\n1000\r\n5\r\n1\r\n1\r\n16\r\n16\r\n1000\r\n984\r\n6150\r\n");
    const LoadedPlan one = loadPlanFile(f, PlanKind::Fixed, PlanFields{});
    EXPECT_EQ(one.rows.size(), 1u);
    EXPECT_EQ(planAverageText(one.rows), "平均每期净利润为:984");
    EXPECT_EQ(planAverageText({}), "");
    std::filesystem::remove(f);
}
