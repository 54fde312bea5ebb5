#pragma once

#include "base/row_sort.h"
#include "widgets/row_set_model.h"

#include <QTableView>

#include <vector>

namespace pos {

class MarkedTitlesModel;

// A read-only, whole-row grid over records the caller hands in. Clicking the title of a
// sortable column marks it (upward, then downward, then unmarked); several columns may be
// marked, and the records shown are sorted again after every change, without a new query.
// The titles carry "▲"/"▼" and the mark's order.
class SortableGrid : public QTableView {
    Q_OBJECT
public:
    SortableGrid(std::vector<GridColumn> columns, std::vector<bool> sortable, QWidget* parent = nullptr);

    // New records: the marks stay and apply to them.
    void setRows(RowSet rows);
    const RowSet& shownRows() const { return shown_; }
    const std::vector<SortMark>& marks() const { return marks_; }
    // The shown record under the cursor, or -1.
    int currentRecord() const { return currentIndex().row(); }

private:
    void titleClicked(int section);
    void refresh();

    std::vector<GridColumn> columns_;
    std::vector<bool> sortable_;
    RowSet source_;
    RowSet shown_;
    std::vector<SortMark> marks_;
    MarkedTitlesModel* model_;
};

}  // namespace pos
