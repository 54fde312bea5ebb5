#include "register/line_editing.h"

#include "register/register_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

using test::RegisterTest;

// A value typed into one of the boxes after the command that opens it.
struct BoxEntry {
    const char* name;
    const char* command;
    EditBox box;
    const char* typed;
    bool returnRight;                 // the operator holds the return right
    const char* message;              // nullptr: accepted
    MessageIcon icon;
    const char* safeValue;            // what the box holds after a refusal
};

const BoxEntry kBoxEntries[] = {
    {"PriceNotANumber", "*", EditBox::Price, "8,5", true, "您输入的单价不是数值！", MessageIcon::Question, ""},
    {"PriceEmpty", "*", EditBox::Price, "", true, nullptr, {}, nullptr},
    {"Price", "*", EditBox::Price, " 8.5 ", true, nullptr, {}, nullptr},
    {"RefundPriceWithoutRight", "*", EditBox::Price, "-8.5", false, "您没有退货权限！", MessageIcon::Information, ""},
    {"RefundPriceWithRight", "*", EditBox::Price, "-8.5", true, nullptr, {}, nullptr},
    {"QuantityNotANumber", "-", EditBox::Quantity, "two", true, "您输入的数量不是数值！", MessageIcon::Information,
     "1"},
    {"QuantityZero", "-", EditBox::Quantity, "0", true, "输入的数量不能为0！", MessageIcon::Information, "1"},
    {"ReturnWithoutRight", "-", EditBox::Quantity, "-2", false, "您没有退货权限！", MessageIcon::Information, "1"},
    {"ReturnWithRight", "-", EditBox::Quantity, "-2", true, nullptr, {}, nullptr},
    {"QuantityWithExponent", "-", EditBox::Quantity, "1e3", true, nullptr, {}, nullptr},
    {"DiscountLetters", "/", EditBox::Discount, "abc", true, "您输入的折扣不是整数！", MessageIcon::Question, "100"},
    {"DiscountBelowOne", "/", EditBox::Discount, "0.5", true, "折扣必须在1-100之间 ！", MessageIcon::Question, "100"},
    {"DiscountAboveHundred", "/", EditBox::Discount, "100.01", true, "折扣必须在1-100之间 ！",
     MessageIcon::Question, "100"},
    {"DiscountWithDecimals", "/", EditBox::Discount, "95.5", true, nullptr, {}, nullptr},
    {"DiscountOne", "/", EditBox::Discount, "1", true, nullptr, {}, nullptr},
};

class BoxEntryTest : public RegisterTest, public ::testing::WithParamInterface<BoxEntry> {};

TEST_P(BoxEntryTest, EnterChecksTheValueBeforeLettingTheCashierBack)
{
    const BoxEntry& c = GetParam();
    // The commands need rights 3 and 4; only the return right differs.
    f.state.OperatorId = test::kSenior;
    if (!c.returnRight) {
        f.office.accountSet().execute("delete from PosOperatorRight where OperatorId=$1 and RightId=$2",
                                      {test::kSenior, rightNumber(OperatorRight::Return)});
        f.person.supervisors = {std::nullopt};
    }
    intoBox(c.command, c.box, c.typed);

    if (c.message) {
        ASSERT_EQ(f.person.messages.size(), 1u);
        EXPECT_EQ(f.person.messages[0].text, c.message);
        EXPECT_EQ(f.person.messages[0].title, "提示");
        EXPECT_EQ(f.person.messages[0].icon, c.icon);
        EXPECT_EQ(view.text(c.box), c.safeValue);
        EXPECT_EQ(view.focused, c.box);
        EXPECT_FALSE(reg.FocusToInput) << "the box is left only by a valid Enter";
    } else {
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(view.text(c.box), c.typed) << "the value waits for the next goods input";
        EXPECT_EQ(view.focused, EditBox::Input);
        EXPECT_TRUE(reg.FocusToInput);
    }
    const bool lineDiscountTaken = c.box == EditBox::Discount && !c.message;
    EXPECT_EQ(reg.sale.DiscountState, lineDiscountTaken ? BillDiscountState::LineDiscount : BillDiscountState::None);
}

