#include "data/lottery_state.h"

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
        CurrentLottery = lotteryParamsFor(name, kind, options);
        LotteryOpen = true;
        Mode = TrendMode::Standard;
        trimDrawTable(datamod_.t_con(), name, MaxStoredDraws);
        datamod_.openDrawQuery(name);
        AllCombinations.buildAll(CurrentLottery.numberRange, CurrentLottery.pickCount);
        BuildStandardTrend();
    } catch (...) {
        LotteryOpen = false;
        datamod_.closeConnection();
        throw;
    }
}

void LotteryState::CloseLottery()
{
    datamod_.closeConnection();
    LotteryOpen = false;
}

void LotteryState::BuildStandardTrend()
{
    if (datamod_.isOpen()) {
        // Read aside first: a row that cannot be read leaves the history as it was.
        DrawHistory history;
        std::vector<std::string> dates;
        loadDrawHistory(datamod_.t_con(), CurrentLottery, history, dates);
        DrawHistory_ = std::move(history);
        DrawDates = std::move(dates);
    }
    Rows = buildStandardTrend(CurrentLottery, DrawHistory_);
    Mode = TrendMode::Standard;
}

void LotteryState::BuildVariableTrend(Random& random)
{
    BuildVariableTrend(drawVariableSettings(CurrentLottery.numberRange, random));
}

void LotteryState::BuildVariableTrend(const VariableSettings& settings)
{
    // Built aside first, so a refused build leaves the current view as it was.
    VariableTrend trend = buildVariableTrend(CurrentLottery, DrawHistory_, settings);
    TrendRows rows = variableTrendRows(CurrentLottery, DrawHistory_, trend);
    Variable = std::move(trend);
    Rows = std::move(rows);
    Mode = TrendMode::Variable;
}

void LotteryState::setHistoryForTests(const LotteryParams& lottery, const DrawHistory& history)
{
    CurrentLottery = lottery;
    DrawHistory_ = history;
    DrawDates.assign(static_cast<std::size_t>(history.size()), std::string());
    LotteryOpen = true;
    Mode = TrendMode::Standard;
    AllCombinations.buildAll(lottery.numberRange, lottery.pickCount);
    Rows = buildStandardTrend(CurrentLottery, DrawHistory_);
}

} // namespace zelvor
