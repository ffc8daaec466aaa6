#pragma once
// Download (PC to register) and Upload (register to PC) of master data, from the
// chosen kinds to the closed port. The windows (TDownloadDlg, TUploadDlg,
// TParaDlg) and plumctl fill a TransferRequest and call RunDownload or RunUpload
// with the program's TransferContext; everything the user sees goes through its
// UserInterface.
//
// The dialogs: TDownloadDlg checks one kind at a time, TUploadDlg any of the
// three; both keep their own range and refuse OK with kInvalidPluRangeText in an
// information box while !IsValidPluRange (whether or not PLU is checked). Kind
// names for their lists come from Texts::DownloadKindNames / UploadKindNames.
//
// Download: the name checks (before the port opens), OpenPort, Connect, the
// status read, the refusals (changes report pending, reports not cleared, a
// department tax the register does not use), each chosen kind in bit order, and
// the disconnect whose mode byte says what happened (0 nothing, 3 PLUs or
// departments chosen, 2 changes written). Upload: OpenPort, Connect, the status
// read, each chosen kind, the disconnect with mode 0.
// Every failure after the port opened sends the disconnect with mode 1 four
// times, shows the step's text plus "...Error!", waits for OK and closes the port.
#include <cstdint>
#include <string>

namespace plu {

struct TransferContext;
struct Texts;

// Kinds as bits of DownloadKinds / UploadKinds; they always run in this order.
enum TransferKind : std::uint8_t {
    kKindPlu = 1u << 0,
    kKindDepartment = 1u << 1,
    kKindRecycling = 1u << 2,
    kKindParameters = 1u << 3,   // download only; reached through TParaDlg
};
inline constexpr int kTransferKindCount = 4;

inline constexpr int kFirstPlu = 1;
inline constexpr int kLastPlu = 3000;

inline constexpr const char* kInvalidPluRangeText = "Invalid PLU range";
inline constexpr const char* kInvalidTaxText = "Invalid tax";
// The parameter kind's name in its status texts ("Download parameters...").
inline constexpr const char* kParametersKindName = "parameters";

struct TransferRequest {
    std::uint8_t Kinds = 0;   // TransferKind bits
    int From = kFirstPlu;     // PLU range, used by the PLU kind only
    int To = kLastPlu;
};

// What the parameter command downloads: the parameter kind alone.
inline TransferRequest ParameterRequest() { return {kKindParameters, kFirstPlu, kLastPlu}; }

// 1 <= from <= to <= 3000; the dialogs refuse to close with "Invalid PLU range" otherwise.
bool IsValidPluRange(int from, int to);

// The kind's name in the texts of a download or an upload (bit index 0..3).
std::string DownloadKindName(const Texts& texts, int bit);
std::string UploadKindName(const Texts& texts, int bit);

// Both return true when the session ended with an acknowledged disconnect. A
// request whose PLU range is invalid is refused with "Invalid PLU range" before
// anything else happens.
bool RunDownload(TransferContext& ctx, const TransferRequest& request);
bool RunUpload(TransferContext& ctx, const TransferRequest& request);

} // namespace plu
