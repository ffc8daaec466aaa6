#include "link/PortDetection.h"

#include "link/PortNames.h"
#include "shell/IniFile.h"

namespace plu {

void PrepareDetectLink(TKodoIBusComm& link)
{
    link.TraceEnabled = false;
    link.SetBaudRate(TBaudRate::tbr9600);
    link.CommName = CommNameFor(2);
}

int DetectPort(AppContext& context, TKodoIBusComm& link, UserInterface& ui, const DetectPortView& view)
{
    // The fields are emptied once per search, so the results of the ports
    // already tried stay in view while the next one is tested.
    for (int field = kFirstDetectPort; field <= kLastDetectPort; ++field)
        view.ShowResult(field, "");
    for (int port = kFirstDetectPort; port <= kLastDetectPort; ++port) {
        view.ShowResult(port, kTestingText);

        link.CommName = CommNameFor(port);
        // An open error has been shown by OpenPort; the port simply counts as not found.
        bool found = link.OpenPort() && link.Connect(kRegisterId);
        link.ClosePort();

        if (found) {
            view.ShowResult(port, kKodoFoundText);
            if (ui.Ask(Question::YesNo, MessageKind::Information, kApplyFoundPortText, "") == Answer::Yes) {
                context.PortNumber = port;
                IniFile cfg(context.Dirs.SystemCfg());
                if (!cfg.WriteInteger("Comm", "Port", port))
                    ui.ShowMessage(MessageKind::Error, "The port could not be stored in SYSTEM.CFG.\n" + cfg.LastError());
            }
            return port;
        }
        // A connect ended by Close leaves "Testing..." in the field.
        if (view.Closed())
            return 0;
        view.ShowResult(port, kNoKodoFoundText);
    }
    return 0;
}

} // namespace plu
