#include "register/store_lookup.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

// The lookups read the side of the working mode and take typed codes as values.
class StoreLookupTest : public ::testing::TestWithParam<WorkingMode> {
protected:
    StoreLookupTest()
    {
        fx_.state.NetMode = GetParam();
        Database& db = fx_.side(GetParam());
        db.execute("insert into B_Store(StoreId,Code,Name,IsPos) values(7,'S''7','七号店',0),(3,'S3','三号店',1)");
        db.execute("insert into PosMachine(MachineId,MachineCode,MachineName) values(5,'07','七号机')");
    }

    test::TerminalFixture fx_;
};

TEST_P(StoreLookupTest, StoresAreFoundByFlagIdAndCode)
{
    TPosState& s = fx_.state;
    ASSERT_TRUE(GetPosStore(fx_.terminal));
    EXPECT_EQ(s.StoreId, 3);
    EXPECT_EQ(s.StoreCode, "S3");

    ASSERT_TRUE(GetStoreByCode(fx_.terminal, "S'7"));
    EXPECT_EQ(s.StoreId, 7);
    EXPECT_EQ(s.StoreName, "七号店");
    EXPECT_FALSE(GetStoreByCode(fx_.terminal, "S' or '1'='1"));
    EXPECT_EQ(s.StoreId, 7) << "a code that matches nothing changes nothing";

    GetStoreById(fx_.terminal, 3);
    EXPECT_EQ(s.StoreName, "三号店");
    GetStoreById(fx_.terminal, 99);
    EXPECT_EQ(s.StoreCode, "");
    EXPECT_EQ(s.StoreName, "");

    fx_.side(GetParam()).execute("update B_Store set IsPos=0");
    EXPECT_FALSE(GetPosStore(fx_.terminal));
}

TEST_P(StoreLookupTest, MachineRowGivesCodeAndNameOrNothing)
{
    GetMachine(fx_.terminal, 5);
    EXPECT_EQ(fx_.state.MachineCode, "07");
    EXPECT_EQ(fx_.state.MachineName, "七号机");
    GetMachine(fx_.terminal, 6);
    EXPECT_EQ(fx_.state.MachineCode, "");
    EXPECT_EQ(fx_.state.MachineName, "");
}

INSTANTIATE_TEST_SUITE_P(BothModes, StoreLookupTest, ::testing::Values(Online, Offline),
                         [](const auto& info) { return info.param == Online ? "Online" : "Offline"; });

}  // namespace
}  // namespace pos
