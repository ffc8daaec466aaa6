#include "link/ConnectionTest.h"

namespace plu {

bool RunConnectionTest(AppContext& context, TKodoIBusComm& link, UserInterface& ui)
{
    const Texts& texts = context.UiTexts;
    bool ok = false;
    switch (StartSession(context, link, ui)) {
    case SessionStart::PortNotOpened:
        return false;
    case SessionStart::ConnectFailed:
        // No disconnect after a failed connect: there is no session to end.
        ui.SetStatus(true, Failed(texts.Connect));
        WaitUntilProgressClosed(ui);
        break;
    case SessionStart::Connected:
        ui.SetStatus(false, Running(texts.Disconnect));
        if (link.Disconnect(kRegisterId, kDisconnectModeOk)) {
            ui.CloseProgress();
            ok = true;
        } else {
            ui.SetStatus(true, Failed(texts.Disconnect));
            WaitUntilProgressClosed(ui);
        }
        break;
    }
    link.ClosePort();
    return ok;
}

} // namespace plu
