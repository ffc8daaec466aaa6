#include "transfer/ui/UploadDlg.h"

namespace plu {

TUploadDlg::TUploadDlg(AppContext& context, UserInterface& ui, QWidget* parent)
    : TTransferKindDlg(context, ui, false, tr("Upload data"), tr("PLU #"), parent)
{
    setObjectName("UploadDlg");
}

} // namespace plu
