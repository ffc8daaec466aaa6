#pragma once
// Binds a TransferContext to the program's own tables and to the item tables'
// checks (items/ItemChecks.h), as the main window and plumctl use it.
#include "transfer/TransferContext.h"

namespace plu {

// CheckPluNames and CheckDeptNames on tables; CheckDeptTaxes on tables with the
// TaxInUse of app's register status as it stands when the check runs.
DownloadChecks ItemTableChecks(AppContext& app, ItemTables& tables, UserInterface& ui);

TransferContext MakeTransferContext(AppContext& app, UserInterface& ui, TKodoIBusComm& comm, ItemTables& tables);

} // namespace plu
