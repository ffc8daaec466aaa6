#include "link/SessionSteps.h"

#include "link/KodoIBusComm.h"
#include "link/PortNames.h"
#include "shell/AppContext.h"
#include "shell/UserInterface.h"

namespace plu {

void PrepareLink(const AppContext& context, TKodoIBusComm& link)
{
    link.CommName = CommNameFor(context.PortNumber);
    link.SetBaudRateIndex(context.BaudRateIndex);
}

SessionStart StartSession(const AppContext& context, TKodoIBusComm& link, UserInterface& ui)
{
    PrepareLink(context, link);
    if (!link.OpenPort())
        return SessionStart::PortNotOpened;
    ui.ShowProgress();
    ui.SetStatus(false, Running(context.UiTexts.Connect));
    return link.Connect(kRegisterId) ? SessionStart::Connected : SessionStart::ConnectFailed;
}

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
