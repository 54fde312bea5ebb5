#include "peripherals/receipt_printing.h"

#include "base/clock.h"
#include "base/number_format.h"
#include "peripherals/receipt_text.h"
#include "reports/report_error.h"
#include "reports/report_expression.h"

namespace pos {
namespace {

constexpr const char* kPrompt = "提示";

// The text path's port and paper; false, with the message, when one is missing.
bool portSettingsComplete(const ReceiptContext& ctx)
{
    if (ctx.settings.printPort().empty()) {
        ctx.person.message("没有设置打印机所接端口！", kPrompt, MessageIcon::Information);
        return false;
    }
    if (ctx.settings.option("PaperSize").empty()) {
        ctx.person.message("没有设置打印纸大小！", kPrompt, MessageIcon::Information);
        return false;
    }
    return true;
}

std::string templatePath(const ReceiptContext& ctx) { return ctx.programDir + "POS.frf"; }

void loadWithBill(const ReceiptContext& ctx, ReportEngine& report, const Sale& sale)
{
    report.bindLines(sale.bill.detail);
    report.load(templatePath(ctx));
    SetBillTemplateVariables(ctx, report, sale);
}

std::string billTime(const Value& billDate)
{
    auto t = DateTime::parse(billDate.toString());
    return t ? t->text() : std::string();
}

}  // namespace

void PrintBill(const ReceiptContext& ctx, ReportEngine& report, const Sale& sale)
{
    const std::string mode = ctx.settings.option("PrintMode");
    if (mode.empty())
        ctx.person.message("没有设置小票打印方式！", kPrompt, MessageIcon::Information);
    else if (mode == "整张快速打印")
        PrintBillText(ctx, sale);
    else if (mode == "逐条快速打印")
        portSettingsComplete(ctx);
    else
        PrintBillTemplate(ctx, report, sale);
}

void PrintBillText(const ReceiptContext& ctx, const Sale& sale)
{
    const int copies = ctx.settings.billNum();
    if (!portSettingsComplete(ctx))
        return;
    const std::string port = ctx.settings.printPort();
    const int width = ctx.settings.charNum();
    for (int copy = 0; copy < copies; ++copy)
        WriteReceiptText(ctx.settings, port, sale, width, ctx.header);
}

void PrintBillTemplate(const ReceiptContext& ctx, ReportEngine& report, const Sale& sale)
{
    const int copies = ctx.settings.billNum();
    for (int copy = 0; copy < copies; ++copy) {
        loadWithBill(ctx, report, sale);
        report.prepare();
        report.print();
    }
}

void SetBillTemplateVariables(const ReceiptContext& ctx, ReportEngine& report, const Sale& sale)
{
    const Bill& bill = sale.bill;
    const CurrentMember& member = sale.member;
    const Settings& s = ctx.settings;
    const double realAmount = bill.realAmount().toDouble();
    const double changeAmount = bill.changeAmount().toDouble();
    // Values no card was read for (a reprint) are left out rather than printed as 0.
    auto cardValue = [&](double value) {
        return member.VIPCardKind == MemberCardKind::Unknown ? std::string() : generalNumber(value);
    };
    const std::pair<const char*, std::string> variables[] = {
        {"小票标题1", s.header1()},
        {"小票标题2", s.header2()},
        {"小票尾注1", s.footer1()},
        {"小票尾注2", s.footer2()},
        {"单号", bill.billNo().toString()},
        {"开单时间", billTime(bill.billDate())},
        {"应收金额", generalAmount(realAmount)},
        {"客付金额", generalAmount(realAmount + changeAmount)},
        {"找零金额", generalAmount(changeAmount)},
        {"收银员代码", ctx.header.OperatorCode},
        {"收银员名称", ctx.header.OperatorName},
        {"收银机号", ctx.header.MachineCode},
        {"收银机名", ctx.header.MachineName},
        {"班次代码", ctx.header.ClassCode},
        {"班次名称", ctx.header.ClassName},
        {"仓库代码", ctx.header.StoreCode},
        {"仓库名称", ctx.header.StoreName},
        {"会员卡号", member.VIPCardNo},
        {"持卡人", member.VIPHolderName},
        {"会员积分", generalNumber(member.VIPUsedCount)},
        {"累计消费金额", cardValue(member.VIPTotalAmount)},
        {"卡内余额", cardValue(member.VIPCardBalance)},
    };
    for (const auto& [name, text] : variables)
        report.setVariable(name, quotedText(text));
}

void DesignBillTemplate(const ReceiptContext& ctx, ReportEngine& report, const Sale& sale)
{
    report.bindLines(sale.bill.detail);
    try {
        report.load(templatePath(ctx));
    } catch (const ReportError& error) {
        // A broken template is what the designer is for: it opens empty, and saving
        // replaces the file.
        ctx.person.message(std::string("小票模板文件有错误，设计器将打开空白模板。\n") + error.what(), kPrompt,
                           MessageIcon::Information);
        report.setTemplate({});
    }
    SetBillTemplateVariables(ctx, report, sale);
    report.design();
}

}  // namespace pos
