#include "transfer/ui/DownloadDlg.h"

namespace plu {

TDownloadDlg::TDownloadDlg(AppContext& context, UserInterface& ui, QWidget* parent)
    : TTransferKindDlg(context, ui, true, tr("Download data"), tr("PLU No."), parent)
{
    setObjectName("DownloadDlg");
}

} // namespace plu
