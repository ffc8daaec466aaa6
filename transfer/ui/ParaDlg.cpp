#include "transfer/ui/ParaDlg.h"

#include "shell/CodePage.h"
#include "shell/IniFile.h"
#include "shell/SystemConfig.h"
#include "transfer/RateText.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace plu {
namespace {

QString FromBytes(const CodePage& codes, const std::string& bytes) { return QString::fromStdString(codes.ToUtf8(bytes)); }

// A character the code page cannot hold becomes "?".
std::string ToBytes(const CodePage& codes, const QString& text)
{
    std::string bytes;
    for (char32_t codePoint : text.toUcs4())
        bytes += codes.ByteOf(codePoint).value_or('?');
    return bytes;
}

// The rate edits' mask ("!99" + separator + "99;1;0": optional digits, the
// separator kept in the text, unfilled places read as 0) in Qt's notation.
QString RateMask()
{
    const QString mask = QString::fromStdString(RateEditMask());
    QString qtMask;
    for (QChar c : mask.section(';', 0, 0)) {
        if (c == '!')
            continue;
        qtMask += c == '9' ? QChar('0') : c;
    }
    return qtMask + ";" + mask.section(';', 2, 2);
}

} // namespace

TParaDlg::TParaDlg(AppContext& context, UserInterface& ui, QWidget* parent)
    : QDialog(parent), m_context(context), m_ui(ui), m_codePage(std::make_unique<CodePage>())
{
    setObjectName("ParaDlg");
    setWindowTitle(tr("Parameter"));

    auto* clerkBox = new QGroupBox(tr("&Clerk"), this);
    auto* clerkForm = new QFormLayout(clerkBox);
    for (int n = 1; n <= kClerkNames; ++n) {
        auto* edit = new QLineEdit(clerkBox);
        edit->setObjectName(QString("ClerkNameEd%1").arg(n));
        edit->setMaxLength(static_cast<int>(kClerkNameWidth));
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(kClerkNameWidth + 2, 'W')));
        clerkForm->addRow(tr("Clerk%1 name:").arg(n), edit);
        m_clerkName[static_cast<std::size_t>(n - 1)] = edit;
    }

    auto* headerBox = new QGroupBox(tr("&Header message"), this);
    auto* headerForm = new QFormLayout(headerBox);
    for (int n = 1; n <= kHeaderLines; ++n) {
        auto* edit = new QLineEdit(headerBox);
        edit->setObjectName(QString("HeaderEd%1").arg(n));
        edit->setMaxLength(static_cast<int>(kHeaderWidth));
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(kHeaderWidth + 2, 'W')));
        headerForm->addRow(tr("Line %1:").arg(n), edit);
        m_header[static_cast<std::size_t>(n - 1)] = edit;
    }

    auto* ratesBox = new QGroupBox(this);
    auto* ratesForm = new QFormLayout(ratesBox);
    m_decRate = RateEdit(ratesBox, "DecRateME");
    m_incRate = RateEdit(ratesBox, "IncRateME");
    m_printDensity = new QSpinBox(ratesBox);
    m_printDensity->setObjectName("PrnDenSE");
    m_printDensity->setRange(1, 9);
    ratesForm->addRow(tr("-% rate:"), m_decRate);
    ratesForm->addRow(tr("+% rate:"), m_incRate);
    ratesForm->addRow(tr("Print density:"), m_printDensity);
    // The paper type is kept and sent, but not offered in the dialog.
    m_paperType = new QGroupBox(tr("Paper Type"), ratesBox);
    m_paperType->setObjectName("PaperTypeRG");
    auto* paperLayout = new QVBoxLayout(m_paperType);
    paperLayout->addWidget(new QRadioButton(tr("Narrow paper"), m_paperType));
    paperLayout->addWidget(new QRadioButton(tr("Wide paper"), m_paperType));
    m_paperType->setVisible(false);
    ratesForm->addRow(m_paperType);

    auto* barcodeBox = new QGroupBox(tr("&Barcode type"), this);
    auto* barcodeGrid = new QGridLayout(barcodeBox);
    for (int n = 1; n <= kBarcodePrefixes; ++n) {
        auto* spin = new QSpinBox(barcodeBox);
        spin->setObjectName(QString("BCodeSE%1").arg(n));
        spin->setRange(0, 36);
        const int row = (n - 1) % 5;
        const int column = (n - 1) / 5 * 2;
        barcodeGrid->addWidget(new QLabel(QString("%1:").arg(19 + n), barcodeBox), row, column);
        barcodeGrid->addWidget(spin, row, column + 1);
        m_bcode[static_cast<std::size_t>(n - 1)] = spin;
    }

    auto* vatBox = new QGroupBox(tr("&VAT Rate"), this);
    auto* vatGrid = new QGridLayout(vatBox);
    for (int n = 1; n <= kVatRates; ++n) {
        const QChar letter('A' + n - 1);
        auto* edit = RateEdit(vatBox, QString("VATME%1").arg(n));
        const int row = (n - 1) % 5;
        const int column = (n - 1) / 5 * 3;
        vatGrid->addWidget(new QLabel(QString(letter) + ":", vatBox), row, column);
        vatGrid->addWidget(edit, row, column + 1);
        vatGrid->addWidget(new QLabel("%", vatBox), row, column + 2);
        m_vat[static_cast<std::size_t>(n - 1)] = edit;
    }
    m_taxFree = new QComboBox(vatBox);
    m_taxFree->setObjectName("TaxFreeCB");
    for (int n = 1; n <= kVatRates; ++n)
        m_taxFree->addItem(QString("VAT ") + QChar('A' + n - 1));
    vatGrid->addWidget(new QLabel(tr("Tax-free:"), vatBox), 4, 3);
    vatGrid->addWidget(m_taxFree, 4, 4, 1, 2);
    connect(m_taxFree, &QComboBox::currentIndexChanged, this, &TParaDlg::TaxFreeCBChange);

    m_downloadBtn = new QPushButton(tr("Download"), this);
    m_downloadBtn->setObjectName("DownloadBtn");
    m_downloadBtn->setDefault(true);
    m_saveExitBtn = new QPushButton(tr("Save && Exit"), this);
    m_saveExitBtn->setObjectName("SaveExitBtn");
    connect(m_downloadBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_saveExitBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(clerkBox);
    left->addWidget(ratesBox);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(headerBox);
    right->addWidget(barcodeBox);
    right->addWidget(vatBox);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_downloadBtn);
    buttons->addWidget(m_saveExitBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);
}

