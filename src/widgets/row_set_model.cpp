#include "widgets/row_set_model.h"

#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>

namespace pos {

int cellWidthFor(const QTableView& view, const QString& text)
{
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.font = view.font();
    option.text = text;
    option.features = QStyleOptionViewItem::HasDisplay;
    const QSize size = view.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &view);
    return size.width() + (view.showGrid() ? 1 : 0);
}

RowSetModel::RowSetModel(const RowSet& rows, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows), columns_(std::move(columns))
{
}

void RowSetModel::reload()
{
    beginResetModel();
    endResetModel();
}

void RowSetModel::applyWidths(QTableView& view) const
{
    // Narrow filler columns keep their width too.
    view.horizontalHeader()->setMinimumSectionSize(1);
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c].width > 0)
            view.setColumnWidth(static_cast<int>(c), columns_[c].width);
}

int RowSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RowSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant RowSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const GridColumn& column = columns_[static_cast<std::size_t>(index.column())];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.alignment);
    if (role != Qt::DisplayRole || column.column.empty())
        return {};
    auto c = rows_.columns().find(column.column);
    if (!c)
        return {};
    return QString::fromStdString(rows_.row(static_cast<std::size_t>(index.row()))[*c].toString());
}

QVariant RowSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= static_cast<int>(columns_.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    return columns_[static_cast<std::size_t>(section)].title;
}

}  // namespace pos
