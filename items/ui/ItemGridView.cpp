#include "items/ui/ItemGridView.h"

#include "items/ItemTableOps.h"
#include "items/ui/GridLook.h"
#include "items/ui/ItemTableModel.h"
#include "shell/UserInterface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QValidator>

namespace plu {
namespace {

// Asks the grid before the current cell changes, whoever changes it (keys,
// mouse, header clicks).
class GuardedSelectionModel : public QItemSelectionModel {
public:
    GuardedSelectionModel(QAbstractItemModel* model, std::function<bool(const QModelIndex&)> guard, QObject* parent)
        : QItemSelectionModel(model, parent), m_guard(std::move(guard))
    {
    }
    void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override
    {
        if (m_guard && !m_guard(index))
            return;
        QItemSelectionModel::setCurrentIndex(index, command);
    }

private:
    std::function<bool(const QModelIndex&)> m_guard;
};

// Title row and row-number column, painted as fixed cells.
class FixedHeaderView : public QHeaderView {
public:
    using QHeaderView::QHeaderView;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.rect = rect;
        option.section = logicalIndex;
        option.state |= QStyle::State_Raised;
        style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
        const QString text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        PLUGridDrawCell(*painter, rect.adjusted(1, 0, -1, 0), text, palette());
    }
};

// Only text the code page can hold, and no control characters (a TAB or line
// break would split the record in the item files).
class CodePageValidator : public QValidator {
public:
    CodePageValidator(const ItemTableModel& model, QObject* parent) : QValidator(parent), m_model(model) {}
    State validate(QString& input, int&) const override
    {
        for (QChar c : input)
            if (c.unicode() < 32 || c.unicode() == 127)
                return Invalid;
        return m_model.ToBytes(input) ? Acceptable : Invalid;
    }

private:
    const ItemTableModel& m_model;
};

// The in-place editor writes every change straight into the cell: the cell
// texts are the data, and the key filter and the commit read them there.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(ItemGridView* view, ItemTableModel* model) : QStyledItemDelegate(view), m_view(view), m_model(model) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setValidator(new CodePageValidator(*m_model, editor));
        QPersistentModelIndex cell(index);
        QObject::connect(editor, &QLineEdit::textChanged, editor, [model = m_model, cell](const QString& text) {
            if (cell.isValid())
                model->SetCellText(cell, text);
        });
        QObject::connect(editor, &QLineEdit::textEdited, editor, [view = m_view] { view->MarkModified(); });
        m_view->EditorCreated(editor);
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* line = static_cast<QLineEdit*>(editor);
        const QString text = m_model->CellText(index);
        if (line->text() != text)
            line->setText(text);
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        m_model->SetCellText(index, static_cast<QLineEdit*>(editor)->text());
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QLineEdit*>(object);
        if (editor == nullptr)
            return false;
        if (event->type() == QEvent::KeyPress)
            return m_view->EditorKeyPress(editor, static_cast<QKeyEvent*>(event));
        // Leaving the editor is the grid's business (see OnFocusChanged).
        return false;
    }

private:
    ItemGridView* m_view;
    ItemTableModel* m_model;
};

bool IsPrintable(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c.unicode() < 32 || c.unicode() == 127)
            return false;
    return true;
}

bool IsMoveKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

} // namespace

ItemGridView::ItemGridView(GridKind kind, CellTable& table, const CodePage& codePage, UserInterface& ui, bool* modified,
                           QWidget* parent)
    : QTableView(parent), m_model(new ItemTableModel(kind, table, codePage, this)), m_ui(ui), m_modified(modified)
{
    setHorizontalHeader(new FixedHeaderView(Qt::Horizontal, this));
    setVerticalHeader(new FixedHeaderView(Qt::Vertical, this));
    setModel(m_model);
    setSelectionModel(new GuardedSelectionModel(
        m_model, [this](const QModelIndex& target) { return MayChangeCurrent(target); }, this));
    setItemDelegate(new CellDelegate(this, m_model));
    setEditTriggers(NoEditTriggers);
    setSelectionMode(ContiguousSelection);
    setSelectionBehavior(SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);

    QHeaderView* cols = horizontalHeader();
    cols->setSectionResizeMode(QHeaderView::Interactive);
    cols->setSectionsClickable(false);
    cols->setHighlightSections(false);
    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Interactive);
    rows->setHighlightSections(false);
    if (kind == GridKind::Recy) {
        rows->hide(); // no row-number column, so no row to drag by
    } else {
        rows->setSectionsMovable(true);
        connect(rows, &QHeaderView::sectionMoved, this, &ItemGridView::OnRowMoved);
    }

    // The corner cell shows title 0 ("NO.") and selects nothing.
    setCornerButtonEnabled(false);
    if (auto* corner = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly))
        corner->installEventFilter(this);

    if (m_modified != nullptr)
        connect(qApp, &QApplication::focusChanged, this, &ItemGridView::OnFocusChanged);
    setCurrentIndex(m_model->index(0, 0));
}

