#include "support/fake_dialogs.h"

namespace zelvor::testing {

DialogScript::DialogScript()
{
    auto fake = std::make_unique<ScriptedDialogs>();
    fake_ = fake.get();
    previous_ = setDialogService(std::move(fake));
}

DialogScript::~DialogScript() { setDialogService(std::move(previous_)); }

} // namespace zelvor::testing
