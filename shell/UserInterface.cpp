#include "shell/UserInterface.h"

namespace plu {

void WaitUntilProgressClosed(UserInterface& ui)
{
    while (ui.GetProgressState() != ProgressState::Closed)
        ui.ProcessEvents();
}

} // namespace plu
