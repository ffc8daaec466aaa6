#pragma once
// The raw memory upload: reads pages of the register's ROM or RAM into TEMP.BIN
// and lists them in hexadecimal in TEMP.LOG, both in the program directory.
#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"
#include "shell/UserInterface.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace plu {

enum class MemoryKind { Rom = 0, Ram = 1 };

// The page request's selector byte: MemoryKind x 16.
inline constexpr std::uint8_t MemorySelector(MemoryKind kind) { return static_cast<std::uint8_t>(static_cast<int>(kind) * 16); }

inline constexpr std::size_t kPageBytes = 256;
inline constexpr std::size_t kListingLineBytes = 16;
// The page number travels as 16 bits: the base address entry takes at most four
// hexadecimal digits, and a run may not go past the last page, so the pages
// requested and the addresses in the listing always agree.
inline constexpr int kBaseAddressDigits = 4;
inline constexpr std::uint32_t kPageCount = 0x10000;

struct DataRange {
    std::uint16_t BaseAddress = 0; // first page number
    int PackageCount = 8;          // number of pages
    MemoryKind Memory = MemoryKind::Rom;
};

// The data range dialog's texts: baseText hexadecimal (1 to 4 digits),
// countText decimal, blanks around either ignored. nullopt for a bad number,
// including a count that would run past page FFFF.
std::optional<DataRange> ParseDataRange(const std::string& baseText, const std::string& countText, MemoryKind memory);

// The 16 listing lines of one page whose first byte is at firstAddress, each
// "%8.8x  ", 16 items "%2.2x ", then the bytes as characters (below 0x20 as
// "."): 74 characters, without the line end.
std::array<std::string, kPageBytes / kListingLineBytes> ListingLines(std::uint32_t firstAddress,
                                                                    std::span<const std::uint8_t, kPageBytes> page);

std::filesystem::path TempBinPath(const ProgramDirs& dirs);
std::filesystem::path TempLogPath(const ProgramDirs& dirs);

// The session: connect, one page request per page, disconnect. TEMP.BIN gets the
// pages as they arrive (and keeps those read before a failure); TEMP.LOG is
// replaced only after a clean disconnect. True when TEMP.LOG was written; the
// caller then shows it.
bool UploadDataRange(AppContext& context, TKodoIBusComm& link, UserInterface& ui, const DataRange& range);

} // namespace plu
