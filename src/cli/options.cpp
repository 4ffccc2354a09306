#include "cli/options.h"

#include "common/error.h"

namespace zelvor::cli {

QString CommandLine::value(const QString& name) const
{
    const auto it = options.find(name);
    return it == options.end() || it->second.isEmpty() ? QString() : it->second.last();
}

QStringList CommandLine::values(const QString& name) const
{
    const auto it = options.find(name);
    return it == options.end() ? QStringList() : it->second;
}

std::optional<int> CommandLine::intValue(const QString& name, int min, int max) const
{
    if (!has(name))
        return std::nullopt;
    const QString text = value(name);
    int v = 0;
    if (!tryParseInteger(text.toStdString(), v) || v < min || v > max)
        throw UsageError(QStringLiteral("%1 takes a whole number from %2 to %3, not “%4”")
                             .arg(name)
                             .arg(min)
                             .arg(max)
                             .arg(text)
                             .toStdString());
    return v;
}

CommandLine parseCommandLine(const CommandSpec& spec, const QStringList& args)
{
    CommandLine line;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QStringLiteral("--")) || a == QStringLiteral("--")) {
            line.args << a;
            continue;
        }
        const OptionSpec* option = nullptr;
        for (const OptionSpec& o : spec.options)
            if (a == QString::fromUtf8(o.name))
                option = &o;
        if (!option)
            throw UsageError(QStringLiteral("unknown option %1").arg(a).toStdString());
        if (!option->repeatable && line.has(a))
            throw UsageError(QStringLiteral("%1 is given more than once").arg(a).toStdString());
        QString value;
        if (option->takesValue) {
            if (i + 1 >= args.size())
                throw UsageError(QStringLiteral("%1 needs a value").arg(a).toStdString());
            value = args[++i];
        }
        line.options[a] << value;
    }
    if (line.args.size() < spec.minArgs || line.args.size() > spec.maxArgs)
        throw UsageError(line.args.size() < spec.minArgs ? "too few arguments" : "too many arguments");
    return line;
}

QString usageText(const CommandSpec& spec)
{
    QString text = QStringLiteral("usage: zelvor-cli ") + QString::fromUtf8(spec.usage) + '\n';
    if (spec.details && *spec.details)
        text += QString::fromUtf8(spec.details) + '\n';
    return text;
}

bool parseSeed(const QString& text, std::uint64_t& seed)
{
    if (text.isEmpty() || text.startsWith('+') || text.startsWith('-'))
        return false;
    bool ok = false;
    const qulonglong v = text.toULongLong(&ok, 10);
    if (!ok)
        return false;
    seed = v;
    return true;
}

} // namespace zelvor::cli
