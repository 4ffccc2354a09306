#pragma once
// Long core loops report progress through this callback every few thousand
// rows. The window side turns it into an event-pump call and a progress bar
// move; returning false asks the loop to stop early.
#include <cstdint>
#include <functional>

namespace zelvor {

using ProgressFn = std::function<bool(std::int64_t done, std::int64_t total)>;

inline bool reportProgress(const ProgressFn& fn, std::int64_t done, std::int64_t total)
{
    return !fn || fn(done, total);
}

} // namespace zelvor
