#pragma once
// TUploadDlg: "Upload data", any combination of kinds.
#include "transfer/ui/TransferKindDlg.h"

namespace plu {

class TUploadDlg : public TTransferKindDlg {
    Q_OBJECT
public:
    TUploadDlg(AppContext& context, UserInterface& ui, QWidget* parent = nullptr);

    std::uint8_t UploadKinds() const { return Kinds(); }

protected:
    std::array<std::string, 3> KindNames() const override { return m_context.UiTexts.UploadKindNames; }
};

} // namespace plu
