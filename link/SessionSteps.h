#pragma once
// The steps every register command shares: how a session starts and how a
// failed one ends.
#include <cstdint>
#include <string>

namespace plu {

struct AppContext;
class TKodoIBusComm;
class UserInterface;

inline constexpr std::uint8_t kDisconnectModeOk = 0;
inline constexpr std::uint8_t kDisconnectModeAbandon = 1;
inline constexpr int kAbortDisconnects = 4;

// Sets CommName and BaudRate from the program-wide values, as every register
// command does right before OpenPort.
void PrepareLink(const AppContext& context, TKodoIBusComm& link);

enum class SessionStart { PortNotOpened, ConnectFailed, Connected };

// PrepareLink, OpenPort (which has told the user when it fails), the progress
// dialog with the connect status, Connect. A failed connect is left to the
// caller: each command ends it its own way.
SessionStart StartSession(const AppContext& context, TKodoIBusComm& link, UserInterface& ui);

// The error form of the progress dialog with text, a wait until the user has
// dismissed it (at once when the user had cancelled), then ClosePort.
void EndWithError(TKodoIBusComm& comm, UserInterface& ui, const std::string& text);

// After a failure: the disconnect with mode 1 four times, results ignored, then
// EndWithError(text).
void AbortSession(TKodoIBusComm& comm, UserInterface& ui, const std::string& text);

} // namespace plu
