#pragma once

#include "register/register_view.h"
#include "widgets/row_set_model.h"

#include <functional>
#include <optional>
#include <string>

namespace pos {

// The bill lines in the register's grid, read-only except while the cashier edits the
// quantity and one more field of the lines. A typed value goes to `commit`, which
// answers whether the line took it.
class BillLinesModel : public RowSetModel {
    Q_OBJECT
public:
    using Commit = std::function<bool(std::size_t line, LineField field, const std::string& text)>;

    BillLinesModel(const RowSet& lines, std::vector<GridColumn> columns, Commit commit, QObject* parent = nullptr);

    // Shows the lines as the bill holds them now. Lines added at the end are inserted and
    // the lines shown before are repainted in place, so the grid keeps its columns, their
    // widths and its layout; fewer lines than shown reset the grid. True when it was reset.
    bool showBill();

    // Quantity and `field` become editable (Quantity alone for Quantity); nullopt: none.
    void setEditing(std::optional<LineField> field);
    int columnOf(LineField field) const;

    // The lines shown: the bill may hold other lines until showBill().
    int rowCount(const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    std::optional<LineField> fieldAt(int column) const;
    bool editable(int column) const;

    const RowSet& lines_;
    std::size_t shown_;
    Commit commit_;
    std::optional<LineField> editing_;
};

}  // namespace pos
