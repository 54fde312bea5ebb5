#include "peripherals/device_error.h"
#include "peripherals/receipt_text.h"
#include "support/golden_file.h"
#include "support/receipt_bill.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

using Options = std::vector<std::pair<std::string, std::string>>;

struct Goods {
    std::string name;
    double quantity, price, discount, amount;
};

struct ReceiptCase {
    std::string golden;  // tests/peripherals/golden/receipt/<golden>.txt
    int width;
    Options options;
    std::vector<Goods> lines;
    double realAmount = 0, changeAmount = 0;
    std::string cardNo;
    double cashAmount = 0, cardAmount2 = 0;
    CurrentMember member;
    BillTotals totals;
    std::string exeManName;
};

Sale makeSale(const ReceiptCase& c)
{
    Sale sale;
    Bill& bill = sale.bill = test::receiptBill(c.realAmount, c.cashAmount, c.changeAmount);
    bill.cardAmount2() = c.cardAmount2;
    bill.cardNo() = c.cardNo.empty() ? Value() : Value(c.cardNo);
    for (const Goods& g : c.lines)
        test::appendReceiptLine(bill, g.name, g.quantity, g.price, g.discount, g.amount);
    sale.member = c.member;
    sale.totals = c.totals;
    sale.ExeManName = c.exeManName;
    return sale;
}

class ReceiptTextTest : public ::testing::TestWithParam<ReceiptCase> {
protected:
    ReceiptTextTest() : settings_(IniFile(dir_.file("POS.ini")))
    {
        header_.OperatorCode = "1001";
        for (const auto& [key, value] : GetParam().options)
            settings_.setOption(key, value);
    }

    std::string receipt()
    {
        const ReceiptCase& c = GetParam();
        return ReceiptText(settings_, makeSale(c), c.width, header_);
    }

    static std::string golden(const std::string& name)
    {
        return test::readGolden("peripherals/golden/receipt/" + name + ".txt");
    }

    test::TempDir dir_;
    Settings settings_;
    ReceiptHeader header_;
};

TEST_P(ReceiptTextTest, MatchesTheGoldenBytes)
{
    EXPECT_EQ(receipt(), golden(GetParam().golden));
}

TEST_P(ReceiptTextTest, WritesTheSameBytesToThePrinterPort)
{
    settings_.ini().write(kPortsSection, "LPT2", dir_.file("printer"));
    const ReceiptCase& c = GetParam();
    test::writeFile(dir_.file("printer"), "an earlier job that must not remain");
    WriteReceiptText(settings_, "LPT2", makeSale(c), c.width, header_);
    EXPECT_EQ(test::readFile(dir_.file("printer")), golden(c.golden));
}

const Options kWelcome{{"Header1", "欢迎光临"}};

