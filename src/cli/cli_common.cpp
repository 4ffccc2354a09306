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

} // namespace zelvor::cli
