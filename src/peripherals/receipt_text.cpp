#include "peripherals/receipt_text.h"

#include "base/clock.h"
#include "base/gbk.h"
#include "base/number_format.h"
#include "peripherals/printer_port.h"

#include <algorithm>
#include <fmt/format.h>

namespace pos {
namespace {


// Every width below counts bytes of GBK text; a cut may split a Chinese character.
std::string spaces(int count) { return std::string(static_cast<std::size_t>(std::max(0, count)), ' '); }

int byteLength(const std::string& gbk) { return static_cast<int>(gbk.size()); }

// Right-aligned in `width` bytes; a longer value is kept whole and pushes on.
std::string rightAligned(const std::string& text, int width) { return spaces(width - byteLength(text)) + text; }

// Cut to `width` bytes, then filled with spaces to `fill` bytes.
std::string cutAndFilled(const std::string& gbk, int width, int fill)
{
    std::string s = gbk.substr(0, static_cast<std::size_t>(std::max(0, width)));
    return s + spaces(fill - byteLength(s));
}

std::string centred(const std::string& gbk, int width) { return spaces((width - byteLength(gbk)) / 2) + gbk; }

// Header2, Footer1, Footer2: a leading "@" asks for centring and is not printed.
std::string marked(const std::string& gbk, int width)
{
    if (!gbk.empty() && gbk.front() == '@')
        return centred(gbk.substr(1), width);
    return gbk;
}

std::string billTime(const Value& billDate)
{
    auto t = DateTime::parse(billDate.toString());
    if (!t)
        return {};
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}", t->year, t->month, t->day, t->hour, t->minute);
}

// Columns after the name: quantity 4, unit price 6, (discount 4,) amount 7 bytes.
struct Layout {
    int width;  // bytes per line
    bool discountColumn;
    bool goodsOneLine;
    int nameWidth() const { return width - 17 - (discountColumn ? 4 : 0); }
};

class ReceiptBuilder {
public:
    explicit ReceiptBuilder(Layout layout) : layout_(layout) {}

    void line(const std::string& gbk) { out_ += gbk + "\r\n"; }
    void utf8Line(const std::string& utf8) { line(utf8ToGbk(utf8)); }

    void columnHeader()
    {
        std::string header = "商品名称" + spaces(layout_.nameWidth() - 8) + "数量" + spaces(2) + "单价" + spaces(1);
        if (layout_.discountColumn)
            header += "折扣" + spaces(2);
        utf8Line(header + "金额");
    }

    void rule() { line(std::string(static_cast<std::size_t>(std::max(0, layout_.width)), '-')); }

    void goodsLine(ConstBillLine goods)
    {
        std::string name = utf8ToGbk(goods.name().toString());
        int w = layout_.nameWidth();
        if (layout_.goodsOneLine) {
            line(cutAndFilled(name, layout_.width - 2, layout_.width));
            line(spaces(w) + figures(goods));
        } else {
            line(cutAndFilled(name, w, w) + figures(goods));
        }
    }

    std::string take() { return std::move(out_); }

private:
    std::string figures(ConstBillLine goods) const
    {
        std::string s = rightAligned(generalNumber(goods.quantity().toDouble()), 4)
                        + rightAligned(generalNumber(goods.price().toDouble()), 6);
        if (layout_.discountColumn) {
            double discount = goods.discount().toDouble();
            s += rightAligned(discount == 100 ? std::string() : generalNumber(discount), 4);
        }
        return s + rightAligned(generalNumber(goods.amount().toDouble()), 7);
    }

    Layout layout_;
    std::string out_;
};

}  // namespace

std::string ReceiptText(const Settings& settings, const Sale& sale, int width, const ReceiptHeader& header)
{
    const Bill& bill = sale.bill;
    const CurrentMember& member = sale.member;
    const Layout layout{width, settings.optionYes("DiscountCol"), settings.optionYes("GoodsOneLine")};
    const bool printBillNo = settings.optionYes("PrintBillNo");
    const bool printVIPCard = settings.optionYes("PrintVIPCard");
    const bool printPoint = settings.optionYes("PrintPoint");
    const bool printExeMan = settings.optionYes("PrintExeMan");
    const bool printDisAmount = settings.optionYes("PrintDisAmount");
    const std::string header1 = utf8ToGbk(settings.header1());
    const std::string header2 = utf8ToGbk(settings.header2());
    const std::string footer1 = utf8ToGbk(settings.footer1());
    const std::string footer2 = utf8ToGbk(settings.footer2());
    const int footerNum = settings.footerNum();

    // The totals are printed to the cent, rounded as the screen rounds them.
    auto amount = [](const Value& column) { return column.toDouble(); };
    auto total = [](const std::string& text) { return rightAligned(text, 5); };

    ReceiptBuilder r(layout);
    r.line(centred(header1, width));
    r.line(marked(header2, width));
    r.utf8Line("收银员:" + header.OperatorCode + " 时间:" + billTime(bill.billDate()));
    if (printBillNo)
        r.utf8Line("单号:" + bill.billNo().toString());
    if (printVIPCard) {
        r.utf8Line("会员卡号:" + member.VIPCardNo + " 持卡人:" + member.VIPHolderName);
        if (member.hasStoredValueCard())
            r.utf8Line("卡内余额:" + twoDecimals(member.VIPCardBalance) + " ");
    }
    if (printPoint)
        r.utf8Line("会员积分:" + generalNumber(member.VIPUsedCount));
    if (printExeMan)
        r.utf8Line("业务员:" + sale.ExeManName);
    r.line("");
    r.columnHeader();
    r.rule();
    for (std::size_t i = 0; i < bill.detail.size(); ++i)
        r.goodsLine(bill.line(i));
    r.rule();
    r.utf8Line("总 数 量：" + total(generalNumber(sale.totals.TotalQty)) + " 应收金额："
               + total(generalAmount(amount(bill.realAmount()))));
    r.utf8Line("客付金额：" + total(generalAmount(amount(bill.realAmount()) + amount(bill.changeAmount()))) + " 找零金额："
               + total(generalAmount(amount(bill.changeAmount()))));
    if (!bill.cardNo().toString().empty())
        r.utf8Line("付 现 金：" + total(generalAmount(amount(bill.cashAmount()))) + " 付购物券："
                   + total(generalAmount(amount(bill.cardAmount2()))));
    if (printDisAmount)
        r.utf8Line("优惠金额：" + total(twoDecimals(sale.totals.DisAmount)));
    r.line("");
    r.line(marked(footer1, width));
    r.line(marked(footer2, width));
    for (int i = 0; i < footerNum; ++i)
        r.line("");
    return r.take();
}

void WriteReceiptText(const Settings& settings, const std::string& device, const Sale& sale, int width,
                      const ReceiptHeader& header)
{
    writeToPrinter(settings, device, ReceiptText(settings, sale, width, header));
}

}  // namespace pos
