#pragma once
// TParaDlg: "Parameter", the receipt parameters kept in SYSTEM.CFG [Default].
// However it closes, what the controls show is written back; only "Download"
// asks the caller to send the block to the register.
#include "shell/AppContext.h"
#include "shell/UserInterface.h"
#include "transfer/ParameterBlock.h"

#include <QDialog>
#include <array>
#include <memory>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace plu {

class CodePage;

class TParaDlg : public QDialog {
    Q_OBJECT
public:
    TParaDlg(AppContext& context, UserInterface& ui, QWidget* parent = nullptr);
    ~TParaDlg() override;

    // Loads the controls from SYSTEM.CFG, shows the dialog modally, writes the
    // controls back whichever way it closed. True when closed with "Download".
    bool Execute();

    // What the controls show, as it is written to SYSTEM.CFG.
    ParameterSettings Settings() const;

    QLineEdit* HeaderEd(int n) const { return m_header[static_cast<std::size_t>(n - 1)]; }
    QLineEdit* ClerkNameEd(int n) const { return m_clerkName[static_cast<std::size_t>(n - 1)]; }
    QLineEdit* DecRateME() const { return m_decRate; }
    QLineEdit* IncRateME() const { return m_incRate; }
    QSpinBox* PrnDenSE() const { return m_printDensity; }
    QSpinBox* BCodeSE(int n) const { return m_bcode[static_cast<std::size_t>(n - 1)]; }
    QLineEdit* VATME(int n) const { return m_vat[static_cast<std::size_t>(n - 1)]; }
    QComboBox* TaxFreeCB() const { return m_taxFree; }
    QGroupBox* PaperTypeRG() const { return m_paperType; }
    QPushButton* DownloadBtn() const { return m_downloadBtn; }
    QPushButton* SaveExitBtn() const { return m_saveExitBtn; }

public slots:
    // The chosen tax-free rate's VAT edit is disabled, the other eight enabled.
    void TaxFreeCBChange();

private:
    void Load(const ParameterSettings& settings);
    QLineEdit* RateEdit(QWidget* parent, const QString& name);

    AppContext& m_context;
    UserInterface& m_ui;
    // Header lines and clerk names are single bytes in SYSTEM.CFG and on the link.
    std::unique_ptr<CodePage> m_codePage;
    std::array<QLineEdit*, kHeaderLines> m_header{};
    std::array<QLineEdit*, kClerkNames> m_clerkName{};
    QLineEdit* m_decRate = nullptr;
    QLineEdit* m_incRate = nullptr;
    QSpinBox* m_printDensity = nullptr;
    QGroupBox* m_paperType = nullptr;
    int m_paperTypeIndex = 0;
    std::array<QSpinBox*, kBarcodePrefixes> m_bcode{};
    std::array<QLineEdit*, kVatRates> m_vat{};
    QComboBox* m_taxFree = nullptr;
    QPushButton* m_downloadBtn = nullptr;
    QPushButton* m_saveExitBtn = nullptr;
};

} // namespace plu
