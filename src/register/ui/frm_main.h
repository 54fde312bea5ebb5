#pragma once

#include "register/new_bill.h"
#include "register/refresh_totals.h"
#include "register/register_state.h"
#include "register/ui/frm_base.h"

#include <exception>

class QLabel;
class QLineEdit;
class QTableView;

namespace pos {

struct Terminal;
class RowSetModel;

// The register window: the bill in progress with its header, lines and totals, the
// input box the cashier works in, and the previous bill's amounts. It stays open from
// start to exit and closes only through the close query.
class TfrmMain : public TfrmBase {
    Q_OBJECT
public:
    TfrmMain(Terminal& t, RegisterState& reg, QWidget* parent = nullptr);

    void showBillHeader(const BillHeader& header);
    void showTotals(const TotalsShown& totals);
    void showNetMode();
    void showStore();
    void showPreviousBill();
    // After the lines of the bill changed.
    void showLines();

    // The end of every error no operation handled while the register runs.
    void handleError(const std::exception& error);

public slots:
    // Leave the program: asks the close query.
    void closeRegister() { close(); }
    // Every other way of closing the dialog goes through the close query as well.
    void reject() override { close(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool baseKeyDown(QKeyEvent* event) override;

private:
    // Enter in the input box: for now the totals are refreshed and the box emptied.
    void edtInputEnter();

    QWidget* buildTopPanel();
    QWidget* buildLineGrid();
    QWidget* buildBottomPanel();
    QWidget* buildKeyGuide();

    Terminal& t_;
    RegisterState& reg_;
    RowSetModel* lines_ = nullptr;

    QLabel* imgLogo_ = nullptr;
    QLabel* lblNetMode_ = nullptr;
    QLabel* lblBillNo_ = nullptr;
    QLabel* lblMachineNo_ = nullptr;
    QLabel* lblClassNo_ = nullptr;
    QLabel* lblOperator_ = nullptr;
    QLabel* lblExeMan_ = nullptr;
    QLabel* lblStore_ = nullptr;
    QTableView* DBGrid1_ = nullptr;
    QLineEdit* edtInput_ = nullptr;
    QLineEdit* edtPrice_ = nullptr;
    QLineEdit* edtQuantity_ = nullptr;
    QLineEdit* edtDiscount_ = nullptr;
    QLineEdit* edtAmount_ = nullptr;
    QLabel* lblPRealAmount_ = nullptr;
    QLabel* lblPClientAmount_ = nullptr;
    QLabel* lblPChangeAmount_ = nullptr;
    QLabel* lblVIPCardNo_ = nullptr;
    QLabel* lblTotalQty_ = nullptr;
};

}  // namespace pos
