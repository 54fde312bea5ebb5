#pragma once

#include "base/row_set.h"
#include "config/terminal.h"
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
    TfrmBrowseBill(Terminal& t, ReportEngine& report, std::string programDir, QWidget* parent = nullptr);

    // Enter in a date field: the window the two fields give, or the format message.
    void queryWindow();
    // "打印(F9)".
    void reprint();

protected:
    bool baseKeyDown(QKeyEvent* event) override;

private:
    void loadBills(const std::string& start, const std::string& end);
    void loadLines();

    Terminal& t_;
    ReportEngine& report_;
    std::string programDir_;
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
