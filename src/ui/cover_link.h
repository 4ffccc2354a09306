#pragma once
// The "保号缩水" button of the windows that show a bet list: opens the cover
// window on the list they show (the shared list file).
namespace zelvor {

struct AppContext;

void coverShownList(AppContext& context);

} // namespace zelvor
