#include "items/ui/ItemsArea.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace plu {

ItemsArea::ItemsArea(AppContext& context, ItemTables& tables, UserInterface& ui, QWidget* parent)
    : QWidget(parent), m_context(context), m_tables(tables), m_ui(ui)
{
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    auto makeSide = [&](const QString& caption, const char* name) {
        auto* side = new QWidget(splitter);
        auto* layout = new QVBoxLayout(side);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* label = new QLabel(caption, side);
        label->setAlignment(Qt::AlignCenter);
        auto* grid = new QTableView(side);
        grid->setObjectName(name);
        layout->addWidget(label);
        layout->addWidget(grid);
        return side;
    };
    makeSide(tr("PLU"), "PLUGrid");
    auto* dept = makeSide(tr("Department"), "DeptmentGrid");
    dept->setFixedWidth(400);
    splitter->setHandleWidth(2);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
}

} // namespace plu