INSTANTIATE_TEST_SUITE_P(Boxes, BoxEntryTest, ::testing::ValuesIn(kBoxEntries),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegisterTest, WholeBillDiscountCoversEveryLineAndStaysForTheNextGoods)
{
    signOnSenior();
    enter("6901");
    enter("6902");
    enter("6903");
    reg.sale.bill.currentLine = 1;

    intoBox("8/", EditBox::Discount, "90");

    EXPECT_EQ(reg.sale.DiscountState, BillDiscountState::WholeBill);
    const double amounts[] = {3.15, 10.8, 9};
    for (std::size_t r = 0; r < 3; ++r) {
        EXPECT_DOUBLE_EQ(line(r).discount().toDouble(), 90) << r;
        EXPECT_DOUBLE_EQ(line(r).amount().toDouble(), amounts[r]) << r;
    }
    EXPECT_EQ(reg.sale.bill.currentLine, 1u) << "the cursor stays on its line";
    EXPECT_EQ(view.totals->amountDue, "  22.95");
    EXPECT_EQ(view.text(EditBox::Discount), "90");

    enter("6901");
    ASSERT_EQ(lineCount(), 4u);
    EXPECT_DOUBLE_EQ(line(3).discount().toDouble(), 90);
    EXPECT_DOUBLE_EQ(line(3).amount().toDouble(), 3.15);
    EXPECT_EQ(view.text(EditBox::Discount), "90");
    EXPECT_EQ(view.totals->amountDue, "  26.10");
}

TEST_F(RegisterTest, LineDiscountServesOneGoodsInput)
{
    signOnSenior();
    intoBox("/", EditBox::Discount, "90");
    EXPECT_EQ(reg.sale.DiscountState, BillDiscountState::LineDiscount);
    enter("6902");
    enter("6903");
    EXPECT_DOUBLE_EQ(line(0).discount().toDouble(), 90);
    EXPECT_DOUBLE_EQ(line(0).amount().toDouble(), 10.8);
    EXPECT_DOUBLE_EQ(line(1).discount().toDouble(), 100);
    EXPECT_EQ(view.text(EditBox::Discount), "100");

    // Once a line discount is used the next one is only left in the box for its goods.
    intoBox("/", EditBox::Discount, "80");
    EXPECT_EQ(reg.sale.DiscountState, BillDiscountState::LineDiscount);
    enter("6901");
    EXPECT_DOUBLE_EQ(line(2).discount().toDouble(), 80);
}

TEST_F(RegisterTest, DeletedLinesKeepTheirNumbersUsed)
{
    signOnSenior();
    enter("6901");
    enter("6902");
    enter("6903");
    f.person.inputs = {"2"};
    enter(".");
    ASSERT_EQ(lineCount(), 2u);
    EXPECT_EQ(line(0).orderId().toInt(), 1);
    EXPECT_EQ(line(1).orderId().toInt(), 3);

    enter("6902");
    ASSERT_EQ(lineCount(), 3u);
    EXPECT_EQ(line(2).orderId().toInt(), 4);

    // F12 in the grid takes the current line, without a right.
    f.state.OperatorId = test::kCashier;
    lines.startGridEditing(LineField::Quantity);
    reg.sale.bill.currentLine = 0;
    lines.deleteCurrentLine();
    ASSERT_EQ(lineCount(), 2u);
    EXPECT_EQ(line(0).orderId().toInt(), 3);
    EXPECT_EQ(reg.sale.bill.currentLine, 0u);
    lines.endGridEditing();
    enter("6901");
    EXPECT_EQ(line(2).orderId().toInt(), 5);
    EXPECT_TRUE(f.person.supervisorRights.empty());
    EXPECT_TRUE(messages().empty());
}

// Editing in the grid from the input box: which field, which right.
struct GridStart {
    const char* name;
    LineField field;
    std::optional<OperatorRight> right;  // none needed when empty
    bool supervisorGrants;
};

const GridStart kGridStarts[] = {
    {"QuantityNeedsNoRight", LineField::Quantity, std::nullopt, false},
    {"PriceRefused", LineField::Price, OperatorRight::Price, false},
    {"PriceGranted", LineField::Price, OperatorRight::Price, true},
    {"DiscountRefused", LineField::Discount, OperatorRight::Discount, false},
    {"DiscountGranted", LineField::Discount, OperatorRight::Discount, true},
};

class GridStartTest : public RegisterTest, public ::testing::WithParamInterface<GridStart> {};

