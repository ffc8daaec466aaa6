#pragma once
// The main window's data area: the PLU grid on the left under its raised
// caption, a 2-pixel movable divider, and the department grid in a 400-pixel
// panel on the right. It owns the recycling dialog and carries out the File
// commands, the font command and the sample fill on the item tables.
#include "items/CellTable.h"

#include <QFont>
#include <QWidget>
#include <memory>

class QSplitter;

namespace plu {

struct AppContext;
class CodePage;
class ItemFileCommands;
class ItemFileDialogs;
class ItemGridView;
class RaisedLabel;
class TRecyForm;
class UserInterface;

class ItemsArea : public QWidget {
    Q_OBJECT
public:
    ItemsArea(AppContext& ctx, ItemTables& tables, UserInterface& ui, QWidget* parent = nullptr);
    ~ItemsArea() override;

    ItemGridView* PluGrid() const { return m_pluGrid; }
    ItemGridView* DeptGrid() const { return m_deptGrid; }
    TRecyForm* RecyForm() const { return m_recyForm; }
    QSplitter* Splitter() const { return m_splitter; }
    const CodePage& Codes() const { return *m_codePage; }

    // Replaces the file dialogs (tests answer them without a window).
    void SetFileDialogs(ItemFileDialogs& dialogs);
    QFont GridFont() const;
    // Gives both grids the font and sizes their rows and columns after it.
    void SetGridFont(const QFont& font);
    // Takes the column titles from the program's texts (after the language
    // file was read) and sizes both grids; also done when first shown.
    void ApplyTitles();

public slots:
    void NewItemClick();
    void OpenItemClick();
    void SaveItemClick();
    void SaveasItemClick();
    void RecyItemClick();
    void FontItemClick();
    void FillSampleData();
    // True when no grid has the focus, otherwise whether the grid's cell commits.
    bool CheckActiveGrid();
    // Shows what the transfers wrote into the tables directly.
    void RefreshFromTables();

signals:
    void titleChanged(const QString& title);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SizeGrids();

    AppContext& m_ctx;
    ItemTables& m_tables;
    UserInterface& m_ui;
    std::unique_ptr<CodePage> m_codePage;
    std::unique_ptr<ItemFileDialogs> m_qtDialogs;
    std::unique_ptr<ItemFileCommands> m_commands;
    RaisedLabel* m_pluLabel;
    RaisedLabel* m_deptLabel;
    ItemGridView* m_pluGrid;
    ItemGridView* m_deptGrid;
    QSplitter* m_splitter;
    TRecyForm* m_recyForm;
    bool m_shown = false;
};

} // namespace plu
