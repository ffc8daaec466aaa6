#pragma once
// TDetectPortDlg: looks for the register on COM1 to COM4 with a link component
// of its own (no trace, 9600 baud). The search runs inside the dialog's modal
// loop; Close is handled during the link's waits and ends the search.
#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"
#include "shell/UserInterface.h"

#include <QDialog>
#include <array>
#include <memory>

class QLineEdit;
class QPushButton;

namespace plu {

class TDetectPortDlg : public QDialog {
    Q_OBJECT
public:
    TDetectPortDlg(AppContext& context, UserInterface& ui, TKodoIBusComm::DeviceResolver resolver, QWidget* parent = nullptr);
    ~TDetectPortDlg() override;

    // Empties the result fields, enables Detect and shows the dialog modally.
    void Execute();

    TKodoIBusComm& KodoIBusComm1() { return *m_link; }
    QLineEdit* Edit(int port) const { return m_edits[static_cast<std::size_t>(port - 1)]; }
    QPushButton* DetectBtn() const { return m_detectBtn; }
    QPushButton* CloseBtn() const { return m_closeBtn; }

public slots:
    void DetectBtnClick();
    void CloseBtnClick();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    AppContext& m_context;
    UserInterface& m_ui;
    std::unique_ptr<TKodoIBusComm> m_link;
    std::array<QLineEdit*, 4> m_edits{};
    QPushButton* m_detectBtn = nullptr;
    QPushButton* m_closeBtn = nullptr;
    bool m_closed = false;
};

} // namespace plu
