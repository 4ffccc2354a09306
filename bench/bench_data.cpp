// Opening a lottery: building AllCombinations and the whole OpenLottery.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "data/combinations.h"
#include "data/db_lottery.h"
#include "data/lottery_state.h"
#include "data/u_datamod.h"

using namespace zelvor;

static void BM_AllCombinations_33_6(benchmark::State& st)
{
    for (auto _ : st) {
        CombinationTable t;
        t.buildAll(33, 6);
        benchmark::DoNotOptimize(t.numbers());
    }
    CombinationTable t;
    t.buildAll(33, 6);
    st.counters["MB"] = static_cast<double>(t.size() * (6 + 1)) / 1e6;
}
BENCHMARK(BM_AllCombinations_33_6)->Unit(benchmark::kMillisecond);

// The straightforward form: k nested loops writing 32-bit cells of k + 2 per row.
static void BM_AllCombinations_33_6_NestedLoopsInt32(benchmark::State& st)
{
    for (auto _ : st) {
        std::vector<int> rows(static_cast<std::size_t>(1107568) * 8);
        std::size_t r = 0;
        for (int a = 1; a <= 28; ++a)
            for (int b = a + 1; b <= 29; ++b)
                for (int c = b + 1; c <= 30; ++c)
                    for (int d = c + 1; d <= 31; ++d)
                        for (int e = d + 1; e <= 32; ++e)
                            for (int f = e + 1; f <= 33; ++f) {
                                int* row = &rows[r++ * 8];
                                row[0] = a, row[1] = b, row[2] = c, row[3] = d, row[4] = e, row[5] = f;
                                row[6] = 0, row[7] = 0;
                            }
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_AllCombinations_33_6_NestedLoopsInt32)->Unit(benchmark::kMillisecond);

static void BM_OpenLottery_Ssq3508(benchmark::State& st)
{
    const QString csv = QStringLiteral(ZELVOR_SHARED_DATA) + "/ssq.csv";
    if (!QFile::exists(csv)) {
        st.SkipWithError("shared draw data not found");
        return;
    }
    QTemporaryDir dir;
    const QString db = dir.path() + "/lottery.mdb";
    createDatabaseFromSchema(QStringLiteral(ZELVOR_SOURCE_DIR) + QStringLiteral("/data/数据库/schema.sql"), db);
    importHistoryFile(db, QStringLiteral("中国福彩双色球"), csv);
    Tdatamod datamod;
    LotteryState state(datamod);
    for (auto _ : st) {
        state.OpenLottery(QStringLiteral("中国福彩双色球"), 0, db);
        benchmark::DoNotOptimize(state.DrawCount());
    }
    st.counters["draws"] = state.DrawCount();
}
BENCHMARK(BM_OpenLottery_Ssq3508)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
