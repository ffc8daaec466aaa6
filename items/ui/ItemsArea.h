#pragma once
// The main window's data area: the PLU grid and the department grid side by side
// under their captions, with the File commands that act on them.
#include "items/CellTable.h"
#include "shell/AppContext.h"
#include "shell/UserInterface.h"

#include <QWidget>

class QTableView;

namespace plu {

class ItemsArea : public QWidget {
    Q_OBJECT
public:
    ItemsArea(AppContext& context, ItemTables& tables, UserInterface& ui, QWidget* parent = nullptr);

    void NewItemClick() {}
    void OpenItemClick() {}
    void SaveItemClick() {}
    void SaveasItemClick() {}
    void RecyItemClick() {}
    void FontItemClick() {}
    void FillSampleData() {}
    bool CheckActiveGrid() { return true; }
    void RefreshFromTables() {}

signals:
    void titleChanged(const QString& title);

private:
    AppContext& m_context;
    ItemTables& m_tables;
    UserInterface& m_ui;
};

} // namespace plu