GridKind ItemGridView::Kind() const { return m_model->Kind(); }

bool ItemGridView::eventFilter(QObject* watched, QEvent* event)
{
    auto* corner = qobject_cast<QAbstractButton*>(watched);
    if (corner != nullptr && event->type() == QEvent::Paint) {
        QPainter painter(corner);
        QStyleOptionHeader option;
        option.initFrom(corner);
        option.state |= QStyle::State_Enabled | QStyle::State_Raised;
        option.rect = corner->rect();
        style()->drawControl(QStyle::CE_HeaderSection, &option, &painter, corner);
        painter.setFont(font());
        PLUGridDrawCell(painter, corner->rect().adjusted(1, 0, -1, 0), m_model->Title(0), palette());
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

bool ItemGridView::Contains(const QWidget* widget) const
{
    return widget != nullptr && (widget == this || isAncestorOf(widget));
}

bool ItemGridView::IsEditing() const { return m_editor != nullptr && state() == EditingState; }

void ItemGridView::MarkModified()
{
    if (m_modified != nullptr)
        *m_modified = true;
}

void ItemGridView::EditorCreated(QLineEdit* editor)
{
    m_editor = editor;
    m_textAtEditStart = m_model->CellText(currentIndex());
}

void ItemGridView::SetEditing(bool on)
{
    if (on) {
        if (!IsEditing() && currentIndex().isValid()) {
            scrollTo(currentIndex());
            edit(currentIndex());
        }
        if (m_editor)
            m_editor->setFocus();
    } else if (m_editor) {
        QWidget* editor = m_editor;
        m_editor = nullptr;
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void ItemGridView::DropEditor() { SetEditing(false); }

void ItemGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == m_editor)
        m_editor = nullptr;
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    (void)hint;
}

bool ItemGridView::LeaveCell()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || m_inLeave)
        return true;
    m_inLeave = true;
    if (m_editor)
        m_model->SetCellText(current, m_editor->text());
    const bool accepted = CommitCell(m_model->Kind(), m_model->Table(), m_model->TableCol(current),
                                     m_model->TableRow(current));
    if (accepted) {
        SetEditing(false);
    } else {
        m_ui.Beep();
        SetEditing(true);
    }
    m_inLeave = false;
    return accepted;
}

bool ItemGridView::MayChangeCurrent(const QModelIndex& target)
{
    const QModelIndex current = currentIndex();
    if (m_inLeave || !current.isValid() || !target.isValid() || target == current)
        return true;
    if (m_approved.isValid() && target == m_approved)
        return true;
    return LeaveCell();
}

QModelIndex ItemGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex target = QTableView::moveCursor(action, modifiers);
    const QModelIndex current = currentIndex();
    if (target.isValid() && current.isValid() && target != current) {
        if (!LeaveCell())
            return current;
        m_approved = target;
    }
    return target;
}

void ItemGridView::MoveApproved(const QModelIndex& target)
{
    m_approved = target;
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    m_approved = QPersistentModelIndex();
    scrollTo(target);
}

void ItemGridView::SetCurrentCell(int tableCol, int tableRow)
{
    DropEditor();
    MoveApproved(m_model->index(tableRow - 1, tableCol - m_model->FirstCol()));
}

void ItemGridView::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        EnterKey();
        return;
    }
    if (key == Qt::Key_F2) {
        SetEditing(true);
        return;
    }
    if (!IsEditing()) {
        if (key == Qt::Key_Delete) {
            ResetSelectedBlock();
            return;
        }
        if (IsPrintable(event)) {
            TypeOver(event);
            return;
        }
    }
    if (IsMoveKey(key)) {
        m_extending = event->modifiers() & Qt::ShiftModifier;
        QTableView::keyPressEvent(event);
        if (m_extending)
            SelectBlockFromAnchor();
        m_extending = false;
        m_approved = QPersistentModelIndex();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

bool ItemGridView::EditorKeyPress(QLineEdit* editor, QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EnterKey();
        return true;
    case Qt::Key_Up:
        StepRow(-1);
        return true;
    case Qt::Key_Down:
        StepRow(1);
        return true;
    case Qt::Key_F2:
        return true;
    case Qt::Key_Escape:
        editor->setText(m_textAtEditStart);
        return true;
    default:
        break;
    }
    if (!IsPrintable(event))
        return false;
    auto typed = m_model->ToBytes(event->text());
    if (!typed) {
        m_ui.Beep();
        return true;
    }
    const auto current = m_model->ToBytes(editor->text()).value_or(std::string());
    const int col = m_model->TableCol(currentIndex());
    for (char key : *typed)
        if (!AcceptKey(m_model->Kind(), col, current, editor->hasSelectedText(), key))
            return true;
    return false;
}

