#pragma once
// The dialog both transfer commands start with: which kinds to move and, for
// PLUs, which range. TDownloadDlg allows one kind at a time, TUploadDlg any
// combination. Each keeps its own range from one use to the next.
#include "shell/AppContext.h"
#include "shell/UserInterface.h"
#include "transfer/TransferCommands.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QSpinBox;

namespace plu {

class TTransferKindDlg : public QDialog {
    Q_OBJECT
public:
    // Runs the dialog with the kind names refilled and unchecked. True on OK,
    // with the checked kinds in Kinds() and the range in From()/To().
    bool Execute();

    std::uint8_t Kinds() const { return m_kinds; }
    int From() const;
    int To() const;
    TransferRequest Request() const { return {m_kinds, From(), To()}; }

    QListWidget* CheckListBox1() const { return m_checkList; }
    QGroupBox* PLURangeGroupBox() const { return m_rangeGroup; }
    QSpinBox* RangeBeginEdit() const { return m_rangeBegin; }
    QSpinBox* RangeEndEdit() const { return m_rangeEnd; }

protected:
    // oneKindOnly: checking an item unchecks the others (download).
    TTransferKindDlg(AppContext& context, UserInterface& ui, bool oneKindOnly, const QString& caption,
                     const QString& rangeLabel, QWidget* parent);
    // The kind names of the dialog, from the (replaceable) texts.
    virtual std::array<std::string, 3> KindNames() const = 0;

    AppContext& m_context;

private:
    void CheckListBox1ClickCheck(QListWidgetItem* item);
    void FormCloseQuery();

    UserInterface& m_ui;
    bool m_oneKindOnly;
    std::uint8_t m_kinds = 0;
    QListWidget* m_checkList = nullptr;
    QGroupBox* m_rangeGroup = nullptr;
    QSpinBox* m_rangeBegin = nullptr;
    QSpinBox* m_rangeEnd = nullptr;
    bool m_filling = false;
};

} // namespace plu
