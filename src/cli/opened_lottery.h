#pragma once
// A lottery opened the way the program opens it (trim, combinations, standard
// trend), for commands that read the open-lottery state.
#include "data/db_lottery.h"
#include "data/lottery_state.h"
#include "data/program_dir.h"
#include "data/u_datamod.h"

namespace zelvor::cli {

class OpenedLottery {
public:
    explicit OpenedLottery(const QString& name) : state(datamod)
    {
        const LotteryOptions o = readLotteryOptions(DatabaseFile(), name);
        state.OpenLottery(name, o.kind, DatabaseFile());
    }
    Tdatamod datamod;
    LotteryState state;
};

} // namespace zelvor::cli
