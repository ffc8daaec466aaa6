#include "transfer/TransferContext.h"

#include "shell/AppContext.h"

namespace plu {

TEcrStatus& TransferContext::Status() const { return App.EcrStatus; }

} // namespace plu
