#pragma once
// Replacing a file so that a crash, a full disk or a power cut leaves either the
// old file or the new one, never a truncated mix: the content goes to a temporary
// file in the same directory, is flushed to disk, and is renamed over the target.
#include <filesystem>
#include <string>
#include <string_view>

namespace plu {

// On failure returns false, leaves the target as it was and sets error to
// "<path>: <system reason>".
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view content, std::string& error);

} // namespace plu
