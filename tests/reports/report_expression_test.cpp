#include "reports/report_expression.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

struct Quoting {
    std::string text;
    std::string expression;
};

class QuotedTexts : public ::testing::TestWithParam<Quoting> {};

TEST_P(QuotedTexts, QuoteAndEvaluateBack)
{
    EXPECT_EQ(quotedText(GetParam().text), GetParam().expression);
    EXPECT_EQ(expressionValue(GetParam().expression), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Texts, QuotedTexts,
                         ::testing::Values(Quoting{"欢迎光临", "'欢迎光临'"}, Quoting{"", "''"},
                                           Quoting{"It's", "'It''s'"}, Quoting{"'", "''''"},
                                           Quoting{"''x'", "'''''x'''"}, Quoting{"@ 谢谢 ", "'@ 谢谢 '"}));

// Anything but a well-formed quoted text is shown as written.
TEST(ExpressionValue, MalformedExpressionsShowAsWritten)
{
    const std::pair<std::string, std::string> cases[] = {
        {"  'x'  ", "x"},  {"'It's'", "'It's'"}, {"'abc", "'abc"}, {"abc'", "abc'"},
        {"'", "'"},        {"12.5", "12.5"},     {"", ""},         {"'a' 'b'", "'a' 'b'"},
    };
    for (const auto& [expression, value] : cases)
        EXPECT_EQ(expressionValue(expression), value) << expression;
}

}  // namespace
}  // namespace pos
