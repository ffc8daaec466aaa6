#pragma once
// Port detection: looks for the register on COM1 to COM4 with a link component
// of its own and offers to keep the port where it answered.
#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"
#include "shell/UserInterface.h"

#include <functional>
#include <string>

namespace plu {

inline constexpr int kFirstDetectPort = 1;
inline constexpr int kLastDetectPort = 4;

struct DetectPortView {
    // Shows text in the result field of port (1..4) at once; "" empties it.
    std::function<void(int port, const std::string& text)> ShowResult;
    // True once the user closed the dialog (or cancelled the command).
    std::function<bool()> Closed;
};

// Sets up the detection's own link component: no trace, 9600 baud, COM2.
void PrepareDetectLink(TKodoIBusComm& link);

// Tries COM1..COM4 in turn: open, connect, close (no disconnect message). At the
// first port that answers it asks whether to apply it; Yes stores it in
// PortNumber and SYSTEM.CFG [Comm] Port. Either answer ends the search, and so
// does a closed view. Returns the port found, or 0.
int DetectPort(AppContext& context, TKodoIBusComm& link, UserInterface& ui, const DetectPortView& view);

} // namespace plu
