#include "peripherals/device_error.h"
#include "peripherals/receipt_printing.h"
#include "reports/template_file.h"
#include "support/golden_file.h"
#include "support/receipt_bill.h"
#include "support/recording_report_engine.h"
#include "support/scripted_person.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace pos {
namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

// A named pipe standing for the printer: each copy opens, writes and closes it as a job
// of its own, and the test reads what all the jobs sent, in order.
class PrinterPipe {
public:
    explicit PrinterPipe(const std::string& path)
    {
        if (::mkfifo(path.c_str(), 0600) != 0)
            throw std::runtime_error("mkfifo failed");
        // Held open for reading and writing, so the printer's opens never wait for a reader.
        fd_ = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0)
            throw std::runtime_error("cannot open the pipe");
    }
    ~PrinterPipe() { ::close(fd_); }

    std::string received()
    {
        std::string bytes;
        char buffer[4096];
        for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, static_cast<std::size_t>(n));
        return bytes;
    }

private:
    int fd_ = -1;
};

struct Goods {
    std::string code, name;
    double quantity, price, discount, amount;
};

// A bill with the receipt options that make one of the golden text receipts.
struct Scenario {
    std::string golden;  // tests/peripherals/golden/receipt/<golden>.txt
    Options options;
    std::vector<Goods> lines;
    double realAmount, changeAmount, cashAmount, totalQty;
};

const Scenario kPlain{"w32_plain",
                      {{"Header1", "欢迎光临"}, {"Footer1", "@谢谢惠顾"}, {"Footer2", "欢迎再来"}, {"FooterNum", "3"},
                       {"PrintBillNo", "有"}, {"DiscountCol", "Y"}, {"PrintVIPCard", "否"}},
                      {{"6901", "Coca Cola 355", 2, 2.5, 100, 5}, {"6902", "康师傅红烧牛肉面", 1, 3.5, 100, 3.5}},
                      8.5, 1.5, 10, 3};
const Scenario kNarrow{"headers_empty", {{"Header2", "@"}, {"FooterNum", "abc"}}, {{"P1", "Pen", 1, 1, 100, 1}}, 1, 0, 0, 1};

Bill makeBill(const Scenario& s)
{
    Bill bill = test::receiptBill(s.realAmount, s.cashAmount, s.changeAmount);
    for (const Goods& g : s.lines)
        test::appendReceiptLine(bill, g.name, g.quantity, g.price, g.discount, g.amount).code() = g.code;
    return bill;
}

std::string golden(const std::string& name)
{
    return test::readGolden("peripherals/golden/receipt/" + name + ".txt");
}

// The bands of POS.frf for the template path: every variable in the title, the goods in
// the data band.
ReportTemplate receiptTemplate(const std::vector<std::string>& variables)
{
    ReportTemplate r;
    ReportBand title{BandKind::Title, 0, {}};
    for (const std::string& name : variables) {
        ReportText t;
        t.text = "[" + name + "]";
        title.texts.push_back(t);
    }
    ReportText line;
    line.text = "[Code] [Name] [Quantity] [Amount]";
    r.bands = {title, {BandKind::Data, 5, {line}}};
    return r;
}

class ReceiptPrintingFixture {
protected:
    ReceiptPrintingFixture() : settings_(IniFile(dir_.file("POS.ini"))), printer_(dir_.file("lpt1"))
    {
        settings_.ini().write(kPortsSection, "LPT1", dir_.file("lpt1"));
        state_.OperatorCode = "1001";
    }

    void set(const Options& options)
    {
        for (const auto& [key, value] : options)
            settings_.setOption(key, value);
    }

    ReceiptContext ctx() { return {settings_, person_, ReceiptHeader::of(state_), dir_.path()}; }

    // The fixture's sale over this bill.
    const Sale& saleOf(const Bill& bill)
    {
        sale_.bill = bill;
        return sale_;
    }
    void print(const Bill& bill) { PrintBill(ctx(), report_, saleOf(bill)); }

    test::TempDir dir_;
    Settings settings_;
    PrinterPipe printer_;
    test::ScriptedPerson person_;
    TPosState state_;
    Sale sale_;
    CurrentMember& member_ = sale_.member;
    BillTotals& totals_ = sale_.totals;
    test::RecordingReportEngine report_;
};

struct Refusal {
    std::string name;
    Options options;
    std::string message;  // empty: none
    bool templateFile = true;
};

class RefusedPrint : public ReceiptPrintingFixture, public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedPrint, PrintsNothing)
{
    const Refusal& c = GetParam();
    if (c.templateFile)
        writeTemplateFile(dir_.file("POS.frf"), receiptTemplate({"单号"}));
    set(c.options);
    print(makeBill(kPlain));

