#include "storage/master_data_download.h"

#include "db/password_hash.h"
#include "db/row_copy.h"
#include "pricing/pricing_statements.h"

#include <map>
#include <optional>
#include <utility>
#include <string>
#include <vector>

namespace pos {
namespace {

// The lookup indexes of a local table, dropped while its rows are replaced: building
// an index once over a million goods is faster than keeping it up row by row.
std::vector<std::string> dropIndexes(Database& local, const std::string& table)
{
    RowSet indexes = local.query(
        "select name, sql from sqlite_master where type='index' and tbl_name=$1 collate nocase and sql is not null",
        {table});
    std::vector<std::string> definitions;
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        local.execute("drop index \"" + indexes.at(i, "name").toString() + "\"");
        definitions.push_back(indexes.at(i, "sql").toString());
    }
    return definitions;
}

// The tables whose passwords the local copy keeps only as salted hashes (a null stays
// null), with the column that names each row and the work of their hashes.
struct PasswordOwner {
    const char* key;  // the column naming the row
    int iterations;
};

std::optional<PasswordOwner> passwordOwner(const std::string& table)
{
    if (sameName(table, "PosOperator"))
        return PasswordOwner{"OperatorId", kPasswordHashIterations};
    if (sameName(table, "B_VIPCards"))
        return PasswordOwner{"CardNo", kCardPasswordHashIterations};
    return std::nullopt;
}

// The hashes of the local copy before the download, by the row's key and the version of
// the back-office row each was made from.
using KeptHashes = std::map<std::pair<std::string, std::string>, std::string>;

KeptHashes keptHashes(Database& local, const std::string& table, const std::string& key)
{
    const RowSet previous = local.query("select " + key + " as RowKey, Password, ServerRowVersion from " + table
                                        + " where Password is not null and ServerRowVersion is not null");
    KeptHashes kept;
    for (std::size_t r = 0; r < previous.size(); ++r)
        kept.emplace(std::pair(previous.at(r, "RowKey").toString(), previous.at(r, "ServerRowVersion").toString()),
                     previous.at(r, "Password").toString());
    return kept;
}

// Gives the row the hash the last download made from the same version of its back-office
// row; false when its password still has to be hashed.
bool takeKeptHash(const Columns& columns, const char* key, const KeptHashes& kept, Row& row)
{
    const auto password = columns.find("Password");
    if (!password || row[*password].isNull())
        return true;
    const auto id = columns.find(key);
    const auto version = columns.find("ServerRowVersion");
    if (!id || !version || row[*version].isNull())
        return false;
    const auto same = kept.find(std::pair(row[*id].toString(), row[*version].toString()));
    if (same == kept.end())
        return false;
    row[*password] = same->second;
    return true;
}

// Hashing dominates a download whose rows changed: the rows left are hashed together, on
// every processor.
void hashPasswordColumn(const Columns& columns, std::vector<Row>& rows, int iterations)
{
    const std::size_t password = *columns.find("Password");
    std::vector<std::string> plain;
    for (const Row& row : rows)
        plain.push_back(row[password].toString());
    const std::vector<std::string> hashes = hashPasswords(plain, iterations);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i][password] = hashes[i];
}

// One local transaction per table: a copy that fails part-way leaves the previous rows
// (and indexes). The server rows are streamed, so the goods never have to fit in memory;
// of a table with passwords only the rows still to be hashed are held until the end.
void replaceTable(DownloadStatements::Table& table, Database& local, const Params& params = {})
{
    Transaction transaction(local);
    const std::optional<PasswordOwner> owner = passwordOwner(table.name);
    const KeptHashes kept = owner ? keptHashes(local, table.name, owner->key) : KeptHashes();
    std::vector<std::string> indexes = dropIndexes(local, table.name);
    local.execute(std::string("delete from ") + table.name);
    std::optional<RowCopy> copy;
    std::vector<Row> toHash;
    table.rows.forEach(params, [&](const Columns& columns, const Row& row) {
        if (!copy)
            copy.emplace(local, table.name, columns);
        if (!owner) {
            copy->insert(row);
            return;
        }
        Row stored = row;
        if (takeKeptHash(columns, owner->key, kept, stored))
            copy->insert(stored);
        else
            toHash.push_back(std::move(stored));
    });
    if (!toHash.empty()) {
        hashPasswordColumn(copy->source(), toHash, owner->iterations);
        for (const Row& row : toHash)
            copy->insert(row);
    }
    for (const std::string& definition : indexes)
        local.execute(definition);
    transaction.commit();
}

// The server's limit on one statement counts the time the terminal takes to store the
// rows it reads, and would end the copy of a large catalogue on a slow terminal. While
// the download runs the stream lives as long as its rows keep coming: the wait for each
// row still notices a server or network that stops.
class StatementLimitLifted {
public:
    explicit StatementLimitLifted(Database& server) : server_(server) { server_.execute("set statement_timeout = 0"); }
    ~StatementLimitLifted()
    {
        try {
            server_.execute("reset statement_timeout");  // back to the limit the connection opened with
        } catch (const DbError&) {
            // The connection broke: the error that ended the download says so, and the
            // next connection opens with its limit.
        }
    }
    StatementLimitLifted(const StatementLimitLifted&) = delete;
    StatementLimitLifted& operator=(const StatementLimitLifted&) = delete;

private:
    Database& server_;
};

}  // namespace

void downloadMasterData(DownloadStatements& server, Database& local, Person& person, int storeId, bool withGoods)
{
    StatementLimitLifted lifted(server.database());
    if (withGoods) {
        auto wait = person.pleaseWait("正在下载货品资料,请稍候...");
        // The substring search's text of the goods is read again at its next use; until
        // then nothing watches the goods, so no row of the copy fires a trigger.
        local.statements<PricingStatements>().goodsText.release(local);
        replaceTable(server.goods, local, {storeId});
        replaceTable(server.barCodes, local);
    }
    for (DownloadStatements::Table& table : server.others)
        replaceTable(table, local);
}

}  // namespace pos
