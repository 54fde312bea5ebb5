#pragma once

#include "peripherals/customer_display.h"
#include "peripherals/launcher.h"
#include "register/command_interpreter.h"
#include "register/line_editing.h"
#include "base/register_state.h"
#include "register/register_view.h"
#include "widgets/frm_base.h"
#include "reports/ui/qt_report_engine.h"

#include <exception>
#include <optional>

class QLabel;
class QLineEdit;
class QKeyEvent;

namespace pos {

struct Terminal;
class BillLinesModel;
class LineGrid;

// The register window: the bill in progress with its header, lines and totals, the
// input box the cashier works in, and the previous bill's amounts. It stays open from
// start to exit and closes only through the close query. It holds the customer
// display's line from the moment it is shown until the program ends.
class TfrmMain : public TfrmBase, public RegisterView {
    Q_OBJECT
public:
    TfrmMain(Terminal& t, RegisterState& reg, QWidget* parent = nullptr);

    std::string text(EditBox box) const override;
    void setText(EditBox box, const std::string& text) override;
    void focusBox(EditBox box) override;
    void showBillHeader(const BillHeader& header) override;
    void showTotals(const TotalsShown& totals) override;
    void showNetMode() override;
    void showStore() override;
    void showPreviousBill() override;
    void showLines() override;
    void startGridEditing(LineField field) override;
    void endGridEditing() override;
    void charge(Checkout& checkout, const std::string& totalQty) override;
    void payFromCard(VIPCardPayment& payment, const std::string& totalQty) override;
    void showOptions() override;
    void changePassword() override;
    void showShiftTakings() override;
    void showTakingsToday() override;
    void showMemberTotals() override;
    void browseBills() override;
    void queryStock() override;
    std::optional<std::string> chooseHeldBill(const RowSet& holdNumbers) override;
    std::optional<MemberCardRead> readMemberCard() override;
    // The close query; the window closes when it is answered Yes.
    void closeRegister() override;
    void lockTerminal() override;
    void showKeyHelp() override;

    // The end of every error no operation handled while the register runs; operation
    // names what the window was running.
    void handleError(const std::string& operation, const std::exception& error);

public slots:
    // Esc and every other way a dialog is left do nothing here: only "16/" closes.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool baseKeyDown(QKeyEvent* event) override;

private:
    // Keys of the focused control; true when the key is used up.
    bool edtInputKey(QKeyEvent* event);
    bool editBoxKey(QLineEdit* box, QKeyEvent* event);
    bool gridKey(QKeyEvent* event);
    // Leaving a box or the grid: where the focus has to stay.
    void keepFocus(QWidget* old, QWidget* now);
    QLineEdit* box(EditBox which) const;

    QWidget* buildTopPanel();
    QWidget* buildLineGrid();
    QWidget* buildBottomPanel();
    QWidget* buildKeyGuide();

    Terminal& t_;
    RegisterState& reg_;
    DisplayPort display_;
    ProcessLauncher launcher_;
    QtReportEngine report_;
    LineEntry lineEntry_;
    CommandInterpreter interpreter_;
    std::optional<LineField> gridEditing_;
    BillLinesModel* lines_ = nullptr;
    bool closing_ = false;  // the close query was answered Yes

    QLabel* imgLogo_ = nullptr;
    QLabel* lblNetMode_ = nullptr;
    QLabel* lblBillNo_ = nullptr;
    QLabel* lblMachineNo_ = nullptr;
    QLabel* lblClassNo_ = nullptr;
    QLabel* lblOperator_ = nullptr;
    QLabel* lblExeMan_ = nullptr;
    QLabel* lblStore_ = nullptr;
    LineGrid* DBGrid1_ = nullptr;
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
