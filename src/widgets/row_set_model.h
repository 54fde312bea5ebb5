#pragma once

#include "base/row_set.h"

#include <QAbstractTableModel>

#include <vector>

class QTableView;

namespace pos {

// One grid column: its title, the record column it shows (empty for a filler column),
// its width in pixels (0: the view decides) and the alignment of its cells.
struct GridColumn {
    QString title;
    std::string column;
    int width = 0;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// The width a column of the view needs to show the text whole in its cells, in the
// view's font and style, grid line included.
int cellWidthFor(const QTableView& view, const QString& text);

// A read-only table over records held in memory. The records stay the caller's; after
// changing them the caller calls reload().
class RowSetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RowSetModel(const RowSet& rows, std::vector<GridColumn> columns, QObject* parent = nullptr);

    void reload();
    // Column widths and titles onto a view showing this model.
    void applyWidths(QTableView& view) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    const std::vector<GridColumn>& gridColumns() const { return columns_; }

private:
    const RowSet& rows_;
    std::vector<GridColumn> columns_;
};

}  // namespace pos
