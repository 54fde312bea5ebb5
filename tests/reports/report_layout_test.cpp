#include "reports/report_layout.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

ReportText at(std::string text, double top = 0)
{
    ReportText t;
    t.text = std::move(text);
    t.top = top;
    return t;
}

RowSet goods(const std::vector<std::pair<std::string, double>>& lines)
{
    RowSet set(Columns({"Name", "Quantity"}));
    for (const auto& [name, quantity] : lines)
        set.append(Row{name, quantity});
    return set;
}

struct Placed {
    std::string text;
    double top;
    bool operator==(const Placed&) const = default;
};

std::vector<std::vector<Placed>> pagesOf(const PreparedReport& report)
{
    std::vector<std::vector<Placed>> pages;
    for (const PreparedPage& page : report.pages) {
        pages.emplace_back();
        for (const PlacedText& t : page.texts)
            pages.back().push_back({t.text, t.top});
    }
    return pages;
}

// Summary listed first, two data bands: the order on paper is title, data per line, summary.
ReportTemplate receipt(double pageHeight)
{
    ReportTemplate r;
    r.pageHeight = pageHeight;
    r.variables = {{"Header", "'欢迎光临'"}, {"Total", "'8.5'"}};
    r.bands = {{BandKind::Summary, 6, {at("合计 [Total]", 1)}},
               {BandKind::Title, 10, {at("[Header]"), at("[Nothing]", 5)}},
               {BandKind::Data, 4, {at("[Name]")}},
               {BandKind::Data, 3, {at("x[Quantity]")}}};
    return r;
}

TEST(ReportLayout, BandsThatDoNotFitStartTheNextPage)
{
    RowSet lines = goods({{"可口可乐", 2}, {"雪碧", 1}, {"芬达", 0.5}});
    PreparedReport p = layOutReport(receipt(25), &lines);
    EXPECT_EQ(p.pageHeight, 25);
    EXPECT_EQ(pagesOf(p), (std::vector<std::vector<Placed>>{
                              {{"欢迎光临", 0}, {"[Nothing]", 5}, {"可口可乐", 10}, {"x2", 14}, {"雪碧", 17}, {"x1", 21}},
                              {{"芬达", 0}, {"x0.5", 4}, {"合计 8.5", 8}}}));
}

TEST(ReportLayout, RollPageIsAsLongAsItsContent)
{
    RowSet lines = goods({{"可口可乐", 2}, {"雪碧", 1}});
    PreparedReport p = layOutReport(receipt(0), &lines);
    ASSERT_EQ(p.pages.size(), 1u);
    EXPECT_EQ(p.pageHeight, 10 + 2 * 7 + 6);
    EXPECT_EQ(p.pages[0].texts.back().top, 10 + 2 * 7 + 1);
}

TEST(ReportLayout, UnboundOrEmptyLinesGiveNoDataBands)
{
    const RowSet none = goods({});
    for (const RowSet* lines : {static_cast<const RowSet*>(nullptr), &none}) {
        PreparedReport p = layOutReport(receipt(0), lines);
        EXPECT_EQ(pagesOf(p), (std::vector<std::vector<Placed>>{{{"欢迎光临", 0}, {"[Nothing]", 5}, {"合计 8.5", 11}}}));
    }
}

TEST(ReportLayout, NoBandNoPage)
{
    RowSet lines = goods({{"可口可乐", 2}});
    EXPECT_TRUE(layOutReport(ReportTemplate{}, &lines).pages.empty());
    ReportTemplate dataOnly;
    dataOnly.bands = {{BandKind::Data, 4, {at("[Name]")}}};
    RowSet none = goods({});
    EXPECT_TRUE(layOutReport(dataOnly, &none).pages.empty());
}

TEST(ReportLayout, ReferencesAreFilledOnce)
{
    RowSet lines = goods({{"Cola", 2}});
    ReportTemplate r;
    r.variables = {{"name", "'variable'"}, {"Echo", "'[Name]'"}, {"Broken", "'It's'"}, {"Empty", "''"}};
    r.bands = {{BandKind::Title, 5, {at("[NAME]|[Echo]|[Broken]|[Empty]|[quantity]")}},
               {BandKind::Data, 5, {at("[name]|[[Name]]|[Name|[]|Name]|[Echo]|[QUANTITY]")}}};
    PreparedReport p = layOutReport(r, &lines);
    ASSERT_EQ(p.pages.size(), 1u);
    ASSERT_EQ(p.pages[0].texts.size(), 2u);
    // Outside the data band only variables are known; inside it the line's columns come first.
    EXPECT_EQ(p.pages[0].texts[0].text, "variable|[Name]|'It's'||[quantity]");
    EXPECT_EQ(p.pages[0].texts[1].text, "Cola|[Cola]|[Name|[]|Name]|[Name]|2");
}

TEST(ReportLayout, TextsKeepTheirBoxAlignmentAndFont)
{
    ReportTemplate r;
    r.pageWidth = 58;
    r.fontName = "WenQuanYi Micro Hei";
    r.printer = "out.pdf";
    ReportText t = at("x", 1.5);
    t.left = 3;
    t.width = 20;
    t.height = 4;
    t.align = TextAlign::Right;
    t.fontSize = 11;
    r.bands = {{BandKind::Title, 8, {t}}};
    PreparedReport p = layOutReport(r, nullptr);
    EXPECT_EQ(p.pageWidth, 58);
    EXPECT_EQ(p.fontName, "WenQuanYi Micro Hei");
    EXPECT_EQ(p.printer, "out.pdf");
    ASSERT_EQ(p.pages.size(), 1u);
    EXPECT_EQ(p.pages[0].texts, (std::vector<PlacedText>{{3, 1.5, 20, 4, "x", TextAlign::Right, 11}}));
}

}  // namespace
}  // namespace pos
