#pragma once
// The Test command: open the configured port, connect (speed hunt and
// identification read), disconnect, close. Nothing else is sent.
#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"
#include "shell/UserInterface.h"

namespace plu {

// True when the register answered and the session ended cleanly.
bool RunConnectionTest(AppContext& context, TKodoIBusComm& link, UserInterface& ui);

// Sets CommName and BaudRate from the program-wide values, as every register
// command does right before OpenPort.
void PrepareLink(const AppContext& context, TKodoIBusComm& link);

} // namespace plu
