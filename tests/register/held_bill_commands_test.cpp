#include "register/register_fixture.h"
#include "support/member_cards.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

using test::RegisterTest;

// "4/", "5/" and "39/" on the terminal of the register fixture, in either working mode:
// held bills always live in the local file.
class HeldBillCommands : public RegisterTest, public ::testing::WithParamInterface<WorkingMode> {
public:
    HeldBillCommands()
    {
        f.state.NetMode = GetParam();
        Database& local = f.dm.conClient();
        test::addMemberCard(local, {.cardNo = "V4",
                                    .holderName = "钱七",
                                    .cardType = "普通卡",
                                    .discountType = "会员卡折扣",
                                    .discount = 95});
        local.execute("insert into B_Employ(EmployId,Code,Name) values(7,'E7','张三')");
    }

    std::int64_t heldBills()
    {
        return f.dm.conClient().query("select count(*) as n from hPosBill").first("n").toInt();
    }

    // Two lines for member V4 with salesperson 7, entered at the card's discount.
    void sellToMember()
    {
        reg.sale.bill.insiderCode() = "V4";
        reg.sale.bill.exeManId() = 7;
        reg.sale.member.VIPCardNo = "V4";
        reg.sale.DiscountState = BillDiscountState::WholeBill;
        view.boxes[EditBox::Discount] = "95";
        enter("6902");
        enter("6903");
    }
};

TEST_P(HeldBillCommands, AHeldBillLeavesAnEmptyBillAndComesBackWithItsMemberAndSalesperson)
{
    sellToMember();
    const std::string billNo = reg.sale.bill.billNo().toString();
    view.boxes[EditBox::Quantity] = "3";

    enter("4/");
    EXPECT_EQ(heldBills(), 1);
    EXPECT_EQ(lineCount(), 0u);
    EXPECT_EQ(reg.sale.NextOrderId, 1);
    EXPECT_EQ(reg.sale.DiscountState, BillDiscountState::None);
    EXPECT_EQ(view.text(EditBox::Discount), "100");
    EXPECT_EQ(view.text(EditBox::Quantity), "1");
    EXPECT_EQ(reg.sale.member.VIPCardNo, "");
    EXPECT_EQ(reg.sale.bill.insiderCode().toString(), "");
    ASSERT_TRUE(view.header);
    EXPECT_EQ(view.header->billNo, billNo);  // the number was never taken
    EXPECT_EQ(view.header->member, "");

    view.heldBillPicks = {std::string("0001")};
    enter("5/");
    EXPECT_EQ(view.heldBillsListed, std::vector<std::string>{"0001"});
    EXPECT_EQ(heldBills(), 0);
    ASSERT_EQ(lineCount(), 2u);
    EXPECT_EQ(line(0).name().toString(), "毛巾");
    EXPECT_DOUBLE_EQ(line(1).amount().toDouble(), 9.5);
    EXPECT_EQ(reg.sale.NextOrderId, 3);
    EXPECT_EQ(reg.sale.bill.billNo().toString(), billNo);
    EXPECT_EQ(reg.sale.bill.exeManId().toInt(), 7);
    EXPECT_EQ(view.header->member, "V4  钱七");
    EXPECT_EQ(view.header->exeMan, "张三");
    // Goods added now get the member's discount as before the hold.
    EXPECT_EQ(view.text(EditBox::Discount), "95");
    enter("6901");
    EXPECT_EQ(line(2).orderId().toInt(), 3);
    EXPECT_DOUBLE_EQ(line(2).discount().toDouble(), 95);
    EXPECT_TRUE(messages().empty());
}

TEST_P(HeldBillCommands, ARecallLeftWithoutABillChangesNothing)
{
    enter("6902");
    enter("4/");
    reg.sale.NextOrderId = 5;
    view.heldBillPicks = {std::nullopt};
    enter("5/");
    EXPECT_EQ(reg.sale.NextOrderId, 1);
    EXPECT_EQ(lineCount(), 0u);
    EXPECT_EQ(heldBills(), 1);
}

TEST_P(HeldBillCommands, ASupervisorClearsEveryHeldBillWithoutBeingAsked)
{
    for (const char* goods : {"6901", "6902"}) {
        enter(goods);
        enter("4/");
    }
    ASSERT_EQ(heldBills(), 2);
    signOnSenior();
    enter("39/");
    EXPECT_EQ(heldBills(), 0);
    EXPECT_TRUE(f.person.questions.empty());
    EXPECT_TRUE(messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Register, HeldBillCommands, ::testing::Values(Online, Offline),
                         [](const auto& info) { return std::string(info.param == Online ? "Online" : "Offline"); });

}  // namespace
}  // namespace pos
