#include "cli/cli.h"

#include <cstdio>

namespace zelvor::cli {

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream& err()
{
    static QTextStream s(stderr);
    return s;
}

QString takeOption(QStringList& args, const QString& name)
{
    const int at = args.indexOf(name);
    if (at < 0 || at + 1 >= args.size())
        return {};
    const QString v = args[at + 1];
    args.remove(at, 2);
    return v;
}

bool takeFlag(QStringList& args, const QString& name)
{
    return args.removeAll(name) > 0;
}

} // namespace zelvor::cli
