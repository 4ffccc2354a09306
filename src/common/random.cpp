#include "common/random.h"

#include <chrono>

namespace zelvor {

void Random::seedFromClock()
{
    seed(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())
         ^ static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

Random& programRandom()
{
    static Random generator(20030223);
    return generator;
}

} // namespace zelvor
