#include "items/ui/ItemTableModel.h"

#include "shell/CodePage.h"

#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace plu {

ItemTableModel::ItemTableModel(GridKind kind, CellTable& table, const CodePage& codePage, QObject* parent)
    : QAbstractTableModel(parent), m_kind(kind), m_table(table), m_codePage(codePage)
{
    // The table may outlive the model or die before it (the main window's
    // tables go before its child widgets), so the hook checks and the
    // destructor leaves the table alone.
    m_table.OnCellChanged = [model = QPointer<ItemTableModel>(this)](int col, int row) {
        if (model)
            model->CellChanged(col, row);
    };
}

ItemTableModel::~ItemTableModel() = default;

void ItemTableModel::SetTitles(std::vector<std::string> titles)
{
    m_titles = std::move(titles);
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QString ItemTableModel::Title(int tableCol) const
{
    if (tableCol < 0 || tableCol >= static_cast<int>(m_titles.size()))
        return {};
    return QString::fromStdString(m_titles[static_cast<std::size_t>(tableCol)]);
}

QString ItemTableModel::CellText(const QModelIndex& index) const
{
    const std::string& bytes = m_table.Cell(TableCol(index), TableRow(index));
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes) {
        const char32_t cp = m_codePage.CodePointOf(static_cast<unsigned char>(c));
        if (cp < 0x10000) {
            text.append(QChar(static_cast<char16_t>(cp)));
        } else {
            const char32_t both[1] = {cp};
            text.append(QString::fromUcs4(both, 1));
        }
    }
    return text;
}

std::optional<std::string> ItemTableModel::ToBytes(const QString& text) const
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (char32_t cp : text.toUcs4()) {
        auto byte = m_codePage.ByteOf(cp);
        if (!byte)
            return std::nullopt;
        bytes.push_back(*byte);
    }
    return bytes;
}

bool ItemTableModel::SetCellText(const QModelIndex& index, const QString& text)
{
    auto bytes = ToBytes(text);
    if (!bytes || !index.isValid())
        return false;
    m_table.SetCell(TableCol(index), TableRow(index), std::move(*bytes));
    return true;
}

void ItemTableModel::RefreshAll()
{
    m_dirtyTop = 0;
    m_dirtyBottom = rowCount() - 1;
    m_dirtyLeft = 0;
    m_dirtyRight = columnCount() - 1;
    m_flushPending = false;
    Flush();
}

void ItemTableModel::CellChanged(int col, int row)
{
    const int r = row - 1;
    const int c = col - FirstCol();
    if (r < 0 || c < 0)
        return;
    if (m_dirtyBottom < m_dirtyTop) {
        m_dirtyTop = m_dirtyBottom = r;
        m_dirtyLeft = m_dirtyRight = c;
    } else {
        m_dirtyTop = std::min(m_dirtyTop, r);
        m_dirtyBottom = std::max(m_dirtyBottom, r);
        m_dirtyLeft = std::min(m_dirtyLeft, c);
        m_dirtyRight = std::max(m_dirtyRight, c);
    }
    if (!m_flushPending) {
        m_flushPending = true;
        QTimer::singleShot(0, this, [this] {
            m_flushPending = false;
            Flush();
        });
    }
}

void ItemTableModel::Flush()
{
    if (m_dirtyBottom < m_dirtyTop)
        return;
    const QModelIndex topLeft = index(m_dirtyTop, m_dirtyLeft);
    const QModelIndex bottomRight = index(m_dirtyBottom, m_dirtyRight);
    m_dirtyBottom = m_dirtyTop - 1;
    emit dataChanged(topLeft, bottomRight);
}

int ItemTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.RowCount() - 1;
}

int ItemTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table.ColCount() - FirstCol();
}

QVariant ItemTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return CellText(index);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

bool ItemTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole)
        return false;
    return SetCellText(index, value.toString());
}

QVariant ItemTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return Title(section + FirstCol());
    return QString::number(section + 1);
}

Qt::ItemFlags ItemTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

} // namespace plu
