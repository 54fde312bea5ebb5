#include "reports/report_error.h"
#include "reports/template_file.h"
#include "support/recording_report_engine.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

ReportTemplate titled(const std::string& text)
{
    ReportTemplate r;
    ReportText t;
    t.text = text;
    r.bands = {{BandKind::Title, 5, {t}}};
    return r;
}

class ReportEngineTest : public ::testing::Test {
protected:
    test::TempDir dir_;
    test::RecordingReportEngine engine_;
};

TEST_F(ReportEngineTest, MissingFileKeepsTheTemplateHeldButNotItsPath)
{
    writeTemplateFile(dir_.file("a.frf"), titled("A"));
    EXPECT_TRUE(engine_.load(dir_.file("a.frf")));
    EXPECT_FALSE(engine_.load(dir_.file("POS.frf")));
    EXPECT_EQ(engine_.reportTemplate(), titled("A"));
    EXPECT_EQ(engine_.fileName(), dir_.file("POS.frf"));

    engine_.save();
    EXPECT_EQ(readTemplateFile(dir_.file("POS.frf")), titled("A"));
}

TEST_F(ReportEngineTest, BrokenFileIsReportedAndTheTemplateKept)
{
    engine_.setTemplate(titled("A"));
    test::writeFile(dir_.file("POS.frf"), "[Report]\nPageWidth=wide\n");
    EXPECT_THROW(engine_.load(dir_.file("POS.frf")), ReportError);
    EXPECT_EQ(engine_.reportTemplate(), titled("A"));
}

TEST_F(ReportEngineTest, SetVariableReplacesByNameOrAdds)
{
    ReportTemplate r = titled("[Shop] [Till]");
    r.variables = {{"Shop", "'old'"}, {"Other", "'o'"}};
    engine_.setTemplate(r);
    engine_.setVariable("SHOP", "'new'");
    engine_.setVariable("Till", "'3'");
    EXPECT_EQ(engine_.reportTemplate().variables,
              (std::vector<ReportVariable>{{"Shop", "'new'"}, {"Other", "'o'"}, {"Till", "'3'"}}));
    engine_.prepare();
    EXPECT_EQ(test::placedTexts(engine_.prepared()), std::vector<std::string>{"new 3"});
}

TEST_F(ReportEngineTest, PrintsOnlyPreparedPages)
{
    engine_.print();
    engine_.prepare();  // no template: no page
    engine_.print();
    EXPECT_TRUE(engine_.printed.empty());

    RowSet lines(Columns({"Name"}));
    lines.append(Row{"可口可乐"});
    ReportTemplate r = titled("标题");
    ReportText name;
    name.text = "[Name]";
    r.bands.push_back({BandKind::Data, 5, {name}});
    engine_.setTemplate(r);
    engine_.bindLines(lines);
    engine_.prepare();
    engine_.print();
    ASSERT_EQ(engine_.printed.size(), 1u);
    EXPECT_EQ(test::placedTexts(engine_.printed[0]), (std::vector<std::string>{"标题", "可口可乐"}));
}

}  // namespace
}  // namespace pos
