// The investment windows from the command line: the three plans and the
// investment mode with its simulation and search. What a window shows in a
// message box is printed on stdout where it occurs; a refusal exits 1.
#include <QDate>
#include <QFile>
#include <QPrinter>
#include <filesystem>

#include "cli/cli.h"
#include "cli/opened_lottery.h"
#include "common/error.h"
#include "common/random.h"
#include "invest/mode.h"
#include "invest/plan.h"
#include "ui/table_print.h"

namespace zelvor::cli {

namespace {

using namespace zelvor::invest;

std::filesystem::path pathOf(const QString& file) { return std::filesystem::path(file.toStdU16String()); }

QString q(const std::string& s) { return QString::fromStdString(s); }

int refused(const std::string& message)
{
    out() << q(message) << '\n';
    return 1;
}

// A field option's whole number within lo..hi; throws Error with the
// window's conversion message or a range message naming the field.
std::int64_t fieldValue(const QString& text, const char* label, std::int64_t lo, std::int64_t hi)
{
    int v = 0;
    if (!tryParseInteger(text.toStdString(), v))
        throw Error(integerConversionMessage(text.toStdString()));
    if (v < lo || v > hi)
        throw Error(std::string(label) + "必须是" + std::to_string(lo) + "到" + std::to_string(hi) + "之间的整数！");
    return v;
}

void printRow(const std::vector<std::string>& cells)
{
    QStringList parts;
    for (const std::string& c : cells)
        parts << q(c);
    out() << parts.join('\t') << '\n';
}

template <class T>
std::vector<std::string> texts(const std::vector<T>& values)
{
    std::vector<std::string> t;
    for (const T& v : values)
        t.push_back(std::to_string(v));
    return t;
}

QDate printDateOption(const CommandLine& line, const char* needs)
{
    QDate date = QDate::currentDate();
    if (line.has("--date")) {
        date = QDate::fromString(line.value("--date"), QStringLiteral("yyyy-M-d"));
        if (!date.isValid())
            throw UsageError(QStringLiteral("--date takes a date Y-M-D, not “%1”").arg(line.value("--date")).toStdString());
        if (!line.has(needs) && !(QString::fromLatin1(needs) == "--print-bets" && line.has("--print-settings")))
            throw UsageError("--date goes with a printout");
    }
    return date;
}

QPrinter* pdfPrinter(QPrinter& printer, const QString& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return &printer;
}

} // namespace

int cmdPlan(const CommandLine& line)
{
    const QString which = line.args[0];
    PlanKind kind;
    if (which == "fixed")
        kind = PlanKind::Fixed;
    else if (which == "staged")
        kind = PlanKind::Staged;
    else if (which == "variable")
        kind = PlanKind::Variable;
    else
        throw UsageError(QStringLiteral("unknown plan %1").arg(which).toStdString());

    const QDate date = printDateOption(line, "--pdf");
    PlanFields fields;
    std::vector<PlanRow> rows;
    bool loaded = false;
    int status = 0;
    try {
        if (line.has("--load")) {
            LoadedPlan lp = loadPlanFile(pathOf(line.value("--load")), kind, fields);
            fields = lp.fields;
            rows = lp.rows;
            loaded = true;
        }
        const std::pair<const char*, PlanField> options[] = {{"--loss", FieldP},  {"--profit", FieldL},
                                                             {"--stake", FieldC}, {"--prize", FieldW},
                                                             {"--issues", FieldN}, {"--stages", FieldS}};
        for (const auto& [name, f] : options)
            if (line.has(name))
                fields.text[f] = line.value(name).toStdString();

        if (kind != PlanKind::Variable) {
            if (!loaded) {
                const PlanValues v = readPlanFields(fields, kind);
                PlanResult r = kind == PlanKind::Fixed ? generateFixedPlan(v) : generateStagedPlan(v);
                if (!r.message.empty())
                    return refused(r.message);
                rows = std::move(r.rows);
            }
            printRow(planHeaders(kind, loaded));
            for (const PlanRow& r : rows)
                printRow(texts(planCells(r, kind)));
        } else {
            // "新建" (or the loaded plan), then one "添加本期计划" per --bets value.
            printRow(planHeaders(kind));
            for (const PlanRow& r : rows)
                printRow(texts(planCells(r, kind)));
            for (const QString& b : line.value("--bets").split(' ', Qt::SkipEmptyParts)) {
                fields.text[FieldB] = b.toStdString();
                std::string message;
                try {
                    const PlanValues v = readPlanFields(fields, kind);
                    message = addVariableIssue(rows, v, fields.text[FieldN]);
                } catch (const Error& e) {
                    message = e.what();
                }
                if (!message.empty()) {
                    out() << q(message) << '\n';
                    status = 1;
                } else {
                    printRow(texts(planCells(rows.back(), kind)));
                }
            }
        }
        if (!rows.empty())
            out() << q(planAverageText(rows)) << '\n';
        if (line.has("--save"))
            savePlanFile(pathOf(line.value("--save")), kind, fields, rows);
        if (line.has("--pdf")) {
            if (rows.empty())
                return refused("请先生成表格！");
            PrintedTable t;
            t.title = QString::fromUtf8(planDescriptor(kind).title);
            t.parameterLine = q(planPrintLine(kind, fields, printDate(date).toStdString()));
            for (const std::string& h : planHeaders(kind, loaded))
                t.headers << q(h);
            for (const PlanRow& r : rows) {
                QStringList cells;
                for (const std::string& c : texts(planCells(r, kind)))
                    cells << q(c);
                t.rows.push_back(cells);
            }
            t.layout = kind == PlanKind::Variable ? TableLayout::EightColumns : TableLayout::SevenColumns;
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(line.value("--pdf"));
            if (printTable(printer, t) == 0)
                return refused("请安装打印机！");
        }
    } catch (const Error& e) {
        return refused(e.what());
    }
    return status;
}

namespace {

struct ModeSession {
    ModeSettings settings;
    std::vector<Bet> bets;
    HitTable hits;
};

void printRun(const RunResult& r)
{
    if (!r.message.empty())
        out() << q(r.message) << '\n';
    printRow(cycleHeaders());
    for (const Cycle& c : r.cycles)
        printRow(texts(std::vector<std::int64_t>{c.step, c.multiplier, c.stake, c.total, c.prize, c.net, c.rate}));
    out() << kSurplusLabel << QString::number(static_cast<qlonglong>(r.surplus)) << '\n';
}

} // namespace

int cmdMode(const CommandLine& line)
{
    const QString what = line.args[1];
    static const QStringList views{"bets", "hits", "stats", "run", "search"};
    if (!views.contains(what))
        throw UsageError(QStringLiteral("unknown view %1").arg(what).toStdString());
    // Options checked before anything is opened.
    const std::optional<int> type = line.intValue("--type", 0, kPlayTypeCount - 1);
    const QDate date = printDateOption(line, "--print-bets");
    QString surplus; // 总体赢余 as the last run left it

    OpenedLottery opened(line.args[0]);
    if (!modeFitsLottery(opened.state.CurrentLottery()))
        return refused(kWrongLottery);
    const DrawHistory& history = opened.state.DrawHistory();

    ModeSession m;
    ModeSettings& s = m.settings;
    try {
        auto takeBets = [&](const LoadedBets& lb) {
            m.bets = lb.bets;
            m.hits = buildHitTable(s.type, m.bets, history);
        };
        if (line.has("--settings"))
            s = loadSettingsFile(pathOf(line.value("--settings")), s);
        if (line.has("--bets")) {
            const LoadedBets lb = loadBetsFile(pathOf(line.value("--bets")));
            s.type = lb.type;
            s.bets = lb.count;
            takeBets(lb);
        }
        if (line.has("--both")) {
            const LoadedBoth lb = loadBothFile(pathOf(line.value("--both")), s);
            s = lb.settings;
            takeBets(lb.bets);
            if (m.hits.size() > 0 && s.bets >= 1) // the load runs the simulation once
                surplus = QString::number(static_cast<qlonglong>(Simulator(m.hits).run(s, false).surplus));
        }
        if (type)
            s.type = *type;
        const std::pair<const char*, std::int64_t*> edits[] = {
            {"--unit", &s.bets},          {"--prize", &s.prize},        {"--profit", &s.profit},
            {"--max-stake", &s.maxStake}, {"--max-total", &s.maxTotal},
        };
        const char* editLabels[] = {"单倍注数", "单注奖金", "预期利润", "单期最大投入", "累计最大投入"};
        int k = 0;
        for (const auto& [name, field] : edits) {
            if (line.has(name))
                *field = fieldValue(line.value(name), editLabels[k], -kFieldLimit, kFieldLimit);
            ++k;
        }
        if (line.has("--wait"))
            s.waitPos = static_cast<int>(fieldValue(line.value("--wait"), "中出后间隔期数", 0, 50));
        if (line.has("--rep"))
            s.repPos = static_cast<int>(fieldValue(line.value("--rep"), "连续投入期数", 1, 50)) - 1;
        if (line.has("--gap-min"))
            s.gapMinPos = static_cast<int>(fieldValue(line.value("--gap-min"), "观察间隔数", 1, 100)) - 1;
        if (line.has("--gap-runs"))
            s.gapRunsPos = static_cast<int>(fieldValue(line.value("--gap-runs"), "观察间隔连续次数", 1, 10)) - 1;
        if (line.has("--gap-mode"))
            s.gapMode = fieldValue(line.value("--gap-mode"), "间隔模式", 0, 1) == 1;
        if (line.has("--carry"))
            s.carry = fieldValue(line.value("--carry"), "预计亏损", 0, 1) == 1;
        applyGapModeRule(s);
        if (line.has("--random")) {
            s.bets = fieldValue(line.value("--random"), "单倍注数", -kFieldLimit, kFieldLimit);
            std::vector<Bet> drawn;
            const std::string message = generateBets(s.type, s.bets, programRandom(), drawn);
            if (!message.empty())
                return refused(message);
            m.bets = std::move(drawn);
            m.hits = buildHitTable(s.type, m.bets, history);
        }
    } catch (const Error& e) {
        return refused(e.what());
    }

    if (what == "bets") {
        printRow({"序号", "号码1", "号码2", "号码3"});
        for (std::size_t i = 0; i < m.bets.size(); ++i)
            printRow({std::to_string(i + 1), std::to_string(m.bets[i][0]), std::to_string(m.bets[i][1]),
                      std::to_string(m.bets[i][2])});
    } else if (what == "hits") {
        printRow({"记录期号", "中奖间隔"});
        for (int i = 0; i < m.hits.size(); ++i)
            printRow({std::to_string(m.hits.issue[i]),
                      m.hits.distance[i] == 0 ? std::string("●") : std::to_string(m.hits.distance[i])});
    } else if (what == "stats") {
        printRow({"间隔", "连续", "次数"});
        for (const IntervalStat& st : intervalStatistics(m.hits))
            printRow(texts(std::vector<std::int64_t>{st.interval, st.run, st.count}));
    } else {
        if (m.hits.size() == 0)
            return refused(kGenerateFirst);
        if (s.bets < 1)
            return refused(playTypeCountMessage(s.type));
        Simulator sim(m.hits);
        if (what == "search") {
            const bool all = line.has("--all");
            const SearchResult r = searchSettings(sim, s, nullptr, [&](int a, int b, int c, std::int64_t surplus) {
                if (all)
                    out() << gapRunsValue(a) << '\t' << waitValue(b) << '\t' << repValue(c) << '\t'
                          << QString::number(static_cast<qlonglong>(surplus)) << '\n';
            });
            s.gapRunsPos = r.gapRunsPos;
            s.waitPos = r.waitPos;
            s.repPos = r.repPos;
            out() << "观察间隔连续次数：" << gapRunsValue(s.gapRunsPos) << '\n'
                  << "中出后间隔期数：" << waitValue(s.waitPos) << '\n'
                  << "连续投入期数：" << repValue(s.repPos) << '\n';
        }
        const RunResult run = sim.run(s);
        surplus = QString::number(static_cast<qlonglong>(run.surplus));
        printRun(run);
    }

    try {
        const bool noBets = m.bets.empty();
        if ((line.has("--save-bets") || line.has("--save-both")) && noBets)
            return refused(kGenerateFirst);
        if (line.has("--save-bets"))
            saveBetsFile(pathOf(line.value("--save-bets")), s.type, m.bets);
        if (line.has("--save-settings"))
            saveSettingsFile(pathOf(line.value("--save-settings")), s);
        if (line.has("--save-both"))
            saveBothFile(pathOf(line.value("--save-both")), s, m.bets);
        const QString title = q(opened.state.CurrentLottery().name) + QStringLiteral("  ") +
                              QString::number(history.empty() ? 0 : history.issue(history.size() - 1)) +
                              QStringLiteral("期") + QString::fromUtf8(playTypeText(s.type));
        if (line.has("--print-bets")) {
            if (m.bets.empty())
                return refused("请先生成表格！");
            QStringList bets;
            for (const Bet& b : m.bets)
                bets << QStringLiteral("%1%2%3").arg(b[0]).arg(b[1]).arg(b[2]);
            QPrinter printer(QPrinter::HighResolution);
            if (printBetBlocks(*pdfPrinter(printer, line.value("--print-bets")), title + QStringLiteral("投注号码"),
                               QStringLiteral("共%1注 打印日期:").arg(m.bets.size()) + printDate(date), bets) == 0)
                return refused("请安装打印机！");
        }
        if (line.has("--print-settings")) {
            std::vector<std::pair<QString, QString>> lines;
            for (const auto& [left, right] : modeSettingsPrintLines(s, surplus.toStdString()))
                lines.emplace_back(q(left), q(right));
            QPrinter printer(QPrinter::HighResolution);
            if (!printTwoColumns(*pdfPrinter(printer, line.value("--print-settings")),
                                 title + QStringLiteral("投资模式设置"), QStringLiteral("打印日期:") + printDate(date),
                                 lines))
                return refused("请安装打印机！");
        }
    } catch (const Error& e) {
        return refused(e.what());
    }
    return 0;
}

} // namespace zelvor::cli
