#pragma once
// The endings every register command shares.
#include <cstdint>
#include <string>

namespace plu {

class TKodoIBusComm;
class UserInterface;

inline constexpr std::uint8_t kDisconnectModeOk = 0;
inline constexpr std::uint8_t kDisconnectModeAbandon = 1;
inline constexpr int kAbortDisconnects = 4;

// The error form of the progress dialog with text, a wait until the user has
// dismissed it (at once when the user had cancelled), then ClosePort.
void EndWithError(TKodoIBusComm& comm, UserInterface& ui, const std::string& text);

// After a failure: the disconnect with mode 1 four times, results ignored, then
// EndWithError(text).
void AbortSession(TKodoIBusComm& comm, UserInterface& ui, const std::string& text);

} // namespace plu
