// The rotating matrix from the command line: one "开始缩水" (and "保存"), and
// the checker of the wheel library.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>

#include "cli/cli.h"
#include "data/program_dir.h"
#include "filter/wheel.h"
#include "filter/wheel_check.h"

namespace zelvor::cli {

int cmdWheel(const CommandLine& line)
{
    // The window's controls as the user would have set them.
    WheelInputs in;
    in.pickText = "选" + (line.has("--pick") ? line.value("--pick").toStdString() : std::string("6")) + "型";
    in.hitText = line.has("--hit") ? line.value("--hit").toStdString() : "6";
    in.keepText = line.has("--keep") ? line.value("--keep").toStdString() : "5";
    if (!line.has("--numbers"))
        throw UsageError("--numbers is needed");
    const QRegularExpression blanks("[ \\t]+");
    const QStringList numbers = line.value("--numbers").split(blanks, Qt::SkipEmptyParts);
    const QStringList bankers = line.value("--bankers").split(blanks, Qt::SkipEmptyParts);
    in.bankerForm = line.has("--bankers");
    in.basicText = std::to_string(numbers.size());
    in.bankerText = std::to_string(bankers.size());
    for (const QString& n : numbers + bankers)
        in.boxes.push_back(n.toStdString());

    const WheelGeneration g = generateWheel(in, fsPath(ProgramFile(QStringLiteral("旋转矩阵"))));
    if (!g.ok()) {
        err() << QString::fromStdString(g.message) << "\n";
        return 1;
    }
    if (line.has("--out")) {
        QSaveFile f(line.value("--out"));
        std::string text;
        for (const auto& bet : g.bets)
            text += wheelBetLine(bet);
        if (!f.open(QIODevice::WriteOnly) || f.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())
            || !f.commit()) {
            err() << "无法写入文件“" << line.value("--out") << "”：" << f.errorString() << "\n";
            return 1;
        }
    }
    out() << "matrix=" << QString::fromStdString(g.matrixName) << "\n";
    for (std::size_t r = 0; r < g.bets.size(); ++r) {
        std::string cells;
        for (std::size_t i = 0; i < g.bets[r].size(); ++i) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%.2d", g.bets[r][i]);
            cells += (i ? " " : "") + std::string(buf);
        }
        out() << (r + 1) << '\t' << QString::fromStdString(cells) << "\n";
    }
    out() << "save=" << QString::fromStdString(wheelSaveName(g.settings)) << "\n";
    out() << "投注号码：共" << g.bets.size() << " 注\n";
    return 0;
}

int cmdWheelCheck(const CommandLine& line)
{
    QStringList files;
    for (const QString& path : line.args) {
        const QFileInfo info(path);
        if (info.isDir()) {
            QStringList names = QDir(path).entryList({"*.txt"}, QDir::Files, QDir::Name);
            for (const QString& n : names)
                files << QDir(path).filePath(n);
        } else {
            files << path;
        }
    }
    int failedFiles = 0;
    for (const QString& path : files) {
        QFile f(path);
        const QString name = QFileInfo(path).fileName();
        if (!f.open(QIODevice::ReadOnly)) {
            err() << "无法读取文件：" << path << "\n";
            ++failedFiles;
            continue;
        }
        const QByteArray content = f.readAll();
        const QByteArray nameUtf8 = name.toUtf8();
        const WheelFileCheck check = checkWheelFile(std::string_view(nameUtf8.constData(), static_cast<std::size_t>(nameUtf8.size())),
                                                    std::string_view(content.constData(), static_cast<std::size_t>(content.size())));
        if (check.verdict != WheelFileCheck::Verdict::Ok)
            ++failedFiles;
        out() << QString::fromStdString(wheelCheckLine(nameUtf8.toStdString(), check)) << "\n";
    }
    out() << "checked=" << files.size() << " failed=" << failedFiles << "\n";
    return failedFiles > 0 ? 1 : 0;
}

} // namespace zelvor::cli
