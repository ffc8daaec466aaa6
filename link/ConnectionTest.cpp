#include "link/ConnectionTest.h"

#include "link/PortNames.h"

namespace plu {

void PrepareLink(const AppContext& context, TKodoIBusComm& link)
{
    link.CommName = CommNameFor(context.PortNumber);
    link.SetBaudRateIndex(context.BaudRateIndex);
}

bool RunConnectionTest(AppContext& context, TKodoIBusComm& link, UserInterface& ui)
{
    const Texts& texts = context.UiTexts;
    PrepareLink(context, link);
    if (!link.OpenPort())
        return false;
    ui.ShowProgress();
    ui.SetStatus(false, Running(texts.Connect));
    bool ok = false;
    if (!link.Connect(kRegisterId)) {
        // No disconnect after a failed connect: there is no session to end.
        ui.SetStatus(true, Failed(texts.Connect));
        WaitUntilProgressClosed(ui);
    } else {
        ui.SetStatus(false, Running(texts.Disconnect));
        if (link.Disconnect(kRegisterId, 0)) {
            ui.CloseProgress();
            ok = true;
        } else {
            ui.SetStatus(true, Failed(texts.Disconnect));
            WaitUntilProgressClosed(ui);
        }
    }
    link.ClosePort();
    return ok;
}

} // namespace plu
