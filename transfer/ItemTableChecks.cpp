#include "transfer/ItemTableChecks.h"

#include "items/ItemChecks.h"
#include "shell/AppContext.h"

namespace plu {

DownloadChecks ItemTableChecks(AppContext& app, ItemTables& tables, UserInterface& ui)
{
    DownloadChecks checks;
    checks.CheckPluNames = [&tables, &ui](int first, int last) { return CheckPluNames(tables.Plu, first, last, ui); };
    checks.CheckDeptNames = [&tables, &ui] { return CheckDeptNames(tables.Dept, ui); };
    checks.CheckDeptTaxes = [&app, &tables, &ui] { return CheckDeptTaxes(tables.Dept, app.EcrStatus.TaxInUse, ui); };
    return checks;
}

TransferContext MakeTransferContext(AppContext& app, UserInterface& ui, TKodoIBusComm& comm, ItemTables& tables)
{
    return TransferContext{app, ui, comm, tables, ItemTableChecks(app, tables, ui), 0};
}

} // namespace plu
