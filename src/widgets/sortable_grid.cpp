#include "widgets/sortable_grid.h"

#include <QHeaderView>

#include <utility>

namespace pos {

// The titles with the sort marks in them.
class MarkedTitlesModel : public RowSetModel {
public:
    using RowSetModel::RowSetModel;
    std::vector<QString> titles;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
            && section < static_cast<int>(titles.size()))
            return titles[static_cast<std::size_t>(section)];
        return RowSetModel::headerData(section, orientation, role);
    }
};

SortableGrid::SortableGrid(std::vector<GridColumn> columns, std::vector<bool> sortable, QWidget* parent)
    : QTableView(parent), columns_(std::move(columns)), sortable_(std::move(sortable))
{
    model_ = new MarkedTitlesModel(shown_, columns_, this);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    // Alternate row colours keep a wide row readable across the grid.
    setAlternatingRowColors(true);
    horizontalHeader()->setSectionsClickable(true);
    model_->applyWidths(*this);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &SortableGrid::titleClicked);
}

void SortableGrid::setRows(RowSet rows)
{
    source_ = std::move(rows);
    refresh();
    if (model_->rowCount() > 0)
        setCurrentIndex(model_->index(0, 0));
}

void SortableGrid::titleClicked(int section)
{
    const auto s = static_cast<std::size_t>(section);
    if (s >= columns_.size() || s >= sortable_.size() || !sortable_[s] || columns_[s].column.empty())
        return;
    ToggleSortMark(marks_, columns_[s].column);
    const int row = currentIndex().row();
    refresh();
    if (row >= 0 && model_->rowCount() > 0)
        setCurrentIndex(model_->index(0, 0));
}

void SortableGrid::refresh()
{
    // Records without the columns yet (before the first query) are shown as they are.
    bool haveColumns = true;
    for (const SortMark& mark : marks_)
        haveColumns = haveColumns && source_.columns().find(mark.column).has_value();
    shown_ = haveColumns ? SortedRows(source_, marks_) : source_;
    model_->titles.clear();
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        QString title = columns_[c].title;
        for (std::size_t m = 0; m < marks_.size(); ++m) {
            if (marks_[m].column == columns_[c].column)
                title += (marks_[m].ascending ? QStringLiteral("▲") : QStringLiteral("▼")) + QString::number(m + 1);
        }
        model_->titles.push_back(title);
    }
    model_->reload();
}

}  // namespace pos
