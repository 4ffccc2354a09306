// zelvor-cli prize: a bet file against one draw (the newest unless --issue)
// or, with --all, against every draw, counted per prize level.
#include <climits>

#include "cli/cli.h"
#include "common/error.h"
#include "data/db_lottery.h"
#include "data/program_dir.h"
#include "filter/prize_check.h"

namespace zelvor::cli {

namespace {

std::string levelCounts(PrizeGame game, const PrizeTally& t)
{
    std::string s;
    const auto& levels = prizeLevels(game);
    for (std::size_t l = 0; l < levels.size(); ++l) {
        if (t.counts[l] == 0)
            continue;
        if (!s.empty())
            s += ' ';
        s += std::string(levels[l].name) + ':' + std::to_string(t.counts[l]);
    }
    return s;
}

} // namespace

int cmdPrize(const CommandLine& line)
{
    if (line.has("--issue") && line.has("--all"))
        throw UsageError("--issue and --all exclude each other");
    const std::optional<int> issue = line.intValue("--issue", 0, INT_MAX);

    const QString name = line.args[0];
    LotteryParams lottery;
    DrawHistory history;
    {
        ScopedConnection c(DatabaseFile());
        const LotteryOptions o = readLotteryOptions(c.db(), name);
        lottery = lotteryParamsFor(name, o.kind, o);
        std::vector<std::string> dates;
        loadDrawHistory(c.db(), lottery, history, dates);
    }
    const std::optional<PrizeGame> game = prizeGameFor(lottery);
    if (!game)
        throw Error("“" + lottery.name + "”没有对奖规则。");

    const PrizeBetsLoad load = loadPrizeBets(*game, fsPath(line.args[1]));
    if (!load.ok())
        throw Error(load.message);
    const PrizeBets& bets = load.bets;

    std::string text;
    if (line.has("--all")) {
        const HistoryPrizeCheck r = checkHistory(bets, history);
        for (const HistoryPrizeRow& row : r.rows)
            text += std::to_string(history.issue(row.drawIndex)) + '\t' + levelCounts(*game, row.tally) + '\t'
                    + std::to_string(row.tally.fixedTotal) + '\n';
        text += "draws=" + std::to_string(r.draws) + " bets=" + std::to_string(bets.betCount)
                + " cost=" + std::to_string(r.cost) + " fixed=" + std::to_string(r.totals.fixedTotal) + '\n';
    } else {
        if (history.empty())
            throw Error("“" + lottery.name + "”还没有开奖号码。");
        int drawIndex = history.size() - 1;
        if (issue) {
            drawIndex = -1;
            for (int i = 0; i < history.size(); ++i)
                if (history.issue(i) == *issue)
                    drawIndex = i;
            if (drawIndex < 0)
                throw Error("没有第" + std::to_string(*issue) + "期的开奖号码。");
        }
        const PrizeTally t = checkDraw(bets, prizeDraw(*game, history, drawIndex));
        const auto& levels = prizeLevels(*game);
        for (std::size_t l = 0; l < levels.size(); ++l)
            if (t.counts[l] != 0)
                text += std::string(levels[l].name) + '\t' + std::to_string(t.counts[l]) + '\t'
                        + prizeAmountText(levels[l]) + '\n';
        text += "bets=" + std::to_string(bets.betCount) + " cost=" + std::to_string(bets.cost())
                + " fixed=" + std::to_string(t.fixedTotal) + '\n';
    }
    out() << QString::fromStdString(text);
    return 0;
}

} // namespace zelvor::cli
