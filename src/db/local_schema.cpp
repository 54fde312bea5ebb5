#include "db/local_schema.h"
#include "db/password_hash.h"

#include <string>
#include <string_view>
#include <vector>

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

// Hashes every password the table holds as the back office sent it, all at once: each
// row named by its key column.
void hashStoredPasswords(SqliteDatabase& local, const std::string& table, const std::string& key, int iterations)
{
    RowSet plain = local.query("select " + key + " as RowKey, Password from " + table + " where Password is not null");
    std::vector<std::string> passwords;
    for (std::size_t r = 0; r < plain.size(); ++r)
        passwords.push_back(plain.at(r, "Password").toString());
    const std::vector<std::string> hashes = hashPasswords(passwords, iterations);
    for (std::size_t r = 0; r < plain.size(); ++r)
        local.execute("update " + table + " set Password=$1 where " + key + "=$2", {hashes[r], plain.at(r, "RowKey")});
}

// Beside each hash, the version of the back office's row it was made from, so a download
// hashes only the passwords that changed. Tolerates a file that has the column already.
void addServerRowVersion(SqliteDatabase& local, const std::string& table)
{
    if (!local.tableColumns(table).find("ServerRowVersion"))
        local.executeScript("alter table " + table + " add column ServerRowVersion TEXT;");
}

// Version 3: the file keeps operator passwords only as salted hashes. Files before it
// hold them as the back office sent them, so every one is hashed.
void hashOperatorPasswords(SqliteDatabase& local)
{
    hashStoredPasswords(local, "PosOperator", "OperatorId", kPasswordHashIterations);
}

// Version 4: the row versions beside the operators' hashes.
void keepOperatorRowVersions(SqliteDatabase& local) { addServerRowVersion(local, "PosOperator"); }

// Version 5: member-card passwords too are kept only as salted hashes, with their row
// versions, as the operators' are: the file's key is in every copy of the program.
void hashMemberCardPasswords(SqliteDatabase& local)
{
    addServerRowVersion(local, "B_VIPCards");
    hashStoredPasswords(local, "B_VIPCards", "CardNo", kCardPasswordHashIterations);
}

// Append new migrations; never change one that has shipped.
constexpr Migration kMigrations[] = {createTables, allowRepeatedOperatorCodes, hashOperatorPasswords,
                                     keepOperatorRowVersions, hashMemberCardPasswords};

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
