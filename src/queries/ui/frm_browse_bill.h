#pragma once

#include "base/clock.h"
#include "base/row_set.h"
#include "config/working_connection.h"
#include "peripherals/receipt_printing.h"
#include "reports/report_engine.h"
#include "widgets/frm_base.h"

#include <optional>
#include <string>

class QLineEdit;
class QPushButton;

namespace pos {

class SortableGrid;

// "浏览POS单": the saved bills of a time window over the lines of the bill under the
// cursor, and the reprint of that bill's receipt.
class TfrmBrowseBill : public TfrmBase {
    Q_OBJECT
public:
    // modeClock: the working mode's, for the window it opens on. The reprint prints in
    // `receipt`'s context through `report`.
    TfrmBrowseBill(WorkingConnection db, const Clock& modeClock, ReceiptContext receipt, ReportEngine& report,
                   QWidget* parent = nullptr);

    // Enter in a date field: the window the two fields give, or the format message.
    void queryWindow();
    // "打印(F9)".
    void reprint();

protected:
    bool baseKeyDown(QKeyEvent* event) override;

private:
    void loadBills(const std::string& start, const std::string& end);
    void loadLines();

    WorkingConnection db_;
    ReceiptContext receipt_;
    ReportEngine& report_;
    SortableGrid* grdMaster_;
    SortableGrid* grdDetail_;
    QLineEdit* edtStartDate_;
    QLineEdit* edtEndDate_;
    QPushButton* btnPrint_;
    QPushButton* btnExit_;
    RowSet lines_;
    std::optional<std::string> linesBillNo_;  // the bill lines_ belongs to; none after a failed query
};

}  // namespace pos
