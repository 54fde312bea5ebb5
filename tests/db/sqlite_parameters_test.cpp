#include "db/sqlite_database.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace pos {
namespace {

// Values are bound to $1, $2, ... wherever and however often the text names them; a
// value the text does not name is left out, and each run starts from no values.
TEST(SqliteParameters, BindEachValueToItsNumberWhereverTheTextNamesIt)
{
    test::TempDir dir;
    SqliteDatabase db;
    ASSERT_TRUE(db.open(dir.file("parameters.db"), "123456"));

    const struct {
        const char* sql;
        Params params;
        const char* expected;
    } cases[] = {
        {"select $1||'-'||$2 as r", {"a", "b"}, "a-b"},
        {"select $2||'-'||$1 as r", {"a", "b"}, "b-a"},
        {"select $1||$1||$3 as r", {"x", "unused", "z"}, "xxz"},
        {"select $10||$2 as r", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "ten"}, "ten2"},
        {"select coalesce($2,'none') as r", {"only one"}, "none"},
        {"select typeof($1)||typeof($2)||typeof($3) as r", {Value(), 7, 2.5}, "nullintegerreal"},
    };
    for (const auto& c : cases) {
        auto statement = db.prepare(c.sql);
        EXPECT_EQ(statement->query(c.params).first("r").toString(), c.expected) << c.sql;
        EXPECT_EQ(db.query(c.sql, c.params).first("r").toString(), c.expected) << c.sql;
    }

    auto statement = db.prepare("select coalesce($1,'none')||coalesce($2,'none') as r");
    EXPECT_EQ(statement->query({"a", "b"}).first("r").toString(), "ab");
    EXPECT_EQ(statement->query({"c"}).first("r").toString(), "cnone") << "a value of the run before is kept";
}

}  // namespace
}  // namespace pos
