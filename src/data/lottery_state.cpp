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
    Mode = TrendMode::Standard;
    if (datamod_.isOpen())
        loadDrawHistory(datamod_.t_con(), CurrentLottery, DrawHistory_, DrawDates);
    Rows = buildStandardTrend(CurrentLottery, DrawHistory_);
}

void LotteryState::BuildVariableTrend(Random& random)
{
    BuildVariableTrend(drawVariableSettings(CurrentLottery.numberRange, random));
}

void LotteryState::BuildVariableTrend(const VariableSettings& settings)
{
    Mode = TrendMode::Variable;
    Variable = buildVariableTrend(CurrentLottery, DrawHistory_, settings);
    Rows = variableTrendRows(CurrentLottery, DrawHistory_, Variable);
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