QLineEdit* TParaDlg::RateEdit(QWidget* parent, const QString& name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setInputMask(RateMask());
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("0000000") + 12);
    return edit;
}

TParaDlg::~TParaDlg() = default;

void TParaDlg::Load(const ParameterSettings& s)
{
    for (std::size_t i = 0; i < m_header.size(); ++i)
        m_header[i]->setText(FromBytes(*m_codePage, s.Header[i]));
    for (std::size_t i = 0; i < m_clerkName.size(); ++i)
        m_clerkName[i]->setText(FromBytes(*m_codePage, s.ClerkName[i]));
    // The masks follow the separator in force now.
    for (QLineEdit* edit : {m_decRate, m_incRate})
        edit->setInputMask(RateMask());
    for (QLineEdit* edit : m_vat)
        edit->setInputMask(RateMask());
    m_decRate->setText(QString::fromStdString(RateTextForEdit(s.DecRate)));
    m_incRate->setText(QString::fromStdString(RateTextForEdit(s.IncRate)));
    m_printDensity->setValue(static_cast<int>(s.PrintDensity));
    m_paperTypeIndex = s.PaperType == 1 ? 1 : 0;
    const auto radios = m_paperType->findChildren<QRadioButton*>();
    radios[m_paperTypeIndex]->setChecked(true);
    for (std::size_t i = 0; i < m_bcode.size(); ++i)
        m_bcode[i]->setValue(static_cast<int>(s.BCode[i]));
    for (std::size_t i = 0; i < m_vat.size(); ++i)
        m_vat[i]->setText(QString::fromStdString(RateTextForEdit(s.Vat[i])));
    // A stored number outside A..I shows (and is kept as) the default, VAT I.
    const bool knownTaxFree = s.TaxFree >= 0 && s.TaxFree < kVatRates;
    m_taxFree->setCurrentIndex(knownTaxFree ? static_cast<int>(s.TaxFree) : kVatRates - 1);
}

ParameterSettings TParaDlg::Settings() const
{
    ParameterSettings s;
    for (std::size_t i = 0; i < m_header.size(); ++i)
        s.Header[i] = ToBytes(*m_codePage, m_header[i]->text());
    for (std::size_t i = 0; i < m_clerkName.size(); ++i)
        s.ClerkName[i] = ToBytes(*m_codePage, m_clerkName[i]->text());
    // Rate texts as the edits show them, unfilled places as 0.
    s.DecRate = ToBytes(*m_codePage, m_decRate->displayText());
    s.IncRate = ToBytes(*m_codePage, m_incRate->displayText());
    s.PrintDensity = m_printDensity->value();
    s.PaperType = m_paperTypeIndex;
    for (std::size_t i = 0; i < m_bcode.size(); ++i)
        s.BCode[i] = m_bcode[i]->value();
    for (std::size_t i = 0; i < m_vat.size(); ++i)
        s.Vat[i] = ToBytes(*m_codePage, m_vat[i]->displayText());
    s.TaxFree = m_taxFree->currentIndex();
    return s;
}

void TParaDlg::TaxFreeCBChange()
{
    const int taxFree = m_taxFree->currentIndex();
    for (int i = 0; i < kVatRates; ++i)
        m_vat[static_cast<std::size_t>(i)]->setEnabled(VatEditEnabled(i, taxFree));
}

bool TParaDlg::Execute()
{
    IniFile cfg(m_context.Dirs.SystemCfg());
    m_codePage = std::make_unique<CodePage>(ReadCodePage(cfg));
    Load(LoadParameters(cfg));
    TaxFreeCBChange();
    const bool download = exec() == QDialog::Accepted;
    // Every way of closing keeps what the user typed. The download sends what
    // SYSTEM.CFG holds, so it does not start when the file kept the old values.
    if (!SaveParameters(cfg, Settings())) {
        m_ui.ShowMessage(MessageKind::Error, "The parameters could not be saved in SYSTEM.CFG.\n" + cfg.LastError());
        return false;
    }
    return download;
}

} // namespace plu