TEST_P(GridStartTest, StartsOnlyWithTheRightOfItsField)
{
    const GridStart& c = GetParam();
    lines.startGridEditing(c.field);
    EXPECT_FALSE(view.grid) << "a bill without lines has nothing to edit";
    EXPECT_TRUE(f.person.supervisorRights.empty());

    enter("6901");
    if (c.right)
        f.person.supervisors = {c.supervisorGrants ? std::optional(test::kSupervisor) : std::nullopt};
    lines.startGridEditing(c.field);

    EXPECT_EQ(f.person.supervisorRights, c.right ? std::vector<OperatorRight>{*c.right} : std::vector<OperatorRight>{});
    const bool starts = !c.right || c.supervisorGrants;
    if (starts) {
        EXPECT_EQ(view.grid, c.field);
        EXPECT_FALSE(reg.FocusToInput);
        EXPECT_TRUE(messages().empty());
    } else {
        EXPECT_FALSE(view.grid);
        EXPECT_TRUE(reg.FocusToInput);
        ASSERT_EQ(f.person.messages.size(), 1u);
        EXPECT_EQ(f.person.messages[0].text, "您没有授权使用该操作！");
        EXPECT_EQ(f.person.messages[0].title, "");
        EXPECT_EQ(f.person.messages[0].icon, MessageIcon::Information);
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, GridStartTest, ::testing::ValuesIn(kGridStarts),
                         [](const auto& info) { return std::string(info.param.name); });

// A value typed into a cell of the grid, without a granted "-", on a line of one 6901 at
// 3.50.
struct GridValue {
    const char* name;
    LineField field;
    const char* typed;
    const char* message;  // nullptr: taken silently or refused silently, as `taken` says
    bool taken;
    double price;   // the line's Price and Amount afterwards
    double amount;
};

const GridValue kGridValues[] = {
    {"QuantityZero", LineField::Quantity, "0", "输入的数量不能为0！", false, 3.5, 3.5},
    {"DiscountBelowOne", LineField::Discount, "0.5", "折扣必须在1-100之间 ！", false, 3.5, 3.5},
    {"DiscountAboveHundred", LineField::Discount, "100.01", "折扣必须在1-100之间 ！", false, 3.5, 3.5},
    {"DiscountInRange", LineField::Discount, "95.5", nullptr, true, 3.5, 3.34},
    {"PastedRefundPrice", LineField::Price, "-3", nullptr, false, 3.5, 3.5},
    {"Price", LineField::Price, "3", nullptr, true, 3, 3},
};

class GridValueTest : public RegisterTest, public ::testing::WithParamInterface<GridValue> {};

TEST_P(GridValueTest, CellsTakeWhatTheBoxesWouldTake)
{
    const GridValue& c = GetParam();
    signOnSenior();
    enter("6901");
    lines.startGridEditing(c.field);

    EXPECT_EQ(lines.changeLine(0, c.field, c.typed), c.taken);
    if (c.message) {
        ASSERT_EQ(f.person.messages.size(), 1u);
        EXPECT_EQ(f.person.messages[0].text, c.message);
    } else {
        EXPECT_TRUE(messages().empty());
    }
    EXPECT_DOUBLE_EQ(line(0).price().toDouble(), c.price);
    EXPECT_DOUBLE_EQ(line(0).amount().toDouble(), c.amount) << "recomputed when taken, kept when refused";
}

INSTANTIATE_TEST_SUITE_P(Cells, GridValueTest, ::testing::ValuesIn(kGridValues),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegisterTest, GridEditingChangesAmountsAndRefreshesWhenLeft)
{
    enter("6901");
    enter("6902");
    f.person.supervisors = {test::kSupervisor};
    lines.startGridEditing(LineField::Discount);
    ASSERT_EQ(view.grid, LineField::Discount);

    EXPECT_TRUE(lines.changeLine(1, LineField::Discount, "50"));
    EXPECT_TRUE(lines.changeLine(1, LineField::Quantity, "3"));
    EXPECT_FALSE(lines.changeLine(0, LineField::Quantity, "zwei"));
    EXPECT_DOUBLE_EQ(line(0).quantity().toDouble(), 1);
    EXPECT_DOUBLE_EQ(line(1).amount().toDouble(), 18);
    EXPECT_EQ(view.totals->amountDue, "  15.50") << "totals wait until the editing ends";

    EXPECT_FALSE(lines.changeLine(0, LineField::Quantity, "-1")) << "a pasted return without its right";
    f.person.supervisors = {std::nullopt, test::kSupervisor};
    EXPECT_FALSE(lines.minusAllowed()) << "no return right and no supervisor";
    EXPECT_FALSE(lines.changeLine(0, LineField::Quantity, "-1"));
    EXPECT_TRUE(lines.minusAllowed());
    EXPECT_TRUE(lines.changeLine(0, LineField::Quantity, "-1"));

    view.boxes[EditBox::Input] = "69";
    lines.endGridEditing();
    EXPECT_FALSE(view.grid);
    EXPECT_TRUE(reg.FocusToInput);
    EXPECT_EQ(view.focused, EditBox::Input);
    EXPECT_EQ(view.text(EditBox::Input), "");
    EXPECT_EQ(view.totals->amountDue, "  14.50");
    EXPECT_EQ(view.totals->totalQty, "2");
    EXPECT_EQ(f.person.supervisorRights,
              (std::vector<OperatorRight>{OperatorRight::Discount, OperatorRight::Return, OperatorRight::Return}));
}

}  // namespace
}  // namespace pos
