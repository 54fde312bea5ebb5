#pragma once

#include "base/row_set.h"
#include "widgets/frm_base.h"

#include <optional>
#include <string>

class QPushButton;
class QTableView;

namespace pos {

class RowSetModel;

// The pick list of held bills by hold number. "确定" (or Enter in the grid) takes the
// grid's current row; "取消" and Esc take none.
class TfrmSelectHaltBill : public TfrmBase {
    Q_OBJECT
public:
    // holdNumbers (column BillNo) stays the caller's while the list is open.
    explicit TfrmSelectHaltBill(const RowSet& holdNumbers, QWidget* parent = nullptr);

    // The hold number taken; nullopt when the list was left without one.
    const std::optional<std::string>& chosen() const { return chosen_; }

protected:
    bool baseKeyDown(QKeyEvent* event) override;

private:
    void btnOKClick();

    const RowSet& holdNumbers_;
    std::optional<std::string> chosen_;
    QTableView* DBGrid1_;
    RowSetModel* model_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
};

}  // namespace pos
