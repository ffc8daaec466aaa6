#pragma once
// TDownloadDlg: "Download data", one kind at a time.
#include "transfer/ui/TransferKindDlg.h"

namespace plu {

class TDownloadDlg : public TTransferKindDlg {
    Q_OBJECT
public:
    TDownloadDlg(AppContext& context, UserInterface& ui, QWidget* parent = nullptr);

    std::uint8_t DownloadKinds() const { return Kinds(); }

protected:
    std::array<std::string, 3> KindNames() const override { return m_context.UiTexts.DownloadKindNames; }
};

} // namespace plu
