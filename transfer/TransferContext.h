#pragma once
// Everything a transfer command and its kind procedures work with: the program's
// values (port, speed, texts, SYSTEM.CFG, WorkStream and the register status),
// the user interface, the link, the item tables and the pre-download checks.
#include <cstdint>
#include <functional>

namespace plu {

struct AppContext;
struct ItemTables;
struct TEcrStatus;
class TKodoIBusComm;
class UserInterface;

// The item tables' checks run before and during a download. Each shows its own
// message and returns false when it fails. ItemTableChecks (DownloadChecks.h)
// binds them to the items/ implementations; tests may bind their own.
struct DownloadChecks {
    std::function<bool(int first, int last)> CheckPluNames;
    std::function<bool()> CheckDeptNames;
    std::function<bool()> CheckDeptTaxes;   // uses TaxInUse of the fresh status
};

struct TransferContext {
    AppContext& App;
    UserInterface& Ui;
    TKodoIBusComm& Comm;
    ItemTables& Tables;
    DownloadChecks Checks;
    // Collected while a download runs: 0 at its start, 3 when PLUs or departments
    // are chosen, 2 once a block of changes has been written. Handed to the link's
    // DisconnectCode for the final disconnect only.
    std::int32_t PendingDisconnectCode = 0;

    TEcrStatus& Status() const;
};

} // namespace plu