    EXPECT_EQ(printer_.received(), "");
    EXPECT_TRUE(report_.printed.empty());
    if (c.message.empty()) {
        EXPECT_TRUE(person_.messages.empty());
    } else {
        ASSERT_EQ(person_.messages.size(), 1u);
        EXPECT_EQ(person_.messages[0].text, c.message);
        EXPECT_EQ(person_.messages[0].title, "提示");
        EXPECT_EQ(person_.messages[0].icon, MessageIcon::Information);
    }
}

const std::string kNoMode = "没有设置小票打印方式！";
const std::string kNoPort = "没有设置打印机所接端口！";
const std::string kNoPaper = "没有设置打印纸大小！";

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedPrint,
    ::testing::Values(
        Refusal{"NoPrintMode", {{"PrintPort", "LPT1"}, {"PaperSize", "58mm"}}, kNoMode},
        Refusal{"EmptyPrintMode", {{"PrintMode", ""}}, kNoMode},
        Refusal{"TextWithoutPort", {{"PrintMode", "整张快速打印"}, {"PaperSize", "58mm"}}, kNoPort},
        Refusal{"TextWithEmptyPort", {{"PrintMode", "整张快速打印"}, {"PrintPort", ""}, {"PaperSize", "58mm"}}, kNoPort},
        Refusal{"TextWithoutPaper", {{"PrintMode", "整张快速打印"}, {"PrintPort", "LPT1"}}, kNoPaper},
        Refusal{"LineModeWithoutPort", {{"PrintMode", "逐条快速打印"}, {"PaperSize", "58mm"}}, kNoPort},
        Refusal{"LineModeWithoutPaper", {{"PrintMode", "逐条快速打印"}, {"PrintPort", "LPT1"}}, kNoPaper},
        Refusal{"LineModeComplete", {{"PrintMode", "逐条快速打印"}, {"PrintPort", "LPT1"}, {"PaperSize", "58mm"}}, ""},
        Refusal{"TemplateFileMissing", {{"PrintMode", "自定义小票打印"}}, "", false}),
    [](const auto& info) { return info.param.name; });

struct Copies {
    std::string name;
    const Scenario* scenario;
    Options options;
    int copies;
};

class TextReceiptCopies : public ReceiptPrintingFixture, public ::testing::TestWithParam<Copies> {};

