// Commands of the lottery database: catalogue, info, import, export.
#include "cli/cli.h"
#include "cli/opened_lottery.h"
#include "data/db_lottery.h"
#include "data/program_dir.h"

namespace zelvor::cli {

int cmdLotteries(const CommandLine&)
{
    for (const QString& name : LotteryCatalogue(DatabaseFile()))
        out() << name << "\n";
    return 0;
}

int cmdInfo(const CommandLine& line)
{
    OpenedLottery s(line.args[0]);
    const LotteryParams& p = s.state.CurrentLottery();
    const DrawHistory& h = s.state.DrawHistory();
    out() << "name=" << QString::fromStdString(p.name) << "\n"
          << "kind=" << (p.kind == LotteryKind::Digit ? QStringLiteral("数字型") : QStringLiteral("乐透型")) << "\n"
          << "N=" << p.numberRange << "\n"
          << "k=" << p.pickCount << "\n"
          << "M=" << p.specialRange << "\n"
          << "m=" << p.specialCount << "\n"
          << "draws=" << h.size() << "\n"
          << "first_issue=" << (h.empty() ? 0 : h.issue(0)) << "\n"
          << "last_issue=" << (h.empty() ? 0 : h.issue(h.size() - 1)) << "\n"
          << "next_issue=" << h.nextIssue() << "\n"
          << "combinations=" << s.state.AllCombinations().size() << "\n";
    return 0;
}

int cmdImport(const CommandLine& line)
{
    const ImportResult r = importHistoryFile(DatabaseFile(), line.args[0], line.args[1]);
    out() << "imported=" << r.imported << " skipped=" << r.skipped << "\n";
    if (!r.note.empty())
        err() << QString::fromStdString(r.note) << "\n";
    return 0;
}

int cmdExport(const CommandLine& line)
{
    exportHistoryFile(DatabaseFile(), line.args[0], line.args[1]);
    return 0;
}

} // namespace zelvor::cli
