#pragma once
// TCommDlg: the communication setting dialog. Port and speed can be chosen;
// parity and stop bits only show the link's fixed 8N1 settings.
#include "link/KodoIBusComm.h"
#include "shell/AppContext.h"
#include "shell/UserInterface.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QGroupBox;

namespace plu {

class TCommDlg : public QDialog {
    Q_OBJECT
public:
    TCommDlg(AppContext& context, UserInterface& ui, TKodoIBusComm::DeviceResolver resolver, QWidget* parent = nullptr);

    // Reloads port and speed from SYSTEM.CFG (whatever the user does next), shows
    // the dialog modally and on OK stores and writes the choice. True on OK.
    bool Execute();

    QButtonGroup* BaudRateRG() const { return m_baudRateRG; }
    QComboBox* PortCB() const { return m_portCB; }
    QGroupBox* ParityRG() const { return m_parityRG; }
    QGroupBox* StopBitsRG() const { return m_stopBitsRG; }

private:
    AppContext& m_context;
    UserInterface& m_ui;
    TKodoIBusComm::DeviceResolver m_resolver;
    QButtonGroup* m_baudRateRG = nullptr;
    QComboBox* m_portCB = nullptr;
    QGroupBox* m_parityRG = nullptr;
    QGroupBox* m_stopBitsRG = nullptr;
};

} // namespace plu
