#pragma once
// TDataDlg: asks for the range of the raw memory upload. What was typed stays
// from one use to the next within a run.
#include "link/DataRangeUpload.h"
#include "shell/UserInterface.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;

namespace plu {

class TDataDlg : public QDialog {
    Q_OBJECT
public:
    explicit TDataDlg(UserInterface& ui, QWidget* parent = nullptr);

    // Shows the dialog modally with caption. On OK takes the base address
    // (hexadecimal), the page count (decimal) and the memory into Range; a bad
    // number beeps and gives false, as Cancel does.
    bool Execute(const QString& caption);

    DataRange Range;

    QLineEdit* Edit1() const { return m_edit1; }
    QLineEdit* Edit2() const { return m_edit2; }
    QButtonGroup* RadioGroup1() const { return m_radioGroup1; }

private:
    UserInterface& m_ui;
    QLineEdit* m_edit1 = nullptr;
    QLineEdit* m_edit2 = nullptr;
    QButtonGroup* m_radioGroup1 = nullptr;
};

} // namespace plu
