#pragma once
// The program-wide state of the open lottery. One object, handed to every
// window; nothing here keeps a window of its own.
//
// The tables hang together: DrawDates runs beside DrawHistory, and TrendRows
// always shows the history in the view TrendMode names. So they change only
// through the builds below, and are read through accessors.
#include <QString>
#include <string>
#include <vector>

#include "common/random.h"
#include "data/combinations.h"
#include "data/lottery.h"
#include "data/trend_tables.h"

namespace zelvor {

class Tdatamod;

class LotteryState {
public:
    explicit LotteryState(Tdatamod& datamod);

    const LotteryParams& CurrentLottery() const { return lottery_; }
    bool LotteryOpen() const { return open_; }
    const zelvor::DrawHistory& DrawHistory() const { return history_; }
    const std::vector<std::string>& DrawDates() const { return dates_; }
    int DrawCount() const { return history_.size(); }
    // The latest issue + 1 (0 without draws).
    int nextIssue() const { return history_.nextIssue(); }
    // Every combination of the lottery; filtering windows mark its rows.
    CombinationTable& AllCombinations() { return combinations_; }
    const CombinationTable& AllCombinations() const { return combinations_; }

    zelvor::TrendMode TrendMode() const { return mode_; }
    const zelvor::TrendRows& TrendRows() const { return rows_; }
    // The latest variable build: VariableHistory, VariableSnapshot, VariableValue.
    const VariableTrend& Variable() const { return variable_; }
    const zelvor::DrawHistory& VariableHistory() const { return variable_.history; }
    // The history as a view shows it: the stored numbers, or their variable ranks.
    const zelvor::DrawHistory& historyFor(zelvor::TrendMode mode) const
    {
        return mode == zelvor::TrendMode::Variable ? variable_.history : history_;
    }

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

    // Opens without a database from a given history (tests, benchmarks).
    void openWithHistory(const LotteryParams& lottery, const zelvor::DrawHistory& history,
                         std::vector<std::string> dates = {});

private:
    Tdatamod& datamod_;
    LotteryParams lottery_;
    bool open_ = false;
    zelvor::DrawHistory history_;
    std::vector<std::string> dates_;
    CombinationTable combinations_;
    zelvor::TrendMode mode_ = zelvor::TrendMode::Standard;
    zelvor::TrendRows rows_;
    VariableTrend variable_;
};

} // namespace zelvor
