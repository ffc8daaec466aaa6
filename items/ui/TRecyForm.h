#pragma once
// The recycling dialog: RecyTable in a grid of 50 rows. OK commits the cell
// being edited and stores every row back; Cancel leaves RecyTable unchanged.
#include "items/CellTable.h"

#include <QDialog>
#include <string>
#include <vector>

namespace plu {

class CodePage;
class ItemGridView;
class UserInterface;

class TRecyForm : public QDialog {
    Q_OBJECT
public:
    TRecyForm(std::vector<TRecy>& recyTable, const CodePage& codePage, UserInterface& ui, QWidget* parent = nullptr);

    void SetTitles(const std::vector<std::string>& titles);
    // Fills the grid from RecyTable and shows the dialog modally; true after OK.
    bool ShowRecyDialog();
    // Step one of ShowRecyDialog, for showing the dialog without blocking.
    void FillGrid();
    ItemGridView* Grid() const { return m_grid; }

    void accept() override;

private:
    std::vector<TRecy>& m_recyTable;
    CellTable m_cells;
    ItemGridView* m_grid;
};

} // namespace plu
