// Endless exclusion from the command line: a run of the repeat, sum, skew or
// follow window with its rules and messages, the survivors saved as a bet
// file; or the window's statistics table.
#include <atomic>
#include <csignal>
#include <filesystem>

#include "cli/cli.h"
#include "cli/opened_lottery.h"
#include "analysis/trend.h"
#include "common/error.h"
#include "common/random.h"
#include "data/program_dir.h"
#include "filter/betlist.h"
#include "filter/exclusion.h"

namespace zelvor::cli {

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) { interrupted = true; }

// Options of each kind; every other kind's options are usage mistakes.
const std::vector<QString>& kindOptions(ExclusionKind kind)
{
    static const std::vector<QString> repeat = {"--span", "--min-repeats"};
    static const std::vector<QString> sum = {"--upper", "--lower"};
    static const std::vector<QString> skew = {"--mode", "--high", "--low", "--run"};
    static const std::vector<QString> follow = {"--standard", "--wheel", "--key",     "--random-stage", "--max-stage",
                                                "--stage",    "--compare", "--upper", "--lower"};
    switch (kind) {
    case ExclusionKind::Repeat: return repeat;
    case ExclusionKind::Sum: return sum;
    case ExclusionKind::Skew: return skew;
    case ExclusionKind::Follow: return follow;
    }
    return repeat;
}

const std::vector<QString>& allKindOptions()
{
    static const std::vector<QString> all = {"--span",  "--min-repeats", "--upper",        "--lower",
                                             "--mode",  "--high",        "--low",          "--run",
                                             "--standard", "--wheel",    "--key",          "--random-stage",
                                             "--max-stage", "--stage",   "--compare"};
    return all;
}

bool contains(const std::vector<QString>& list, const QString& s)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}

// "A:L-U" into its three texts.
void splitState(const QString& option, const QString& value, std::string& a, std::string& l, std::string& u)
{
    const int colon = value.indexOf(':');
    const int dash = colon < 0 ? -1 : value.indexOf('-', colon + 2);
    if (colon < 0 || dash < 0)
        throw UsageError(option.toStdString() + " takes A:L-U");
    a = value.left(colon).trimmed().toStdString();
    l = value.mid(colon + 1, dash - colon - 1).trimmed().toStdString();
    u = value.mid(dash + 1).trimmed().toStdString();
}

std::string text(const CommandLine& line, const QString& option, const std::string& fallback)
{
    return line.has(option) ? line.value(option).toStdString() : fallback;
}

} // namespace

