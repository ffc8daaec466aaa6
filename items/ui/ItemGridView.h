#pragma once
// One item grid: a table view over an ItemTableModel with the grid's editing
// rules. The grid is in navigation mode (cell cursor only) or in edit mode (an
// in-place line editor on the current cell):
//   - a printable key in navigation mode empties the cell, opens the editor and
//     types the key into it (type-over, which also sets Modified of the main grids);
//   - F2 and a double-click open the editor on the text;
//   - typed characters pass AcceptKey; a character the code page cannot hold beeps;
//   - Enter commits and moves to the next column, or to the first column of the
//     next row; Up and Down in edit mode commit first and stay at the edges;
//   - Delete in navigation mode resets the selected block to the column defaults;
//   - leaving a cell commits it; a refused commit beeps, keeps the cursor in the
//     cell in edit mode and cancels the move; the main grids also commit when
//     the focus leaves them and take the focus back when refused;
//   - Tab leaves the grid; dragging a row number moves the row.
#include "items/ItemColumns.h"

#include <QPointer>
#include <QTableView>
#include <string>
#include <vector>

#include <QLineEdit>

namespace plu {

class CodePage;
class ItemTableModel;
class UserInterface;

class ItemGridView : public QTableView {
    Q_OBJECT
public:
    // modified: the flag type-over sets, nullptr for the recycling grid. The
    // main grids (those with a flag) also commit when they lose the focus.
    ItemGridView(GridKind kind, CellTable& table, const CodePage& codePage, UserInterface& ui, bool* modified,
                 QWidget* parent = nullptr);

    ItemTableModel* Model() const { return m_model; }
    GridKind Kind() const;

    // Commits the current cell: accepted, switches to navigation mode; refused,
    // beeps, switches to edit mode and returns false.
    bool LeaveCell();
    void SetEditing(bool on);
    bool IsEditing() const;
    QLineEdit* Editor() const { return m_editor; }
    // Closes the editor without committing (the table is about to be replaced).
    void DropEditor();
    // Puts the cell cursor on a cell without the leave rule.
    void SetCurrentCell(int tableCol, int tableRow);

    // The editor's key handling; true when the key was used or discarded.
    bool EditorKeyPress(QLineEdit* editor, QKeyEvent* event);
    void EditorCreated(QLineEdit* editor);
    // Every change the user makes to a main grid's texts sets Modified.
    void MarkModified();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    bool focusNextPrevChild(bool next) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    bool MayChangeCurrent(const QModelIndex& target);
    void TypeOver(QKeyEvent* event);
    void EnterKey();
    void StepRow(int delta);
    void SelectBlockFromAnchor();
    void MoveApproved(const QModelIndex& target);
    void ResetSelectedBlock();
    void LeaveGrid(bool forward);
    void OnFocusChanged(QWidget* old, QWidget* now);
    void OnRowMoved(int logicalIndex, int oldVisualIndex, int newVisualIndex);
    bool Contains(const QWidget* widget) const;

    ItemTableModel* m_model;
    UserInterface& m_ui;
    bool* m_modified;
    QPointer<QLineEdit> m_editor;
    QString m_textAtEditStart;
    QPersistentModelIndex m_approved; // a move LeaveCell already allowed
    QPersistentModelIndex m_anchor;   // where a Shift block selection starts
    bool m_extending = false;
    bool m_inLeave = false;
};

} // namespace plu
