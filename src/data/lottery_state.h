#pragma once
// The program-wide state of the open lottery. One object, handed to every
// window; nothing here keeps a window of its own.
#include <QString>
#include <string>
#include <vector>

#include "analysis/trend.h"
#include "common/random.h"
#include "data/combinations.h"
#include "data/lottery.h"

namespace zelvor {

class Tdatamod;

class LotteryState {
public:
    explicit LotteryState(Tdatamod& datamod);

    LotteryParams CurrentLottery;
    bool LotteryOpen = false;
    DrawHistory DrawHistory_;                 // DrawHistory
    std::vector<std::string> DrawDates;
    CombinationTable AllCombinations;
    TrendMode Mode = TrendMode::Standard;     // TrendMode
    TrendRows Rows;                           // TrendRows of the current view
    VariableTrend Variable;                   // VariableHistory, VariableSnapshot

    const DrawHistory& history() const { return DrawHistory_; }
    int DrawCount() const { return DrawHistory_.size(); }
    // The latest issue + 1 (0 without draws).
    int nextIssue() const { return DrawHistory_.nextIssue(); }
    Tdatamod& datamod() { return datamod_; }

    // Opens a lottery of the database: parameters, trim to MaxStoredDraws,
    // AllCombinations, standard trend. Throws Error; on failure the state is
    // back to "no lottery open".
    void OpenLottery(const QString& name, int kind, const QString& databaseFile);
    // Closes the database side; the tables keep the last lottery's values.
    void CloseLottery();

    // Standard build: re-reads the draw query, fills the history, dates and rows.
    void BuildStandardTrend();
    // Variable build with fresh random choices (or given ones).
    void BuildVariableTrend(Random& random);
    void BuildVariableTrend(const VariableSettings& settings);

    // Test hook: open without a database from a given history.
    void setHistoryForTests(const LotteryParams& lottery, const DrawHistory& history);

private:
    Tdatamod& datamod_;
};

} // namespace zelvor
