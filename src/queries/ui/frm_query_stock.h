#pragma once

#include "base/row_set.h"
#include "config/terminal.h"
#include "widgets/frm_base.h"

class QComboBox;
class QLineEdit;

namespace pos {

class SortableGrid;

// "查库存": the stock on hand of one goods item or all, in one store or all, from the
// back office.
class TfrmQueryStock : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmQueryStock(Terminal& t, QWidget* parent = nullptr);

    // Enter in the goods or store field.
    void runQuery();

protected:
    bool baseKeyDown(QKeyEvent* event) override;

private:
    void tell(const char* text);

    Terminal& t_;
    QLineEdit* edtCode_;
    QComboBox* cmbStore_;
    SortableGrid* grdList_;
    RowSet stores_;
};

}  // namespace pos