int cmdExclude(const CommandLine& line)
{
    const QString kindName = line.args[1];
    ExclusionKind kind;
    if (kindName == "repeat")
        kind = ExclusionKind::Repeat;
    else if (kindName == "sum")
        kind = ExclusionKind::Sum;
    else if (kindName == "skew")
        kind = ExclusionKind::Skew;
    else if (kindName == "follow")
        kind = ExclusionKind::Follow;
    else
        throw UsageError("KIND is repeat, sum, skew or follow, not “" + kindName.toStdString() + "”");
    for (const QString& o : allKindOptions())
        if (line.has(o) && !contains(kindOptions(kind), o))
            throw UsageError(o.toStdString() + " does not go with " + kindName.toStdString());

    const bool stats = line.has("--stats");
    if (stats) {
        if (kind == ExclusionKind::Skew)
            throw UsageError("the skew window has no statistics");
        for (const char* o : {"--from", "--target", "--passes", "--stop-after", "--out"})
            if (line.has(o))
                throw UsageError(std::string(o) + " does not go with --stats");
    } else {
        if (line.has("--target") == line.has("--passes"))
            throw UsageError("give one of --target T and --passes P");
        if (line.value("--out").isEmpty())
            throw UsageError("--out FILE is needed");
        if (line.has("--target") && line.has("--standard"))
            throw UsageError("--target does not go with --standard");
    }
    if (line.has("--mode") && line.value("--mode") != "big" && line.value("--mode") != "odd")
        throw UsageError("--mode is big or odd");
    if (line.has("--key") && line.value("--key") != "count" && line.value("--key") != "omission")
        throw UsageError("--key is count or omission");

    OpenedLottery s(line.args[0]);
    const LotteryParams lottery = s.state.CurrentLottery();
    const DrawHistory& history = s.state.DrawHistory();
    const int N = lottery.numberRange;
    const int k = lottery.pickCount;
    const int D = history.size();

    // The betting position.
    int b = D;
    if (line.has("--at")) {
        int issue = 0;
        if (!tryParseInteger(line.value("--at").toStdString(), issue))
            throw UsageError("--at takes an issue number");
        b = -1;
        for (int u = 0; u < D; ++u)
            if (history.issue(u) == issue)
                b = u;
        if (issue == history.nextIssue())
            b = D;
        if (b < 0)
            throw UsageError("no issue " + std::to_string(issue) + " in " + line.args[0].toStdString());
    }

    // Given views.
    std::vector<std::vector<int>> perms;
    for (const QString& p : line.values("--perm")) {
        auto parsed = parsePermutation(p.toStdString(), N);
        if (!parsed)
            throw UsageError("--perm takes a permutation of 1.." + std::to_string(N));
        perms.push_back(*parsed);
    }
    std::vector<int> windows;
    for (const QString& w : line.values("--window")) {
        int v = 0;
        if (!tryParseInteger(w.toStdString(), v))
            throw UsageError("--window takes a whole number");
        windows.push_back(v);
    }

    if (auto refusal = exclusionRefusal(lottery)) {
        err() << QString::fromStdString(*refusal) << "\n";
        return 1;
    }

    // The window's controls as the user would have set them.
    ExclusionInputs in;
    in.b = b;
    in.byTarget = line.has("--target");
    if (line.has("--target"))
        in.targetText = line.value("--target").toStdString();
    if (line.has("--passes"))
        in.passesText = line.value("--passes").toStdString();
    int span = 10;
    if (line.has("--span")) {
        if (!tryParseInteger(line.value("--span").toStdString(), span)) {
            err() << QString::fromStdString(integerConversionMessage(line.value("--span").toStdString())) << "\n";
            return 1;
        }
        if (span < 1)
            throw UsageError("--span takes a whole number from 1");
    }
    in.span = span;
    in.repeatsText = text(line, "--min-repeats", std::to_string(k));
    if (kind == ExclusionKind::Sum) {
        in.upperText = text(line, "--upper", std::to_string(defaultSumUpper(N, k)));
        in.lowerText = text(line, "--lower", std::to_string(defaultSumLower(N, k)));
    } else {
        in.upperText = text(line, "--upper", std::to_string(k));
        in.lowerText = text(line, "--lower", "0");
    }
    in.oddMode = line.value("--mode") == "odd";
    in.aText = std::to_string(k - 1);
    in.l1Text = "0";
    in.u1Text = std::to_string(k - 1);
    in.bText = "1";
    in.l2Text = "1";
    in.u2Text = std::to_string(k);
    if (line.has("--high")) {
        in.high = true;
        splitState("--high", line.value("--high"), in.aText, in.l1Text, in.u1Text);
    }
    if (line.has("--low")) {
        in.low = true;
        splitState("--low", line.value("--low"), in.bText, in.l2Text, in.u2Text);
    }
    in.yText = text(line, "--run", "2");
    in.standard = line.has("--standard");
    in.wheel = line.has("--wheel");
    in.omissionKey = line.value("--key") == "omission";
    in.randomStage = line.has("--random-stage");
    in.maxStage = line.has("--max-stage");
    in.stageText = text(line, "--stage", "100");
    in.hText = text(line, "--compare", "2");

    if (stats) {
        // Only the settings the statistics use are read.
        int h = 2;
        int stage = 100;
        if (kind == ExclusionKind::Follow) {
            for (const std::string* t : {&in.hText, &in.stageText}) {
                int v = 0;
                if ((t == &in.stageText && (in.maxStage || perms.empty())) || tryParseInteger(*t, v))
                    continue;
                err() << QString::fromStdString(integerConversionMessage(*t)) << "\n";
                return 1;
            }
            tryParseInteger(in.hText, h);
            if (h < 1 || h > 3) {
                err() << kFollowCompareMessage << "\n";
                return 1;
            }
            tryParseInteger(in.stageText, stage);
            if (!perms.empty() && !in.maxStage && stage < 1) {
                err() << kFollowStageMessage << "\n";
                return 1;
            }
        }
        if (perms.size() > 1)
            throw UsageError("--stats takes one --perm");
        if (perms.empty() && !windows.empty())
            throw UsageError("--window goes with --perm");
        if (kind == ExclusionKind::Follow && in.standard && !perms.empty())
            throw UsageError("--perm does not go with --standard");
        StatisticsView view;
        if (!perms.empty()) {
            view.permutation = perms[0];
            view.wheel = in.wheel;
            view.omissionKey = in.omissionKey;
            if (kind == ExclusionKind::Follow) {
                const int limit = in.maxStage ? b + 1 : stage;
                if (in.randomStage) {
                    if (windows.size() != 1)
                        throw UsageError("a random stage needs one --window");
                    if (windows[0] < 1 || windows[0] > limit)
                        throw UsageError("--window takes 1.." + std::to_string(limit));
                    view.stage = windows[0];
                } else {
                    if (!windows.empty())
                        throw UsageError("--window goes with --random-stage");
                    view.stage = limit;
                }
            } else {
                if (windows.size() > 1)
                    throw UsageError("--stats takes one --window");
                view.stage = windows.empty() ? 0 : windows[0];
                if (view.stage < 0 || view.stage > D)
                    throw UsageError("--window takes 0.." + std::to_string(D));
            }
        }
        const StatisticsView* v = perms.empty() ? nullptr : &view;
        const ExclusionStatistics st = kind == ExclusionKind::Repeat ? repeatStatistics(lottery, history, span, v)
                                       : kind == ExclusionKind::Sum  ? sumStatistics(lottery, history, v)
                                                                     : followStatistics(lottery, history, h, v);
        auto row = [](const std::vector<std::string>& cells) {
            QString r;
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if (i)
                    r += '\t';
                r += QString::fromStdString(cells[i]);
            }
            return r;
        };
        out() << row(st.headers) << "\n";
        for (const auto& r : st.rows)
            out() << row(r) << "\n";
        if (!st.summary.empty())
            out() << QString::fromStdString(st.summary) << "\n";
        return 0;
    }

    // Given views: as many stages as permutations where the pass draws one.
    const bool drawsStage = kind != ExclusionKind::Follow || (!in.standard && in.randomStage);
    if (kind == ExclusionKind::Follow && in.standard && !perms.empty())
        throw UsageError("--perm does not go with --standard");
    if (perms.empty() && !windows.empty())
        throw UsageError("--window goes with --perm");
    if (!perms.empty() && drawsStage && windows.size() != perms.size())
        throw UsageError("give one --window for each --perm");
    if (!drawsStage && !windows.empty())
        throw UsageError("this pass draws no stage length: no --window");

    std::optional<BetFileLoad> load;
    if (line.has("--from")) {
        load = loadBetFile(fsPath(line.value("--from")), betFileLoadOptions(BetFileReader::Exclusion, lottery, {}));
        if (!load->ok()) {
            err() << QString::fromStdString(load->error) << "\n";
            return 1;
        }
    }

    const auto read = readExclusionSettings(kind, in, lottery);
    if (const auto* message = std::get_if<std::string>(&read)) {
        err() << QString::fromStdString(*message) << "\n";
        return 1;
    }
    const ExclusionSettings settings = std::get<ExclusionSettings>(read);
    if (!perms.empty() && drawsStage) {
        const int limit = kind != ExclusionKind::Follow ? std::max(b, 1) : (in.maxStage ? b + 1 : settings.stage);
        for (int w : windows)
            if (w < 1 || w > limit)
                throw UsageError("--window takes 1.." + std::to_string(limit));
    }

    ExclusionEngine engine(lottery, history);
    if (load)
        engine.takeLoaded(*load);
    RandomViewSource random(programRandom());
    GivenViewSource given(perms, windows);
    ViewSource& source = perms.empty() && !(kind == ExclusionKind::Follow && in.standard)
                             ? static_cast<ViewSource&>(random)
                             : static_cast<ViewSource&>(given);

    int stopAfter = -1;
    if (line.has("--stop-after")) {
        if (!tryParseInteger(line.value("--stop-after").toStdString(), stopAfter) || stopAfter < 0)
            throw UsageError("--stop-after takes a whole number from 0");
    }
    ExclusionHooks hooks;
    hooks.keepGoing = [stopAfter](int pass) { return !interrupted && (stopAfter < 0 || pass <= stopAfter); };
    hooks.passDone = [](const ExclusionPassReport& r) {
        out() << "pass " << r.pass << ": W=" << r.stage << " excluded=" << r.excluded << " left=" << r.left << "\n";
        out().flush();
    };
    interrupted = false;
    auto previous = std::signal(SIGINT, onInterrupt);
    const ExclusionRunResult result = engine.run(settings, source, hooks);
    std::signal(SIGINT, previous);

    if (result.stopped) {
        out() << "stopped after " << result.passes << " passes: " << result.survivors << " left, nothing written\n";
        return 1;
    }
    const FileWriteResult saved = writeExclusionList(fsPath(line.value("--out")), engine.candidates(), true);
    if (!saved.ok()) {
        err() << QString::fromStdString(saved.error) << "\n";
        return 1;
    }
    out() << "过滤结果：" << saved.lines << "注\n";
    return 0;
}

} // namespace zelvor::cli
