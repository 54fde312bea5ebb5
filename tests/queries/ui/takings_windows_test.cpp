#include "queries/ui/frm_look_total_amount.h"
#include "queries/ui/frm_total_amount.h"

#include "support/golden_file.h"
#include "support/server_clock_span.h"
#include "support/signed_on_terminal.h"
#include "support/temp_dir.h"
#include "support/ui/window_errors_to.h"
#include "support/ui/window_keys.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace pos {
namespace {

using test::press;
using test::type;

const char* const kInsertBill = "insert into PosBill(BillNo,BillDate,OperatorId,Amount,RealAmount,CashAmount,CardAmount1,"
                                "CardAmount2,CardAmount3) values($1,$2,$3,$4,$5,$6,$7,$8,$9)";

// The cashier 1003 working offline, whose clock says 2024-03-15 10:30.
struct OfflineCashier : test::SignedOnTerminal {
    OfflineCashier()
    {
        state.OperatorCode = "1003";
        state.NetMode = Offline;
    }
};

// The takings window of that cashier, the receipt printer at LPT1.
class TotalAmountWindowTest : public ::testing::Test {
protected:
    TotalAmountWindowTest()
    {
        Database& local = f_.side(Offline);
        local.execute(kInsertBill, {"B1", "2024-03-15 08:00:00", test::kCashier, 100, 100, 60, 20, 10, 10});
        local.execute(kInsertBill, {"B2", "2024-03-15 10:15:30", test::kCashier, 50.5, 50.5, 50.5, 0, 0, 0});
        local.execute(kInsertBill, {"B3", "2024-03-15 09:00:00", 4, 1000, 1000, 1000, 0, 0, 0});
        f_.settings.ini().write(kPortsSection, "LPT1", printer());
        f_.settings.setOption("PrintPort", "LPT1");
        f_.settings.setOption("FooterNum", "0");
    }
    void SetUp() override { ASSERT_TRUE(test::showActive(dlg_)); }

    std::string printer() const { return f_.dir.file("printer-LPT1.txt"); }
    QLineEdit* start() { return test::control<QLineEdit>(dlg_, "edtStartTime"); }
    QLineEdit* end() { return test::control<QLineEdit>(dlg_, "edtEndTime"); }
    // A masked field emptied and typed digit by digit, as the cashier does.
    void retype(QLineEdit* field, const QString& digits)
    {
        field->setFocus();
        field->clear();
        field->setCursorPosition(0);
        type(dlg_, digits);
    }

    OfflineCashier f_;
    TfrmTotalAmount dlg_{{f_.dm, f_.state, f_.settings, f_.person}};
};

TEST_F(TotalAmountWindowTest, OpensOnTodayFromMidnightToNow)
{
    EXPECT_EQ(dlg_.windowTitle(), QStringLiteral("统计收银金额"));
    EXPECT_EQ(start()->text(), QStringLiteral("2024-03-15 00:00"));
    EXPECT_EQ(end()->text(), QStringLiteral("2024-03-15 10:30"));
    EXPECT_EQ(start()->inputMask().left(16), QStringLiteral("9999-99-99 99:99"));
    EXPECT_EQ(end()->inputMask().left(16), QStringLiteral("9999-99-99 99:99"));
    EXPECT_EQ(dlg_.focusWidget(), start());
    bool dash = false;
    for (QLabel* label : dlg_.findChildren<QLabel*>())
        dash = dash || label->text() == QStringLiteral("－");
    EXPECT_TRUE(dash);
}

TEST_F(TotalAmountWindowTest, EnterInTheEndFieldPrintsTheTypedWindowAndCloses)
{
    retype(start(), QStringLiteral("202403151015"));
    EXPECT_EQ(start()->text(), QStringLiteral("2024-03-15 10:15"));
    press(dlg_, Qt::Key_Return);
    ASSERT_EQ(dlg_.focusWidget(), end());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(printer()))) << "Enter in the start field only moves on";
    EXPECT_TRUE(dlg_.isVisible());

    retype(end(), QStringLiteral("202403151015"));
    press(dlg_, Qt::Key_Return);

    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_EQ(dlg_.result(), QDialog::Accepted);
    EXPECT_TRUE(f_.person.messages.empty());
    EXPECT_EQ(test::readFile(printer()), test::readGolden("queries/golden/shift_receipt/one_minute_no_footer.txt"));
}

