#include "reports/report_error.h"
#include "reports/report_expression.h"
#include "reports/template_file.h"
#include "reports/ui/qt_report_engine.h"
#include "support/temp_dir.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <regex>

namespace pos {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;

std::string run(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char buffer[4096];
    for (std::size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        out.append(buffer, n);
    return out;
}

std::string pdfText(const std::string& pdf) { return run("pdftotext -layout '" + pdf + "' -"); }

struct PdfPages {
    int count = 0;
    double widthMm = 0, heightMm = 0;
};

PdfPages pdfPages(const std::string& pdf)
{
    const std::string info = run("pdfinfo '" + pdf + "'");
    std::smatch m;
    PdfPages pages;
    if (std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))")))
        pages.count = std::stoi(m[1]);
    if (std::regex_search(info, m, std::regex(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)"))) {
        pages.widthMm = std::stod(m[1]) / kPointsPerMm;
        pages.heightMm = std::stod(m[2]) / kPointsPerMm;
    }
    return pages;
}

ReportText text(std::string content, double left, double width, TextAlign align = TextAlign::Left)
{
    ReportText t;
    t.text = std::move(content);
    t.left = left;
    t.width = width;
    t.align = align;
    return t;
}

// A receipt: shop name and bill number, one line per goods, the total.
ReportTemplate receipt(const std::string& pdf, double pageHeight)
{
    ReportTemplate r;
    r.pageWidth = 80;
    r.pageHeight = pageHeight;
    r.printer = pdf;
    ReportText number = text("单号:[单号]", 2, 76);
    number.top = 6;
    r.bands = {{BandKind::Title, 12, {text("[小票标题1]", 0, 80, TextAlign::Center), number}},
               {BandKind::Data, 6,
                {text("[Name]", 2, 40), text("[Quantity]", 44, 10, TextAlign::Right),
                 text("[Amount]", 58, 20, TextAlign::Right)}},
               {BandKind::Summary, 8, {text("合计:[应收金额]", 2, 76)}}};
    return r;
}

RowSet goods(int count)
{
    const char* names[] = {"可口可乐", "康师傅红烧牛肉面", "Milk 1L"};
    RowSet lines(Columns({"Name", "Quantity", "Amount"}));
    for (int i = 0; i < count; ++i)
        lines.append(Row{std::string(names[i % 3]) + (i < 3 ? "" : std::to_string(i)), i + 1, (i + 1) * 2.5});
    return lines;
}

class ReportPdf : public ::testing::Test {
protected:
    void print(const ReportTemplate& report, const RowSet& lines)
    {
        writeTemplateFile(dir_.file("POS.frf"), report);
        ASSERT_TRUE(engine_.load(dir_.file("POS.frf")));
        engine_.bindLines(lines);
        engine_.setVariable("小票标题1", quotedText("欢迎光临 It's"));
        engine_.setVariable("单号", quotedText("0001240315001"));
        engine_.setVariable("应收金额", quotedText("8.5"));
        engine_.prepare();
        engine_.print();
    }

    test::TempDir dir_;
    QtReportEngine engine_;
};

TEST_F(ReportPdf, ReceiptRollPrintsItsTextsOnOnePage)
{
    const std::string pdf = dir_.file("receipt.pdf");
    RowSet lines = goods(3);
    print(receipt(pdf, 0), lines);

    const PdfPages pages = pdfPages(pdf);
    EXPECT_EQ(pages.count, 1);
    EXPECT_NEAR(pages.widthMm, 80, 0.5);
    EXPECT_NEAR(pages.heightMm, 12 + 3 * 6 + 8, 0.5);

    const std::string text = pdfText(pdf);
    for (const char* expected : {"欢迎光临 It's", "单号:0001240315001", "可口可乐\\s+1\\s+2.5",
                                 "康师傅红烧牛肉面\\s+2\\s+5\\b", "Milk 1L\\s+3\\s+7.5", "合计:8.5"})
        EXPECT_TRUE(std::regex_search(text, std::regex(expected))) << expected << " not in:\n" << text;
}

TEST_F(ReportPdf, FixedPagesBreakBetweenBands)
{
    const std::string pdf = dir_.file("pages.pdf");
    RowSet lines = goods(10);
    print(receipt(pdf, 40), lines);

    // 12 + 4 lines of 6 fill 36 of 40 mm; each further page takes 6 lines.
    ASSERT_EQ(engine_.prepared().pages.size(), 3u);
    const PdfPages pages = pdfPages(pdf);
    EXPECT_EQ(pages.count, 3);
    EXPECT_NEAR(pages.heightMm, 40, 0.5);

    const std::string text = pdfText(pdf);
    std::vector<std::string> pageTexts;
    for (std::size_t start = 0, end; (end = text.find('\f', start)) != std::string::npos; start = end + 1)
        pageTexts.push_back(text.substr(start, end - start));
    ASSERT_EQ(pageTexts.size(), 3u) << text;
    EXPECT_NE(pageTexts[0].find("康师傅红烧牛肉面"), std::string::npos);
    EXPECT_NE(pageTexts[0].find("可口可乐3"), std::string::npos);
    EXPECT_EQ(pageTexts[0].find("康师傅红烧牛肉面4"), std::string::npos);
    EXPECT_NE(pageTexts[1].find("康师傅红烧牛肉面4"), std::string::npos);
    EXPECT_NE(pageTexts[2].find("合计:8.5"), std::string::npos);
    EXPECT_EQ(pageTexts[1].find("合计"), std::string::npos);
}

TEST_F(ReportPdf, NoPageNoPrint)
{
    const std::string pdf = dir_.file("nothing.pdf");
    ReportTemplate dataOnly = receipt(pdf, 0);
    dataOnly.bands.erase(dataOnly.bands.begin());
    dataOnly.bands.pop_back();
    print(dataOnly, goods(0));
    EXPECT_TRUE(engine_.prepared().pages.empty());
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(ReportPdf, UnwritableTargetIsReported)
{
    EXPECT_THROW(print(receipt(dir_.file("missing/receipt.pdf"), 0), goods(1)), ReportError);
}

}  // namespace
}  // namespace pos
