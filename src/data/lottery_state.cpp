#include "data/lottery_state.h"

#include "analysis/trend.h"
#include "common/error.h"
#include "data/db_lottery.h"
#include "data/u_datamod.h"

namespace zelvor {

LotteryState::LotteryState(Tdatamod& datamod) : datamod_(datamod) {}

void LotteryState::OpenLottery(const QString& name, int kind, const QString& databaseFile)
{
    try {
        datamod_.openConnection(databaseFile);
        const LotteryOptions options = readLotteryOptions(datamod_.t_con(), name);
        lottery_ = lotteryParamsFor(name, kind, options);
        open_ = true;
        trimDrawTable(datamod_.t_con(), name, MaxStoredDraws);
        datamod_.openDrawQuery(name);
        combinations_.buildAll(lottery_.numberRange, lottery_.pickCount);
        BuildStandardTrend();
    } catch (...) {
        open_ = false;
        datamod_.closeConnection();
        throw;
    }
}

void LotteryState::CloseLottery()
{
    datamod_.closeConnection();
    open_ = false;
}

void LotteryState::BuildStandardTrend()
{
    if (datamod_.isOpen()) {
        // Read aside first: a row that cannot be read leaves the history as it was.
        zelvor::DrawHistory history;
        std::vector<std::string> dates;
        loadDrawHistory(datamod_.t_con(), lottery_, history, dates);
        history_ = std::move(history);
        dates_ = std::move(dates);
    }
    rows_ = buildStandardTrend(lottery_, history_);
    mode_ = zelvor::TrendMode::Standard;
}

void LotteryState::BuildVariableTrend(Random& random)
{
    BuildVariableTrend(drawVariableSettings(lottery_.numberRange, random));
}

void LotteryState::BuildVariableTrend(const VariableSettings& settings)
{
    // Built aside first, so a refused build leaves the current view as it was.
    VariableTrend trend = buildVariableTrend(lottery_, history_, settings);
    zelvor::TrendRows rows = variableTrendRows(lottery_, history_, trend);
    variable_ = std::move(trend);
    rows_ = std::move(rows);
    mode_ = zelvor::TrendMode::Variable;
}

void LotteryState::openWithHistory(const LotteryParams& lottery, const zelvor::DrawHistory& history,
                                   std::vector<std::string> dates)
{
    lottery_ = lottery;
    history_ = history;
    dates_ = std::move(dates);
    dates_.resize(static_cast<std::size_t>(history.size()));
    open_ = true;
    combinations_.buildAll(lottery.numberRange, lottery.pickCount);
    rows_ = buildStandardTrend(lottery_, history_);
    mode_ = zelvor::TrendMode::Standard;
}

} // namespace zelvor
