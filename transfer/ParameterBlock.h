#pragma once
// The receipt parameters: kept in SYSTEM.CFG [Default], edited in TParaDlg and
// sent to the register as one 256-byte block with WriteBlock(1, 0). They are
// never read back.
//
// TParaDlg: LoadParameters into the controls (rate edits with RateEditMask()),
// apply VatEditEnabled, run, then SaveParameters whichever way it closed; on
// "Download" run RunDownload with ParameterRequest() (TransferCommands.h), which
// builds the block from SYSTEM.CFG, not from the controls.
//
// Block: 0 -% rate, 2 +% rate (hundredths, 4 digits), 4 zero, 5 five header lines
// of 24, 125 four clerk names of 10 (cut, or followed by zeros), 165 ten barcode
// types, 175 print density, 176 paper type, 177 tax-free VAT number 1..9,
// 178 the eight other VAT rates A..I in order (hundredths, 4 digits), 194.. zero.
#include <array>
#include <cstdint>
#include <string>

namespace plu {

class IniFile;

inline constexpr const char* kParameterSection = "Default";
inline constexpr int kHeaderLines = 5;
inline constexpr int kClerkNames = 4;
inline constexpr int kBarcodePrefixes = 10;  // prefixes 20..29
inline constexpr int kVatRates = 9;          // A..I
inline constexpr std::size_t kHeaderWidth = 24;
inline constexpr std::size_t kClerkNameWidth = 10;

// The [Default] keys as the dialog shows them: texts as typed, numbers as integers.
struct ParameterSettings {
    std::array<std::string, kHeaderLines> Header;       // "Header1".."Header5"
    std::array<std::string, kClerkNames> ClerkName;     // "ClerkName1".."ClerkName4"
    std::string DecRate;                                // "-% rate"
    std::string IncRate;                                // "+% rate"
    std::int64_t PrintDensity = 1;                      // "Print density", 1..9
    std::int64_t PaperType = 0;                         // "Paper type", 0 narrow, 1 wide
    std::array<std::int64_t, kBarcodePrefixes> BCode{}; // "BCode1".."BCode10", 0..36
    std::array<std::string, kVatRates> Vat;             // "VAT1".."VAT9"
    std::int64_t TaxFree = 8;                           // "Tax-free", 0 (A) .. 8 (I)
};

// "00" + the locale's decimal separator + "00".
std::string DefaultRateText();
// The dialog's rate edit mask: "!99" + separator + "99;1;0".
std::string RateEditMask();

// Reads every key with its default (the rate defaults in the current locale).
ParameterSettings LoadParameters(const IniFile& cfg);
// Writes every key; false with cfg.LastError() at the first write that fails.
bool SaveParameters(IniFile& cfg, const ParameterSettings& settings);

// The tax-free rule of the dialog: the VAT edit of the tax-free rate (vat 0..8
// for A..I) is disabled, the eight others enabled.
inline bool VatEditEnabled(int vat, std::int64_t taxFree) { return vat != taxFree; }

// The 256-byte block. Rate texts that are not numbers are sent as 0.00.
std::array<std::uint8_t, 256> BuildParameterBlock(const ParameterSettings& settings);

} // namespace plu
