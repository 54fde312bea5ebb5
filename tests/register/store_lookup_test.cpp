#include "register/store_lookup.h"
#include "register/register_statements.h"
#include "support/terminal_fixture.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

// The lookups read the side they are given and take typed codes as values.
class StoreLookupTest : public ::testing::TestWithParam<WorkingMode> {
protected:
    StoreLookupTest()
    {
        Database& db = fx_.side(GetParam());
        db.execute("insert into B_Store(StoreId,Code,Name,IsPos) values(7,'S''7','七号店',0),(3,'S3','三号店',1)");
        db.execute("insert into PosMachine(MachineId,MachineCode,MachineName) values(5,'07','七号机')");
    }

    RegisterStatements& statements() { return fx_.side(GetParam()).statements<RegisterStatements>(); }

    test::TerminalFixture fx_;
};

TEST_P(StoreLookupTest, StoresAreFoundByFlagIdAndCode)
{
    RegisterStatements& sql = statements();
    std::optional<Store> store = GetPosStore(sql);
    ASSERT_TRUE(store);
    EXPECT_EQ(store->id, 3);
    EXPECT_EQ(store->code, "S3");

    store = GetStoreByCode(sql, "S'7");
    ASSERT_TRUE(store);
    EXPECT_EQ(store->id, 7);
    EXPECT_EQ(store->name, "七号店");
    EXPECT_FALSE(GetStoreByCode(sql, "S' or '1'='1"));

    store = GetStoreById(sql, 3);
    ASSERT_TRUE(store);
    EXPECT_EQ(store->name, "三号店");
    EXPECT_FALSE(GetStoreById(sql, 99));

    fx_.side(GetParam()).execute("update B_Store set IsPos=0");
    EXPECT_FALSE(GetPosStore(sql));
}

TEST_P(StoreLookupTest, SellingFromAStoreTakesItsIdCodeAndName)
{
    TPosState s;
    sellFrom(s, *GetStoreByCode(statements(), "S'7"));
    EXPECT_EQ(s.StoreId, 7);
    EXPECT_EQ(s.StoreCode, "S'7");
    EXPECT_EQ(s.StoreName, "七号店");
}

TEST_P(StoreLookupTest, MachineRowGivesCodeAndNameOrNothing)
{
    const Machine machine = GetMachine(statements(), 5);
    EXPECT_EQ(machine.code, "07");
    EXPECT_EQ(machine.name, "七号机");
    const Machine missing = GetMachine(statements(), 6);
    EXPECT_EQ(missing.code, "");
    EXPECT_EQ(missing.name, "");
}

INSTANTIATE_TEST_SUITE_P(BothModes, StoreLookupTest, ::testing::Values(Online, Offline),
                         [](const auto& info) { return info.param == Online ? "Online" : "Offline"; });

}  // namespace
}  // namespace pos