TEST_F(TotalAmountWindowTest, ABadFieldOrAMissingPortKeepsTheWindowOpen)
{
    const struct {
        const char* name;
        QString start;
        QString end;
        const char* printPort;
        const char* message;
        const char* focused;
    } cases[] = {
        {"bad start", QStringLiteral("202413150000"), QStringLiteral("202403152359"), "LPT1", "输入的时间格式不正确！",
         "edtStartTime"},
        {"half-typed end", QStringLiteral("202403150000"), QStringLiteral("2024031523"), "LPT1",
         "输入的时间格式不正确！", "edtEndTime"},
        {"no printer port", QStringLiteral("202403150000"), QStringLiteral("202403152359"), "", "没有设置打印机所接端口！",
         "edtEndTime"},
    };
    for (const auto& c : cases) {
        f_.person.messages.clear();
        f_.settings.setOption("PrintPort", c.printPort);
        retype(start(), c.start);
        retype(end(), c.end);
        press(dlg_, Qt::Key_Return);

        EXPECT_TRUE(dlg_.isVisible()) << c.name;
        EXPECT_EQ(f_.person.messageTexts(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(dlg_.focusWidget()->objectName(), QString::fromLatin1(c.focused)) << c.name;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(printer()))) << c.name;
    }
}

TEST_F(TotalAmountWindowTest, APrinterFailureIsReportedAndTheWindowStaysOpen)
{
    f_.settings.ini().write(kPortsSection, "LPT1", "/dev/pos-test-no-such-printer");
    std::vector<std::string> reported;
    const test::WindowErrorsTo handler([&](const std::string& operation, const std::exception&) {
        reported.push_back(operation);
    });
    end()->setFocus();
    press(dlg_, Qt::Key_Return);
    EXPECT_EQ(reported, std::vector<std::string>{"统计收银金额"});
    EXPECT_TRUE(dlg_.isVisible());
}

TEST_F(TotalAmountWindowTest, EscapeClosesWithoutPrinting)
{
    press(dlg_, Qt::Key_Escape);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_EQ(dlg_.result(), QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(printer())));
}

// The day's totals window of the cashier, online.
class LookTotalAmountWindowTest : public ::testing::Test {
protected:
    void show() { ASSERT_TRUE(test::showActive(dlg_)); }
    QString field(const char* name) { return test::control<QLineEdit>(dlg_, name)->text(); }

    test::SignedOnTerminal f_;
    TfrmLookTotalAmount dlg_{f_.dm, f_.state.OperatorId};
};

TEST_F(LookTotalAmountWindowTest, ShowsTheServersTotalsOfTodayAndClosesFromTheButton)
{
    Database& server = f_.side(Online);
    test::ServerClockSpan span(server);
    const DateTime now = span.before();
    server.execute(kInsertBill, {"T1", now.date().text(), test::kCashier, 10.3, 10, 10, 0, 0, 0});
    server.execute(kInsertBill, {"T2", now.text(), test::kCashier, 5, 5, 5, 0, 0, 0});
    server.execute(kInsertBill, {"T3", now.text(), 4, 99, 90, 90, 0, 0, 0});
    show();
    span.end();

    EXPECT_EQ(dlg_.windowTitle(), QStringLiteral("查看收银总金额"));
    if (!span.crossedMidnight()) {  // else the window may rightly show the new day, without bills
        EXPECT_EQ(field("edtSAMount"), QStringLiteral("15.3"));
        EXPECT_EQ(field("edtRAmount"), QStringLiteral("15"));
        EXPECT_EQ(field("edtOAmount"), QStringLiteral("0.3"));
    }
    for (const char* name : {"edtSAMount", "edtRAmount", "edtOAmount"}) {
        EXPECT_TRUE(test::control<QLineEdit>(dlg_, name)->isReadOnly()) << name;
        EXPECT_EQ(test::control<QLineEdit>(dlg_, name)->focusPolicy(), Qt::NoFocus) << name;
    }
    ASSERT_EQ(dlg_.focusWidget(), test::control<QPushButton>(dlg_, "btnClose"));
    press(dlg_, Qt::Key_Tab);
    EXPECT_EQ(dlg_.focusWidget(), test::control<QPushButton>(dlg_, "btnClose")) << "Tab skips the fields";
    press(dlg_, Qt::Key_Return);
    EXPECT_FALSE(dlg_.isVisible());
}

TEST_F(LookTotalAmountWindowTest, NoBillTodayLeavesTheFieldsEmpty)
{
    const DateTime now = f_.dm.serverTime(Online);
    f_.side(Online).execute(kInsertBill, {"Y1", now.date().addDays(-1).text(), test::kCashier, 7, 7, 7, 0, 0, 0});
    show();
    for (const char* name : {"edtSAMount", "edtRAmount", "edtOAmount"})
        EXPECT_EQ(field(name), QString()) << name;
    EXPECT_TRUE(f_.person.messages.empty());
}

}  // namespace
}  // namespace pos
