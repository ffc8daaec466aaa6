#pragma once
// The procedures that move one kind of master data. Each runs with the port
// open, the register connected and the status fresh; each returns false as soon
// as a link operation fails (Cancel included) and reports only progress counts
// (the change download also its two status texts). The command around them shows
// the errors and ends the session.
namespace plu {

struct TransferContext;

// PLU opcode 14: fetch at address 3 (7 per request, 6 with stock), plain write
// at 8 (8 per block, with stock), changed write at 5 (2 entries with notes).
bool DownloadPlu(TransferContext& ctx, int from, int to);
bool UploadPlu(TransferContext& ctx, int from, int to);

// Department opcode 14: fetch all 8 at address 6, write one changed at 7.
bool DownloadDepartments(TransferContext& ctx);
bool UploadDepartments(TransferContext& ctx);

// Recycling: write opcode 4 at addresses 0..4, read opcode 3 at addresses 0..6.
bool DownloadRecycling(TransferContext& ctx);
bool UploadRecycling(TransferContext& ctx);

// The parameter block from SYSTEM.CFG [Default], WriteBlock(1, 0).
bool DownloadParameters(TransferContext& ctx);

} // namespace plu