TEST_P(TextReceiptCopies, ReachThePrinterOneAfterTheOther)
{
    const Copies& c = GetParam();
    const Scenario& s = *c.scenario;
    set(s.options);
    set({{"PrintMode", "整张快速打印"}, {"PrintPort", "LPT1"}});
    set(c.options);
    totals_.TotalQty = s.totalQty;
    print(makeBill(s));

    const std::string one = golden(s.golden);
    std::string expected;
    for (int i = 0; i < c.copies; ++i)
        expected += one;
    EXPECT_EQ(printer_.received(), expected);
    EXPECT_TRUE(person_.messages.empty());
    EXPECT_TRUE(report_.printed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextReceiptCopies,
    ::testing::Values(
        // The paper size must be there, but only CharNum sets the width.
        Copies{"TwoCopies", &kPlain, {{"BillNum", "2"}, {"CharNum", "32"}, {"PaperSize", "75mm"}}, 2},
        Copies{"BillNumMissing", &kPlain, {{"CharNum", "32"}, {"PaperSize", "58mm"}}, 1},
        Copies{"BillNumNotWhole", &kPlain, {{"BillNum", "two"}, {"CharNum", "32"}, {"PaperSize", "58mm"}}, 1},
        Copies{"CharNumBelow30", &kNarrow, {{"CharNum", "25"}, {"PaperSize", "58mm"}}, 1},
        Copies{"CharNumLetters", &kNarrow, {{"BillNum", "3"}, {"CharNum", "abc"}, {"PaperSize", "58mm"}}, 3},
        // Out of range: the default, never a receipt meters wide or a hundred copies.
        Copies{"CharNumTooWide", &kNarrow, {{"CharNum", "256"}, {"PaperSize", "58mm"}}, 1},
        Copies{"BillNumZero", &kPlain, {{"BillNum", "0"}, {"CharNum", "32"}, {"PaperSize", "58mm"}}, 1},
        Copies{"BillNumNegative", &kPlain, {{"BillNum", "-2"}, {"CharNum", "32"}, {"PaperSize", "58mm"}}, 1},
        Copies{"BillNumTooMany", &kPlain, {{"BillNum", "10"}, {"CharNum", "32"}, {"PaperSize", "58mm"}}, 1},
        Copies{"NineCopies", &kPlain, {{"BillNum", "9"}, {"CharNum", "32"}, {"PaperSize", "58mm"}}, 9}),
    [](const auto& info) { return info.param.name; });

class ReceiptPrinting : public ReceiptPrintingFixture, public ::testing::Test {};

TEST_F(ReceiptPrinting, DeviceErrorsReachTheCaller)
{
    settings_.ini().write(kPortsSection, "LPT2", dir_.file("missing/lpt2"));
    set({{"PrintMode", "整张快速打印"}, {"PrintPort", "LPT2"}, {"PaperSize", "58mm"}, {"BillNum", "2"}});
    EXPECT_THROW(print(makeBill(kPlain)), DeviceError);
}

TEST_F(ReceiptPrinting, AMissingDeviceIsNeverCreatedAsAPlainFile)
{
    const std::string device = "/dev/pos-test-lp-" + std::to_string(::getpid());
    settings_.ini().write(kPortsSection, "LPT2", device);
    set({{"PrintMode", "整张快速打印"}, {"PrintPort", "LPT2"}, {"PaperSize", "58mm"}});
    try {
        print(makeBill(kPlain));
        ADD_FAILURE() << "printed to a device that does not exist";
    } catch (const DeviceError& e) {
        EXPECT_EQ(std::string(e.what()), "不能打开 " + device + "：" + std::strerror(ENOENT));
    }
    const bool created = ::access(device.c_str(), F_OK) == 0;
    ::unlink(device.c_str());
    EXPECT_FALSE(created);
}

// The 22 variables of the template path, as expressions and as printed.
struct Variable {
    std::string name, expression, printed;
};

const std::vector<Variable> kBillVariables = {
    {"小票标题1", "'It''s 小店'", "It's 小店"},
    {"小票标题2", "'@欢迎'", "@欢迎"},
    {"小票尾注1", "'谢谢'", "谢谢"},
    {"小票尾注2", "''", ""},
    {"单号", "'0001240315001'", "0001240315001"},
    {"开单时间", "'2024-03-15 09:05:59'", "2024-03-15 09:05:59"},
    {"应收金额", "'8.5'", "8.5"},
    {"客付金额", "'10'", "10"},
    {"找零金额", "'1.5'", "1.5"},
    {"收银员代码", "'1001'", "1001"},
    {"收银员名称", "'张三'", "张三"},
    {"收银机号", "'003'", "003"},
    {"收银机名", "'三号机'", "三号机"},
    {"班次代码", "'01'", "01"},
    {"班次名称", "'早班'", "早班"},
    {"仓库代码", "'S01'", "S01"},
    {"仓库名称", "'中山路店'", "中山路店"},
};

struct MemberCase {
    std::string name;
    CurrentMember member;
    std::vector<Variable> variables;
};

class TemplateReceipt : public ReceiptPrintingFixture, public ::testing::TestWithParam<MemberCase> {
protected:
    TemplateReceipt()
    {
        set({{"PrintMode", "自定义小票打印"}, {"Header1", "It's 小店"}, {"Header2", "@欢迎"}, {"Footer1", "谢谢"}});
        state_.OperatorName = "张三";
        state_.MachineCode = "003";
        state_.MachineName = "三号机";
        state_.ClassCode = "01";
        state_.ClassName = "早班";
        state_.StoreCode = "S01";
        state_.StoreName = "中山路店";
        member_ = GetParam().member;
        expected_ = kBillVariables;
        expected_.insert(expected_.end(), GetParam().variables.begin(), GetParam().variables.end());
        for (const Variable& v : expected_)
            names_.push_back(v.name);
    }

    std::vector<Variable> expected_;
    std::vector<std::string> names_;
};

TEST_P(TemplateReceipt, PrintsEveryCopyWithTheVariablesAndLines)
{
    writeTemplateFile(dir_.file("POS.frf"), receiptTemplate(names_));
    set({{"BillNum", "2"}});
    print(makeBill(kPlain));

    std::vector<ReportVariable> expressions;
    std::vector<std::string> texts;
    for (const Variable& v : expected_) {
        expressions.push_back({v.name, v.expression});
        texts.push_back(v.printed);
    }
    texts.push_back("6901 Coca Cola 355 2 5");
    texts.push_back("6902 康师傅红烧牛肉面 1 3.5");

    EXPECT_EQ(report_.reportTemplate().variables, expressions);
    ASSERT_EQ(report_.printed.size(), 2u);
    for (const PreparedReport& copy : report_.printed)
        EXPECT_EQ(test::placedTexts(copy), texts);
    EXPECT_EQ(printer_.received(), "");
    EXPECT_TRUE(person_.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Members, TemplateReceipt,
    ::testing::Values(
        // After a new bill the card is gone; the balance of an earlier stored-value payment stays.
        MemberCase{"NoCard",
                   {.VIPCardKind = MemberCardKind::StoredValue, .VIPCardBalance = 12.5},
                   {{"会员卡号", "''", ""},
                    {"持卡人", "''", ""},
                    {"会员积分", "'0'", "0"},
                    {"累计消费金额", "'0'", "0"},
                    {"卡内余额", "'12.5'", "12.5"}}},
        MemberCase{"StoredValueCard",
                   {.VIPCardNo = "8800123",
                    .VIPHolderName = "O'Neil 李",
                    .VIPCardKind = MemberCardKind::StoredValue,
                    .VIPTotalAmount = 8800.25,
                    .VIPUsedCount = 1234.5,
                    .VIPCardBalance = 88},
                   {{"会员卡号", "'8800123'", "8800123"},
                    {"持卡人", "'O''Neil 李'", "O'Neil 李"},
                    {"会员积分", "'1234.5'", "1234.5"},
                    {"累计消费金额", "'8800.25'", "8800.25"},
                    {"卡内余额", "'88'", "88"}}}),
    [](const auto& info) { return info.param.name; });

TEST_F(ReceiptPrinting, AnyOtherPrintModeUsesTheTemplate)
{
    writeTemplateFile(dir_.file("POS.frf"), receiptTemplate({"单号"}));
    set({{"PrintMode", "其它"}});
    print(makeBill(kNarrow));
    ASSERT_EQ(report_.printed.size(), 1u);
    EXPECT_EQ(test::placedTexts(report_.printed[0]), (std::vector<std::string>{"0001240315001", "P1 Pen 1 1"}));
}

TEST_F(ReceiptPrinting, MissingTemplateLeavesTheOneHeld)
{
    writeTemplateFile(dir_.file("earlier.frf"), receiptTemplate({"单号", "Name"}));
    ASSERT_TRUE(report_.load(dir_.file("earlier.frf")));
    set({{"PrintMode", "自定义小票打印"}});
    print(makeBill(kNarrow));
    ASSERT_EQ(report_.printed.size(), 1u);
    EXPECT_EQ(test::placedTexts(report_.printed[0]),
              (std::vector<std::string>{"0001240315001", "[Name]", "P1 Pen 1 1"}));
    EXPECT_TRUE(person_.messages.empty());
}

TEST_F(ReceiptPrinting, DesignerOpensOnTheTemplateWithTheBill)
{
    const ReportTemplate file = receiptTemplate({"单号"});
    writeTemplateFile(dir_.file("POS.frf"), file);
    set({{"PrintMode", "整张快速打印"}});
    const Bill bill = makeBill(kPlain);
    DesignBillTemplate(ctx(), report_, saleOf(bill));

    ASSERT_EQ(report_.designed.size(), 1u);
    const auto& opened = report_.designed[0];
    EXPECT_EQ(opened.fileName, dir_.file("POS.frf"));
    EXPECT_EQ(opened.lines, &sale_.bill.detail);
    EXPECT_EQ(opened.report.bands, file.bands);
    ASSERT_EQ(opened.report.variables.size(), 22u);
    EXPECT_EQ(opened.report.variables[4], (ReportVariable{"单号", "'0001240315001'"}));
    EXPECT_TRUE(report_.printed.empty());
    EXPECT_EQ(printer_.received(), "");
}

TEST_F(ReceiptPrinting, DesignerWithoutTemplateFileSavesANewOne)
{
    const Bill bill = makeBill(kPlain);
    DesignBillTemplate(ctx(), report_, saleOf(bill));
    ASSERT_EQ(report_.designed.size(), 1u);
    EXPECT_TRUE(report_.designed[0].report.bands.empty());
    EXPECT_EQ(report_.designed[0].report.variables.size(), 22u);
    EXPECT_EQ(report_.designed[0].fileName, dir_.file("POS.frf"));
}

TEST_F(ReceiptPrinting, DesignerOnABrokenTemplateFileOpensEmptyWithAMessage)
{
    // A template held from before must not stand in for the broken file.
    writeTemplateFile(dir_.file("earlier.frf"), receiptTemplate({"单号"}));
    ASSERT_TRUE(report_.load(dir_.file("earlier.frf")));
    test::writeFile(dir_.file("POS.frf"), "[Report]\n[Nonsense]\n");
    const Bill bill = makeBill(kPlain);
    DesignBillTemplate(ctx(), report_, saleOf(bill));

    ASSERT_EQ(report_.designed.size(), 1u);
    EXPECT_TRUE(report_.designed[0].report.bands.empty());
    EXPECT_EQ(report_.designed[0].report.variables.size(), 22u);
    EXPECT_EQ(report_.designed[0].fileName, dir_.file("POS.frf")) << "saving replaces the broken file";
    ASSERT_EQ(person_.messages.size(), 1u);
    EXPECT_EQ(person_.messages[0].text.rfind("小票模板文件有错误，设计器将打开空白模板。\n", 0), 0u)
        << person_.messages[0].text;
    EXPECT_NE(person_.messages[0].text.find("Nonsense"), std::string::npos) << "the parser's own text follows";
}

}  // namespace
}  // namespace pos