Options with(Options base, const Options& more)
{
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

const ReceiptCase kCases[] = {
    {.golden = "w32_plain",
     .width = 32,
     .options = with(kWelcome, {{"Footer1", "@谢谢惠顾"}, {"Footer2", "欢迎再来"}, {"FooterNum", "3"},
                                {"PrintBillNo", "有"}, {"DiscountCol", "Y"}, {"PrintVIPCard", "否"}}),
     .lines = {{"Coca Cola 355", 2, 2.5, 100, 5}, {"康师傅红烧牛肉面", 1, 3.5, 100, 3.5}},
     .realAmount = 8.5,
     .changeAmount = 1.5,
     .cashAmount = 10,
     .totals = {.TotalQty = 3}},
    {.golden = "w30_discount",
     .width = 30,
     .options = {{"Header1", "超市"}, {"Header2", "@欢迎光临"}, {"DiscountCol", "是"}, {"FooterNum", "0"}},
     .lines = {{"可口可乐", 2, 3, 100, 6}, {"农夫山泉水", 1, 2, 95, 1.9}, {"ab", 0.5, 12.8, 87.5, 5.6}},
     .realAmount = 13.5,
     .totals = {.TotalQty = 3.5}},
    {.golden = "w41_discount",
     .width = 41,
     .options = {{"Header1", "某某连锁超市欢迎您"}, {"Header2", "分店:中山路"}, {"DiscountCol", "是"},
                 {"Footer1", "@Thank you"}, {"Footer2", "@"}, {"FooterNum", "1"}},
     .lines = {{"特级大米五公斤装", 1, 45.8, 90, 41.22}, {"牛奶", 12, 2.5, 100, 30}},
     .realAmount = 71.22,
     .changeAmount = 28.78,
     .totals = {.TotalQty = 13}},
    {.golden = "w41_goods_one_line",
     .width = 41,
     .options = {{"GoodsOneLine", "是"}, {"Footer1", "谢谢"}, {"Footer2", "@再见"}, {"FooterNum", "2"}},
     .lines = {{"一二三四五六七八九十甲乙丙丁戊己庚辛壬癸", 2, 1.5, 100, 3}, {"Milk", 1, 10, 100, 10}},
     .realAmount = 13,
     .changeAmount = 7,
     .totals = {.TotalQty = 3}},
    {.golden = "w32_goods_one_line_discount",
     .width = 32,
     .options = {{"Header1", "ABC"}, {"GoodsOneLine", "是"}, {"DiscountCol", "是"}, {"FooterNum", "-2"}},
     .lines = {{"康师傅红烧牛肉面大桶装", 1, 4.5, 80, 3.6}, {"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234", 2, 1, 100, 2}},
     .realAmount = 5.6,
     .changeAmount = 0.4,
     .totals = {.TotalQty = 3}},
    {.golden = "overflow",
     .width = 32,
     .options = {{"Header1", "X"}, {"PrintDisAmount", "是"}, {"FooterNum", "0"}},
     .lines = {{"大宗采购", 12345, 2.5, 100, 30862.5}, {"X", 1, 1234567, 100, 12345678.9}, {"Tiny", 0.000001, 0.00001, 100, 0}},
     .realAmount = 12376541.4,
     .changeAmount = 8.6,
     .totals = {.TotalQty = 12346.000001, .DisAmount = 1234.5}},
    {.golden = "headers_long",
     .width = 32,
     .options = {{"Header1", "某某某某连锁超市有限公司欢迎您光临本店"}, {"Header2", "@ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"},
                 {"Footer1", "@abc"}, {"Footer2", "普通尾注"}}},
    {.golden = "headers_empty",
     .width = 30,
     .options = {{"Header2", "@"}, {"FooterNum", "abc"}},
     .lines = {{"Pen", 1, 1, 100, 1}},
     .realAmount = 1,
     .totals = {.TotalQty = 1}},
    {.golden = "switches_all_on",
     .width = 32,
     .options = with(kWelcome, {{"PrintBillNo", "是"}, {"PrintVIPCard", "是"}, {"PrintPoint", "是"},
                                {"PrintExeMan", "是"}, {"PrintDisAmount", "是"}, {"Footer1", "@谢谢惠顾"},
                                {"FooterNum", "1"}}),
     .lines = {{"洗发水", 1, 53.5, 100, 50}},
     .realAmount = 50,
     .cardNo = "Q001",
     .cashAmount = 20,
     .cardAmount2 = 30,
     .member = {.VIPCardNo = "8800123", .VIPHolderName = "李四", .VIPCardKind = MemberCardKind::StoredValue, .VIPUsedCount = 1234.5,
                .VIPCardBalance = 88.5},
     .totals = {.TotalQty = 1, .DisAmount = 3.5},
     .exeManName = "张三"},
    {.golden = "vip_card_none",
     .width = 32,
     .options = with(kWelcome, {{"PrintVIPCard", "是"}, {"FooterNum", "1"}}),
     .lines = {{"Soap", 1, 5, 100, 5}},
     .realAmount = 5,
     .cashAmount = 5,
     .member = {.VIPCardKind = MemberCardKind::StoredValue, .VIPCardBalance = 12},
     .totals = {.TotalQty = 1}},
    {.golden = "vip_card_ordinary",
     .width = 32,
     .options = with(kWelcome, {{"PrintVIPCard", "是"}, {"PrintPoint", "是"}, {"PrintExeMan", "是"}, {"FooterNum", "1"}}),
     .lines = {{"Soap", 1, 5, 100, 5}},
     .realAmount = 5,
     .member = {.VIPCardNo = "6600001", .VIPHolderName = "王五", .VIPCardKind = MemberCardKind::Other, .VIPCardBalance = 99},
     .totals = {.TotalQty = 1}},
};

INSTANTIATE_TEST_SUITE_P(Receipts, ReceiptTextTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.golden; });

TEST(ReceiptPrinterPort, DeviceFailuresReachTheCaller)
{
    test::TempDir dir;
    Settings settings{IniFile(dir.file("POS.ini"))};
    settings.ini().write(kPortsSection, "LPT1", dir.file("missing-dir/printer"));
    Sale sale;
    sale.bill = test::memoryBill();
    sale.bill.master.append();
    EXPECT_THROW(WriteReceiptText(settings, "LPT1", sale, 32, ReceiptHeader()), DeviceError);
    EXPECT_THROW(WriteReceiptText(settings, "LPT9", sale, 32, ReceiptHeader()), DeviceError);
}

}  // namespace
}  // namespace pos
