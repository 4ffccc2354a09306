#pragma once
// Direct, unoptimised versions of the four advisers' history replays: every
// target recomputed from scratch with the plain loops of the rules. They are
// slow (seconds on 20,000 draws) and kept to check the fast replays against.
#include "advisers/advisers.h"

namespace zelvor::reference {

AdviserReplay replayInterval(const DrawHistory& h, const LotteryParams& p, const IntervalSettings& s);
AdviserReplay replayIntimate(const DrawHistory& h, const LotteryParams& p, const IntimateSettings& s);
AdviserReplay replayComposite(const DrawHistory& h, const LotteryParams& p, const CompositeSettings& s);

} // namespace zelvor::reference
