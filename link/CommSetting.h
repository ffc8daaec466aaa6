#pragma once
// What the communication setting dialog does with SYSTEM.CFG and the
// program-wide port and speed.
#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"

#include <string>
#include <vector>

namespace plu {

// Every open of the dialog reads [Comm] Port and BaudRate again; the program-wide
// values follow the file from then on, also when the dialog is cancelled.
void ReloadCommSettings(AppContext& context);

// OK of the dialog: takes the chosen values and writes Port, then BaudRate.
// The values are in use for this run either way; false with error when the
// file could not be written.
bool ApplyCommSettings(AppContext& context, int portNumber, int baudRateIndex, std::string& error);

struct PortChoice {
    int Number = 0;    // 0 none, 1..4 COM1..COM4
    std::string Label; // "None", or the COM name with the device it stands for
};

// The entries of the port list: "None" and COM1..COM4 with the devices they
// lead to in this run ([Ports], or the demo register). A configured number outside 0..4 has no entry of its own in that
// list; it gets one more entry at the end ("COM7 (no device)"), so the dialog
// shows what is configured and OK without a choice keeps it instead of turning
// it silently into another port.
std::vector<PortChoice> PortChoices(const TKodoIBusComm::DeviceResolver& resolver, int currentPort);

} // namespace plu
