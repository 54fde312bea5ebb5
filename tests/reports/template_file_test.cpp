#include "reports/report_error.h"
#include "reports/template_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

TEST(TemplateFile, HandWrittenTemplateReads)
{
    const std::string text =
        "; receipt\r\n"
        "[Report]\r\n"
        "PageWidth=58\r\n"
        "PageHeight=0\r\n"
        "FontName=WenQuanYi Micro Hei\r\n"
        "Printer=/tmp/receipt.pdf\r\n"
        "\r\n"
        "[Variables]\r\n"
        "小票标题1='欢迎光临'\r\n"
        "[Band]\r\n"
        "Kind=Title\r\n"
        "Height=12.5\r\n"
        "[Text]\r\n"
        "Text=[小票标题1]\r\n"
        "Align=Center\r\n"
        "Width=58\r\n"
        "[Band]\r\n"
        "Kind=Data\r\n"
        "[Text]\r\n"
        "Text=[Name] x [Quantity]\r\n"
        "Left=2\r\n"
        "Top=0.5\r\n"
        "Height=4\r\n"
        "FontSize=8\r\n"
        "Align=Right\r\n";

    ReportTemplate expected;
    expected.pageWidth = 58;
    expected.pageHeight = 0;
    expected.fontName = "WenQuanYi Micro Hei";
    expected.printer = "/tmp/receipt.pdf";
    expected.variables = {{"小票标题1", "'欢迎光临'"}};
    ReportText title;
    title.text = "[小票标题1]";
    title.align = TextAlign::Center;
    title.width = 58;
    ReportText line;
    line.text = "[Name] x [Quantity]";
    line.left = 2;
    line.top = 0.5;
    line.height = 4;
    line.fontSize = 8;
    line.align = TextAlign::Right;
    expected.bands = {{BandKind::Title, 12.5, {title}}, {BandKind::Data, 5, {line}}};

    EXPECT_EQ(parseTemplate(text, "POS.frf"), expected);
}

TEST(TemplateFile, EveryTextSurvivesWriteAndRead)
{
    test::TempDir dir;
    ReportTemplate report;
    report.pageWidth = 75.5;
    report.pageHeight = 120;
    report.printer = "C:\\printers\\receipt";
    report.variables = {{"小票标题1", "'It''s 小店'"},
                        {"a=b [c] ;d \\e", "'two\nlines\r'"},
                        {"", ""},
                        {" 前后空格 ", "  'x'  "}};
    ReportText odd;
    odd.text = "[Name]=\\n literal; [x] \\";
    odd.left = 0.25;
    odd.fontSize = 10.5;
    ReportText empty;
    empty.text = "";
    report.bands = {{BandKind::Summary, 7, {odd, empty}}, {BandKind::Title, 0, {}}, {BandKind::Data, 3.3, {odd}}};

    const std::string path = dir.file("POS.frf");
    writeTemplateFile(path, report);
    auto read = readTemplateFile(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, report);
    // The quote of a header stays readable in the file, doubled inside its quotes.
    EXPECT_NE(test::readFile(path).find("\n小票标题1='It''s 小店'\n"), std::string::npos);
}

TEST(TemplateFile, MissingFileIsNoTemplateAndEmptyFileAnEmptyOne)
{
    test::TempDir dir;
    EXPECT_FALSE(readTemplateFile(dir.file("POS.frf")).has_value());
    test::writeFile(dir.file("empty.frf"), "");
    EXPECT_EQ(readTemplateFile(dir.file("empty.frf")), ReportTemplate{});
    EXPECT_THROW(readTemplateFile(dir.path()), ReportError);
}

TEST(TemplateFile, FailedWriteIsReported)
{
    test::TempDir dir;
    EXPECT_THROW(writeTemplateFile(dir.file("missing/POS.frf"), ReportTemplate{}), ReportError);
}

struct Fault {
    std::string text;
    std::string message;  // expected within the error's text
};

class TemplateFileFaults : public ::testing::TestWithParam<Fault> {};

TEST_P(TemplateFileFaults, NameTheLine)
{
    try {
        parseTemplate(GetParam().text, "POS.frf");
        FAIL() << "accepted";
    } catch (const ReportError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TemplateFileFaults,
    ::testing::Values(Fault{"[Report]\n[Page]\n", "POS.frf line 2: unknown section [Page]"},
                      Fault{"[Report]\n\n[Text]\nText=x\n", "line 3: a text outside any band"},
                      Fault{"[Band]\nKind=Title\nHeight\n", "line 3: a line without \"=\""},
                      Fault{"PageWidth=80\n", "line 1: a value outside any section"},
                      Fault{"[Report]\nPageWidht=80\n", "line 2: unknown key \"PageWidht\""},
                      Fault{"[Report]\nPageWidth=80mm\n", "line 2: \"80mm\" is no size"},
                      Fault{"[Band]\nHeight=-5\n", "line 2: \"-5\" is no size"},
                      Fault{"[Band]\nKind=Footer\n", "line 2: unknown band kind \"Footer\""},
                      Fault{"[Band]\n[Text]\nAlign=Middle\n", "line 3: unknown alignment \"Middle\""}));

}  // namespace
}  // namespace pos
