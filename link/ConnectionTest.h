#pragma once
// The Test command: open the configured port, connect (speed hunt and
// identification read), disconnect, close. Nothing else is sent.
#include "link/KodoIBusComm.h"
#include "link/SessionSteps.h"
#include "shell/AppContext.h"
#include "shell/UserInterface.h"

namespace plu {

// True when the register answered and the session ended cleanly.
bool RunConnectionTest(AppContext& context, TKodoIBusComm& link, UserInterface& ui);

} // namespace plu
