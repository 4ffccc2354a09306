// Covering a filtered list from the command line.
#include <QFileInfo>
#include <algorithm>

#include "cli/cli.h"
#include "cli/opened_lottery.h"
#include "common/random.h"
#include "filter/betlist.h"
#include "filter/list_cover.h"

namespace zelvor::cli {

int cmdCover(const CommandLine& line)
{
    const std::optional<int> keep = line.intValue("--keep", 3, 5);
    double seconds = 10;
    if (line.has("--seconds")) {
        bool ok = false;
        seconds = line.value("--seconds").toDouble(&ok);
        if (!ok || seconds < 0)
            throw UsageError("--seconds takes a number of 0 or more");
    }
    const QString outFile = line.value("--out");
    if (outFile.isEmpty())
        throw UsageError("--out FILE is needed");
    const int T = keep ? *keep : 5;

    OpenedLottery opened(line.args[0]);
    const LotteryParams lottery = opened.state.CurrentLottery();
    if (lottery.kind != LotteryKind::Lotto || lottery.numberRange > 64) {
        err() << "保号缩水只适用于乐透型彩票！\n";
        return 1;
    }
    const BetFileLoad load =
        loadBetFile(fsPath(line.args[1]), betFileLoadOptions(BetFileReader::TotalFilter, lottery, {}));
    if (!load.ok()) {
        err() << QString::fromStdString(load.error) << "\n";
        return 1;
    }
    const CoverInput input = coverInput(load);
    const std::vector<NumberSet>& list = input.reds;
    const int k = load.pickCount;
    if (list.empty()) {
        err() << "号码表格为空，无法缩水！\n";
        return 1;
    }
    if (T > k) {
        err() << "保中号码数不能大于每注号码数！\n";
        return 1;
    }
    const ListCoverResult cover = coverList(list, T, seconds, programRandom());
    if (!coversList(list, cover.bets, T)) {
        err() << "保号缩水的结果未能覆盖全部号码\n";
        return 1;
    }

    BetFileWriter writer(fsPath(outFile));
    if (!writer.isOpen()) {
        err() << QString::fromStdString(writer.finish().error) << "\n";
        return 1;
    }
    forEachCoverLine(cover.bets, input.blues, [&](std::string_view shown) { writer.addShownLine(shown); });
    const FileWriteResult saved = writer.finish();
    if (!saved.ok()) {
        err() << QString::fromStdString(saved.error) << "\n";
        return 1;
    }
    const std::size_t blues = input.blues.size();
    const std::size_t reds = cover.bets.size();
    out() << "bets=" << (blues ? reds * blues : reds) << " reds=" << reds << " blues=" << blues << " covered="
          << list.size() << "/" << list.size() << "\n";
    return 0;
}

} // namespace zelvor::cli
