#pragma once
// What a window test hands its window: the open-lottery state (without a
// database unless the test opens one), a seeded generator and the context.
#include <cstdint>

#include "common/random.h"
#include "data/lottery_state.h"
#include "data/u_datamod.h"
#include "ui/app_context.h"

namespace zelvor::testing {

struct WindowContext {
    explicit WindowContext(std::uint64_t seed = 1) : random(seed) {}
    WindowContext(const LotteryParams& lottery, const DrawHistory& history, std::uint64_t seed = 1) : random(seed)
    {
        state.openWithHistory(lottery, history);
    }

    Tdatamod datamod;
    LotteryState state{datamod};
    Random random;
    AppContext context{state, random, nullptr};
};

} // namespace zelvor::testing
