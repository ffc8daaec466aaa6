#include "transfer/SessionSteps.h"

#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"
#include "shell/UserInterface.h"

namespace plu {

void EndWithError(TKodoIBusComm& comm, UserInterface& ui, const std::string& text)
{
    ui.SetStatus(true, text);
    WaitUntilProgressClosed(ui);
    comm.ClosePort();
}

void AbortSession(TKodoIBusComm& comm, UserInterface& ui, const std::string& text)
{
    for (int i = 0; i < kAbortDisconnects; ++i)
        comm.Disconnect(kRegisterId, kDisconnectModeAbandon);
    EndWithError(comm, ui, text);
}

} // namespace plu
