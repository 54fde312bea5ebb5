#pragma once

#include "base/person.h"
#include "config/working_connection.h"
#include "queries/stock_query.h"
#include "widgets/frm_base.h"

class QComboBox;
class QLineEdit;

namespace pos {

class SortableGrid;

// "查库存": the stock on hand of one goods item or all, in one store or all, from the
// back office; online only. The selling store (sellingStore, its name) is proposed.
class TfrmQueryStock : public TfrmBase {
    Q_OBJECT
public:
    TfrmQueryStock(WorkingConnection db, Person& person, const std::string& sellingStore, QWidget* parent = nullptr);

    // Enter in the goods or store field.
    void runQuery();

protected:
    bool baseKeyDown(QKeyEvent* event) override;

private:
    void tell(const char* text);

    WorkingConnection db_;
    Person& person_;
    QLineEdit* edtCode_;
    QComboBox* cmbStore_;
    SortableGrid* grdList_;
    std::vector<StockStore> stores_;
};

}  // namespace pos
