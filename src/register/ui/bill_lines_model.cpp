#include "register/ui/bill_lines_model.h"

namespace pos {

BillLinesModel::BillLinesModel(const RowSet& lines, std::vector<GridColumn> columns, Commit commit, QObject* parent)
    : RowSetModel(lines, std::move(columns), parent), lines_(lines), shown_(lines.size()), commit_(std::move(commit))
{
}

bool BillLinesModel::showBill()
{
    const std::size_t now = lines_.size();
    if (now < shown_) {
        beginResetModel();
        shown_ = now;
        endResetModel();
        return true;
    }
    // A merged quantity or a bill discount changes lines already shown.
    if (shown_ > 0)
        emit dataChanged(index(0, 0), index(static_cast<int>(shown_) - 1, columnCount() - 1));
    if (now > shown_) {
        beginInsertRows({}, static_cast<int>(shown_), static_cast<int>(now) - 1);
        shown_ = now;
        endInsertRows();
    }
    return false;
}

int BillLinesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_);
}

void BillLinesModel::setEditing(std::optional<LineField> field) { editing_ = field; }

std::optional<LineField> BillLinesModel::fieldAt(int column) const
{
    const std::vector<GridColumn>& columns = gridColumns();
    if (column < 0 || column >= static_cast<int>(columns.size()))
        return std::nullopt;
    for (LineField field : {LineField::Quantity, LineField::Price, LineField::Discount})
        if (sameName(columns[static_cast<std::size_t>(column)].column, lineFieldColumn(field)))
            return field;
    return std::nullopt;
}

int BillLinesModel::columnOf(LineField field) const
{
    for (int c = 0; c < columnCount(); ++c)
        if (fieldAt(c) == field)
            return c;
    return 0;
}

bool BillLinesModel::editable(int column) const
{
    const std::optional<LineField> field = fieldAt(column);
    return editing_ && field && (*field == LineField::Quantity || *field == *editing_);
}

Qt::ItemFlags BillLinesModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = RowSetModel::flags(index);
    if (index.isValid() && editable(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant BillLinesModel::data(const QModelIndex& index, int role) const
{
    // Lines deleted from the bill stay in the grid until it is told, and are no more to read.
    if (index.isValid() && static_cast<std::size_t>(index.row()) >= lines_.size())
        return {};
    return RowSetModel::data(index, role == Qt::EditRole ? Qt::DisplayRole : role);
}

bool BillLinesModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !editable(index.column()))
        return false;
    const std::optional<LineField> field = fieldAt(index.column());
    if (!commit_(static_cast<std::size_t>(index.row()), *field, value.toString().toStdString()))
        return false;
    // The amount follows the value.
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

}  // namespace pos
