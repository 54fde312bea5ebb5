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

// The local copy keeps operator passwords only as salted hashes; a null stays null. An
// operator whose back-office row is the version the last download hashed keeps that
// hash (`previous`: the local rows before the download); the others are hashed
// together, on every processor, as hashing dominates the download at start-up.
void hashPasswordColumn(const Columns& columns, std::vector<Row>& rows, const RowSet& previous)
{
    const auto password = columns.find("Password");
    if (!password)
        return;
    const auto id = columns.find("OperatorId");
    const auto version = columns.find("ServerRowVersion");
    std::map<std::pair<std::string, std::string>, std::string> kept;  // (OperatorId, version) -> hash
    for (std::size_t r = 0; r < previous.size(); ++r)
        if (!previous.at(r, "Password").isNull() && !previous.at(r, "ServerRowVersion").isNull())
            kept.emplace(std::pair(previous.at(r, "OperatorId").toString(), previous.at(r, "ServerRowVersion").toString()),
                         previous.at(r, "Password").toString());
    std::vector<std::string> plain;
    std::vector<Row*> toHash;
    for (Row& row : rows) {
        if (row[*password].isNull())
            continue;
        if (id && version && !row[*version].isNull()) {
            const auto same = kept.find(std::pair(row[*id].toString(), row[*version].toString()));
            if (same != kept.end()) {
                row[*password] = same->second;
                continue;
            }
        }
        plain.push_back(row[*password].toString());
        toHash.push_back(&row);
    }
    const std::vector<std::string> hashes = hashPasswords(plain);
    for (std::size_t i = 0; i < toHash.size(); ++i)
        (*toHash[i])[*password] = hashes[i];
}

// One local transaction per table: a copy that fails part-way leaves the previous rows
// (and indexes). The server rows are streamed, so the goods never have to fit in memory.
void replaceTable(DownloadStatements::Table& table, Database& local, const Params& params = {})
{
    Transaction transaction(local);
    const bool passwords = sameName(table.name, "PosOperator");
    const RowSet previous =
        passwords ? local.query("select OperatorId, Password, ServerRowVersion from PosOperator") : RowSet();
    std::vector<std::string> indexes = dropIndexes(local, table.name);
    local.execute(std::string("delete from ") + table.name);
    std::optional<RowCopy> copy;
    std::vector<Row> operators;  // few; kept until all are read and hashed
    table.rows.forEach(params, [&](const Columns& columns, const Row& row) {
        if (!copy)
            copy.emplace(local, table.name, columns);
        if (passwords)
            operators.push_back(row);
        else
            copy->insert(row);
    });
    if (copy && passwords) {
        hashPasswordColumn(copy->source(), operators, previous);
        for (const Row& row : operators)
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
