// The advisers from the command line: what "生成号码" shows for one target
// issue, or with --replay what "历史统计" shows. Reads the database only.
#include <cstdio>
#include <map>
#include <set>

#include "advisers/advisers.h"
#include "cli/cli.h"
#include "common/error.h"
#include "data/db_lottery.h"
#include "data/program_dir.h"

namespace zelvor::cli {

namespace {

struct LoadedLottery {
    LotteryParams params;
    std::string weekdays;
    DrawHistory history;
    std::vector<std::string> dates;
};

// The lottery as the program opens it, without the trim's write: the newest
// MaxStoredDraws draws are kept in memory instead.
LoadedLottery loadLottery(const QString& name)
{
    LoadedLottery l;
    ScopedConnection c(DatabaseFile());
    const LotteryOptions o = readLotteryOptions(c.db(), name);
    l.params = lotteryParamsFor(name, o.kind, o);
    l.weekdays = o.weekdays.toStdString();
    DrawHistory all;
    std::vector<std::string> dates;
    loadDrawHistory(c.db(), l.params, all, dates);
    const int from = std::max(0, all.size() - MaxStoredDraws);
    if (from == 0) {
        l.history = std::move(all);
        l.dates = std::move(dates);
        return l;
    }
    l.history = DrawHistory(all.pickCount(), all.specialCount());
    l.history.reserve(all.size() - from);
    for (int i = from; i < all.size(); ++i) {
        l.history.append(all.issue(i), all.main(i), all.special(i));
        l.dates.push_back(dates[i]);
    }
    return l;
}

std::string text(const CommandLine& line, const char* option)
{
    return line.value(option).toStdString();
}

void printReplay(const AdviserReplay& r, const DrawHistory& h, bool withHistogram)
{
    // 20,000 rows: built as one UTF-8 text and written in one go.
    std::string buf;
    buf.reserve(static_cast<std::size_t>(r.rowCount()) * 96 + 256);
    buf += kReplayHeader[0];
    for (int c = 1; c < 4; ++c)
        buf += std::string("\t") + kReplayHeader[c];
    buf += '\n';
    for (int row = 0; row < r.rowCount(); ++row) {
        buf += replayCell(r, h, row, 0);
        for (int c = 1; c < 4; ++c) {
            buf += '\t';
            buf += replayCell(r, h, row, c);
        }
        buf += '\n';
    }
    buf += replayMemo(r) + '\n';
    if (r.barCount() > 0)
        buf += "chart=" + std::to_string(r.barCount()) + " first=" + std::to_string(h.issue(r.firstBar)) + '\n';
    else
        buf += "chart=0\n";
    if (withHistogram) {
        buf += "hits=";
        for (std::size_t i = 0; i < r.histogram.size(); ++i)
            buf += (i ? " " : "") + std::to_string(r.histogram[i]);
        buf += '\n';
    }
    out().flush();
    std::fwrite(buf.data(), 1, buf.size(), stdout);
    std::fflush(stdout);
}

const std::map<QString, std::set<QString>>& adviserOptions()
{
    static const std::map<QString, std::set<QString>> options = {
        {"interval", {"--draws", "--count"}},
        {"intimate", {"--mode", "--count", "--stage"}},
        {"composite", {"--w1", "--w2", "--w3", "--w4"}},
        {"stembranch", {"--extra", "--date"}},
    };
    return options;
}

} // namespace

int cmdAdvise(const CommandLine& line)
{
    const QString adviser = line.args[1];
    auto allowed = adviserOptions().find(adviser);
    if (allowed == adviserOptions().end())
        throw UsageError(QStringLiteral("unknown adviser %1").arg(adviser).toStdString());
    for (const auto& [name, values] : line.options)
        if (name != "--issue" && name != "--replay" && !allowed->second.count(name))
            throw UsageError(QStringLiteral("%1 is not an option of %2").arg(name, adviser).toStdString());
    const bool overallMode = line.value("--mode") != "position";
    if (line.has("--mode") && line.value("--mode") != "overall" && line.value("--mode") != "position")
        throw UsageError(QStringLiteral("--mode takes overall or position, not “%1”").arg(line.value("--mode")).toStdString());

    const LoadedLottery l = loadLottery(line.args[0]);
    const DrawHistory& h = l.history;
    const LotteryParams& p = l.params;
    const int n = h.size();
    const int N = p.numberRange;
    const bool replay = line.has("--replay");

    if (n == 0) {
        if (!replay)
            throw Error("没有开奖数据！");
        AdviserReplay empty;
        empty.histogram.assign(static_cast<std::size_t>(p.pickCount + 1), 0);
        printReplay(empty, h, adviser == "interval" || adviser == "intimate");
        return 0;
    }

    // Settings first (in the order of the window), then the target.
    IntervalSettings is = defaultIntervalSettings(p);
    IntimateSettings ms = defaultIntimateSettings(p, n);
    CompositeSettings cs = defaultCompositeSettings(n);
    StemBranchSettings ss;
    if (adviser == "interval") {
        if (line.has("--draws"))
            is.draws = parseSetting(text(line, "--draws"), "间隔期数", 1, 20);
        if (line.has("--count"))
            is.count = parseSetting(text(line, "--count"), "选号个数", 1, N);
    } else if (adviser == "intimate") {
        ms.overall = overallMode;
        ms.count = overallMode ? N / 2 + 1 : 1;
        if (line.has("--count"))
            ms.count = parseSetting(text(line, "--count"), overallMode ? "总体号码数" : "各位号码数", 1, N);
        if (line.has("--stage"))
            ms.stage = parseStage(text(line, "--stage"), "all", n);
    } else if (adviser == "composite") {
        if (line.has("--w1"))
            cs.w1 = parseSetting(text(line, "--w1"), "第一步期数", 1, n);
        if (line.has("--w2"))
            cs.w2 = parseSetting(text(line, "--w2"), "第二步期数", 1, 5);
        if (line.has("--w3"))
            cs.w3 = parseSetting(text(line, "--w3"), "第三步期数", 1, 10);
        if (line.has("--w4"))
            cs.w4 = parseSetting(text(line, "--w4"), "第四步期数", 1, 10);
    } else {
        ss.extra = line.has("--extra");
    }

    if (replay) {
        if (adviser == "interval")
            printReplay(replayInterval(h, p, is), h, true);
        else if (adviser == "intimate")
            printReplay(replayIntimate(h, p, ms), h, true);
        else if (adviser == "composite")
            printReplay(replayComposite(h, p, cs), h, false);
        else
            printReplay(replayStemBranch(h, p, l.dates, ss), h, false);
        return 0;
    }

    const int P = line.has("--issue") ? parseTarget(h, text(line, "--issue")) : n;
    const std::string issueText = targetItems(h)[P];
    auto say = [](const std::string& s) { out() << QString::fromStdString(s) << '\n'; };
    if (adviser == "interval") {
        say(recommendationText(issueText, recommendInterval(h, p, P, is), true));
    } else if (adviser == "intimate") {
        const IntimateResult r = recommendIntimate(h, p, P, ms);
        say(recommendationText(issueText, r.bet, false));
        for (const auto& row : intimacyCells(r, ms.overall)) {
            std::string l = row[0];
            for (std::size_t c = 1; c < row.size(); ++c)
                l += '\t' + row[c];
            say(l);
        }
    } else if (adviser == "composite") {
        const CompositeResult r = recommendComposite(h, p, P, cs);
        const auto boxes = compositeBoxTexts(r);
        say("第一步：" + boxes[0]);
        say("第二步：" + boxes[1]);
        say("第三步：" + boxes[2]);
        say("第四步：" + boxes[3]);
        say(recommendationText(issueText, r.bet, true));
    } else {
        CivilDate d;
        bool haveDate = targetDate(h, l.dates, p.name, l.weekdays, P, d);
        if (line.has("--date"))
            haveDate = parseDate(text(line, "--date"), d);
        if (!haveDate)
            throw Error("请输入正确的开奖日期！");
        const int stem = stemIndex(d);
        const int branch = branchIndex(d);
        say("开奖日期：" + dateText(d));
        say(std::string("天干：") + kStems[stem]);
        say(std::string("地支：") + kBranches[branch]);
        say(recommendationText(issueText, recommendStemBranch(p, selectedDigits(stem, branch, ss.extra)), false));
    }
    return 0;
}

} // namespace zelvor::cli
