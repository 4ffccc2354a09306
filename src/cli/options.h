#pragma once
// The command line of zelvor-cli: each command declares its options in a
// table (name, takes a value, may repeat) and how many plain arguments it
// takes; one parser checks them all and hands the command what it found.
// A mistake in the command line is a UsageError: the message, the command's
// usage text and exit status 2.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelvor::cli {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct OptionSpec {
    const char* name;          // "--sum"
    bool takesValue = false;   // "--sum A-B" rather than a flag
    bool repeatable = false;   // may be given more than once
};

struct CommandLine;

struct CommandSpec {
    const char* name;                 // "trend"
    const char* usage;                // after "zelvor-cli ": "trend NAME [--variable ...]"
    const char* details;              // further usage lines (may be empty)
    int minArgs;                      // plain arguments (NAME, FILE, ...)
    int maxArgs;
    std::vector<OptionSpec> options;
    int (*run)(const CommandLine&);
};

// What the parser found: the plain arguments in order and every option's
// values in the order given (flags have one empty value per use).
struct CommandLine {
    QStringList args;
    std::map<QString, QStringList> options;

    bool has(const QString& name) const { return options.count(name) > 0; }
    // The option's value; empty when absent.
    QString value(const QString& name) const;
    QStringList values(const QString& name) const;
    // The value as a whole number of min..max; nullopt when absent. Throws
    // UsageError naming the option and the text otherwise.
    std::optional<int> intValue(const QString& name, int min, int max) const;
};

// Checks args (what follows the command name) against the command's table.
// Options may stand anywhere among the plain arguments; an option that takes
// a value takes the next argument whatever it looks like. Throws UsageError.
CommandLine parseCommandLine(const CommandSpec& spec, const QStringList& args);

// "usage: zelvor-cli " + usage, then the details, each line ending in '\n'.
QString usageText(const CommandSpec& spec);

// A whole number of 0..2^64-1 (a generator seed); false for anything else.
bool parseSeed(const QString& text, std::uint64_t& seed);

} // namespace zelvor::cli
