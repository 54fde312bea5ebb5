#include "register/register_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

using test::RegisterTest;

MemberCardRead cardRead(const std::string& typed, MemberDiscountType discountType, double discount)
{
    CurrentMember m;
    m.VIPCardNo = "8801";
    m.VIPHolderName = "周敏";
    m.VIPCardKind = MemberCardKind::Other;
    m.VIPDiscountType = discountType;
    m.VIPDiscount = discount;
    return {typed, m};
}

TEST_F(RegisterTest, AMemberCardIsReadOnlyOnAnEmptyBill)
{
    enter("6901");
    enter("6/");
    EXPECT_EQ(messages(), std::vector<std::string>{"请在开单之前输入会员卡号！"});
    EXPECT_TRUE(reg.sale.member.VIPCardNo.empty());
    EXPECT_TRUE(reg.sale.bill.insiderCode().toString().empty());
}

TEST_F(RegisterTest, AMemberDiscountIsAWholeBillDiscountForEveryGoodsInput)
{
    view.memberCards = {cardRead(" 8801 ", MemberDiscountType::CardDiscount, 90)};
    enter("6/");
    EXPECT_EQ(reg.sale.bill.insiderCode().toString(), "8801");
    EXPECT_EQ(reg.sale.member.VIPHolderName, "周敏");
    ASSERT_TRUE(view.header);
    EXPECT_EQ(view.header->member, "8801  周敏");
    EXPECT_EQ(view.text(EditBox::Discount), "90");
    EXPECT_EQ(reg.sale.DiscountState, BillDiscountState::WholeBill);

    enter("6901");
    enter("6902");
    ASSERT_EQ(lineCount(), 2u);
    EXPECT_DOUBLE_EQ(line(1).discount().toDouble(), 90);
    EXPECT_DOUBLE_EQ(line(1).amount().toDouble(), 10.8);
    enter("/");
    EXPECT_EQ(messages(), std::vector<std::string>{"现在是整单折扣状态，不能进行单个货品折扣！"});
}

TEST_F(RegisterTest, AMemberPriceCardLeavesTheDiscountAndACancelledDialogChangesNothing)
{
    view.memberCards = {cardRead("8801", MemberDiscountType::MemberPrices, 100), std::nullopt};
    enter("6/");
    EXPECT_EQ(reg.sale.bill.insiderCode().toString(), "8801");
    EXPECT_EQ(view.text(EditBox::Discount), "100");
    EXPECT_EQ(reg.sale.DiscountState, BillDiscountState::None);

    signOnSenior();  // deletes the bill, which takes the card off
    f.person.answers = {true};
    enter("10/");
    enter("6/");
    EXPECT_TRUE(reg.sale.member.VIPCardNo.empty());
    EXPECT_TRUE(reg.sale.bill.insiderCode().toString().empty());
    EXPECT_TRUE(view.memberCards.empty());
}

}  // namespace
}  // namespace pos