void ItemGridView::TypeOver(QKeyEvent* event)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return;
    MarkModified();
    m_model->SetCellText(current, QString());
    SetEditing(true);
    if (m_editor) {
        QKeyEvent typed(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat(),
                        static_cast<ushort>(event->count()));
        QCoreApplication::sendEvent(m_editor, &typed);
    }
}

void ItemGridView::EnterKey()
{
    if (!LeaveCell())
        return;
    const QModelIndex current = currentIndex();
    int row = current.row();
    int col = current.column() + 1;
    if (col >= m_model->columnCount()) {
        if (row + 1 >= m_model->rowCount())
            return;
        ++row;
        col = 0;
    }
    MoveApproved(m_model->index(row, col));
}

void ItemGridView::StepRow(int delta)
{
    if (!LeaveCell())
        return;
    const QModelIndex current = currentIndex();
    const int row = current.row() + delta;
    if (row < 0 || row >= m_model->rowCount())
        return;
    MoveApproved(m_model->index(row, current.column()));
}

void ItemGridView::ResetSelectedBlock()
{
    QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty() && currentIndex().isValid())
        selection.select(currentIndex(), currentIndex());
    const int first = m_model->FirstCol();
    for (const QItemSelectionRange& range : selection)
        ResetSelection(m_model->Kind(), m_model->Table(),
                       {range.left() + first, range.top() + 1, range.right() + first, range.bottom() + 1});
    MarkModified();
}

bool ItemGridView::focusNextPrevChild(bool next)
{
    LeaveGrid(next);
    return true;
}

void ItemGridView::LeaveGrid(bool forward)
{
    // The next control in the window's tab order that is not part of this grid.
    QWidget* candidate = this;
    for (;;) {
        candidate = forward ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (candidate == nullptr || candidate == this)
            return;
        if (Contains(candidate) || candidate->window() != window())
            continue;
        if (candidate->isVisible() && candidate->isEnabled() && (candidate->focusPolicy() & Qt::TabFocus)
            && candidate->focusProxy() == nullptr) {
            candidate->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

void ItemGridView::OnFocusChanged(QWidget* old, QWidget* now)
{
    if (!Contains(old) || now == nullptr || Contains(now) || now->window() != window())
        return;
    if (!LeaveCell())
        QTimer::singleShot(0, this, [this] {
            if (m_editor)
                m_editor->setFocus();
            else
                setFocus();
        });
}

void ItemGridView::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex target = indexAt(event->position().toPoint());
    const QModelIndex current = currentIndex();
    if (target.isValid() && current.isValid() && target != current) {
        if (!LeaveCell()) {
            event->accept();
            return;
        }
        m_approved = target;
    }
    m_extending = event->modifiers() & Qt::ShiftModifier;
    QTableView::mousePressEvent(event);
    if (m_extending)
        SelectBlockFromAnchor();
    m_extending = false;
    m_approved = QPersistentModelIndex();
}

void ItemGridView::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging a block keeps its start as the anchor.
    m_extending = event->buttons() & Qt::LeftButton;
    QTableView::mouseMoveEvent(event);
    m_extending = false;
}

void ItemGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_extending)
        m_anchor = current;
}

void ItemGridView::SelectBlockFromAnchor()
{
    // The block always spans from the cell where the cursor was before Shift
    // was held, also when the cursor got there by Enter or a program move.
    if (m_anchor.isValid() && currentIndex().isValid())
        selectionModel()->select(QItemSelection(m_anchor, currentIndex()), QItemSelectionModel::ClearAndSelect);
}

void ItemGridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QModelIndex target = indexAt(event->position().toPoint());
    if (target.isValid() && target == currentIndex())
        SetEditing(true);
    event->accept();
}

void ItemGridView::OnRowMoved(int, int oldVisualIndex, int newVisualIndex)
{
    // Rows keep their visual order; the texts move instead, so the moved row
    // takes the number of the place it was dropped at.
    QHeaderView* rows = verticalHeader();
    {
        const QSignalBlocker blocker(rows);
        rows->moveSection(newVisualIndex, oldVisualIndex);
    }
    if (!LeaveCell())
        return;
    MoveRow(m_model->Table(), oldVisualIndex + 1, newVisualIndex + 1);
    if (oldVisualIndex != newVisualIndex)
        MarkModified();
    const QModelIndex current = currentIndex();
    MoveApproved(m_model->index(newVisualIndex, current.isValid() ? current.column() : 0));
}

} // namespace plu
