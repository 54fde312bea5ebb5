#include "db/local_schema.h"
#include "db/password_hash.h"

#include <string_view>

namespace pos {

namespace embedded {
extern const std::string_view localSchemaSql;
extern const std::string_view localPosHelpSql;
}  // namespace embedded

namespace {

using Migration = void (*)(SqliteDatabase&);

// Version 1: the tables and the default key map. Files made before the version was
// kept already hold these tables; every statement of the script tolerates that.
void createTables(SqliteDatabase& local)
{
    local.executeScript(embedded::localSchemaSql);
    if (local.query("select count(*) as n from PosHelp").first("n").toInt() == 0)
        local.executeScript(embedded::localPosHelpSql);
}

// Version 2: a back office may repeat an operator code; its download must still go in.
void allowRepeatedOperatorCodes(SqliteDatabase& local)
{
    local.executeScript("drop index if exists ux_posoperator_code;"
                        "create index if not exists ix_posoperator_code on PosOperator (Code);");
}

// Version 3: the file keeps operator passwords only as salted hashes. Files before it
// hold them as the back office sent them, so every one is hashed.
void hashOperatorPasswords(SqliteDatabase& local)
{
    RowSet plain = local.query("select OperatorId, Password from PosOperator where Password is not null");
    for (std::size_t r = 0; r < plain.size(); ++r)
        local.execute("update PosOperator set Password=$1 where OperatorId=$2",
                      {hashPassword(plain.at(r, "Password").toString()), plain.at(r, "OperatorId")});
}

// Version 4: beside each operator's hash, the version of the back office's row it was
// made from, so a download hashes only the passwords that changed. Tolerates a file
// that has the column already.
void keepOperatorRowVersions(SqliteDatabase& local)
{
    if (!local.tableColumns("PosOperator").find("ServerRowVersion"))
        local.executeScript("alter table PosOperator add column ServerRowVersion TEXT;");
}

// Append new migrations; never change one that has shipped.
constexpr Migration kMigrations[] = {createTables, allowRepeatedOperatorCodes, hashOperatorPasswords,
                                     keepOperatorRowVersions};

}  // namespace

int localSchemaVersion() { return static_cast<int>(std::size(kMigrations)); }

void migrateLocalSchema(SqliteDatabase& local)
{
    const auto stored = local.query("pragma user_version").row(0).at(0).toInt();
    if (stored > localSchemaVersion())
        throw DbError("the local file has schema version " + std::to_string(stored) + ", newer than this program's "
                      + std::to_string(localSchemaVersion()));
    for (auto version = stored + 1; version <= localSchemaVersion(); ++version) {
        Transaction transaction(local);
        kMigrations[version - 1](local);
        // A pragma takes no bound value; the number is the program's own.
        local.executeScript("pragma user_version = " + std::to_string(version));
        transaction.commit();
    }
}

}  // namespace pos
