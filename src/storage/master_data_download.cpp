#include "storage/master_data_download.h"

#include "db/password_hash.h"
#include "db/row_copy.h"
#include "pricing/pricing_statements.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
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

using PasswordHashes = std::map<std::int64_t, DownloadStatements::PasswordHash>;

// Makes the hash of every password of these operators that `made` lacks, on every core:
// each hash is slow on purpose, and they do not depend on one another.
void hashNewPasswords(const RowSet& operators, PasswordHashes& made)
{
    const auto password = operators.columns().find("Password");
    const auto id = operators.columns().find("OperatorId");
    if (!password || !id)
        return;
    std::vector<std::pair<std::int64_t, std::string>> missing;
    for (std::size_t r = 0; r < operators.size(); ++r) {
        const Row& row = operators.row(r);
        if (row[*password].isNull())
            continue;
        const auto earlier = made.find(row[*id].toInt());
        if (earlier == made.end() || earlier->second.password != row[*password].toString())
            missing.emplace_back(row[*id].toInt(), row[*password].toString());
    }
    std::vector<std::string> hashes(missing.size());
    std::atomic<std::size_t> next{0};
    std::mutex failureLock;
    std::exception_ptr failure;
    const auto work = [&] {
        for (std::size_t i; (i = next++) < missing.size();) {
            try {
                hashes[i] = hashPassword(missing[i].second);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failureLock);
                failure = std::current_exception();
            }
        }
    };
    const std::size_t threads = std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), missing.size());
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < threads; ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
    for (std::size_t i = 0; i < missing.size(); ++i)
        made[missing[i].first] = {std::move(missing[i].second), std::move(hashes[i])};
}

// The local copy keeps operator passwords only as salted hashes; a null stays null. The
// hash made for the same operator and password earlier in the session is kept.
Row withPasswordHashed(const Columns& columns, Row row, PasswordHashes& made)
{
    const auto password = columns.find("Password");
    if (!password || row[*password].isNull())
        return row;
    const std::string typed = row[*password].toString();
    const auto id = columns.find("OperatorId");
    if (!id) {
        row[*password] = hashPassword(typed);
        return row;
    }
    DownloadStatements::PasswordHash& earlier = made[row[*id].toInt()];
    if (earlier.hash.empty() || earlier.password != typed)
        earlier = {typed, hashPassword(typed)};
    row[*password] = earlier.hash;
    return row;
}

// One local transaction per table: a copy that fails part-way leaves the previous rows
// (and indexes). The server rows are streamed, so the goods never have to fit in memory;
// the few operators are read whole first, so that their passwords are hashed together
// and before the local file is locked.
void replaceTable(DownloadStatements& server, DownloadStatements::Table& table, Database& local,
                  const Params& params = {})
{
    std::optional<RowSet> operators;
    if (sameName(table.name, "PosOperator")) {
        operators = table.rows.query(params);
        hashNewPasswords(*operators, server.passwordHashes);
    }
    Transaction transaction(local);
    std::vector<std::string> indexes = dropIndexes(local, table.name);
    local.execute(std::string("delete from ") + table.name);
    std::optional<RowCopy> copy;
    const auto insert = [&](const Columns& columns, const Row& row) {
        if (!copy)
            copy.emplace(local, table.name, columns);
        copy->insert(operators ? withPasswordHashed(columns, row, server.passwordHashes) : row);
    };
    if (operators) {
        for (std::size_t r = 0; r < operators->size(); ++r)
            insert(operators->columns(), operators->row(r));
    } else {
        table.rows.forEach(params, insert);
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
        replaceTable(server, server.goods, local, {storeId});
        replaceTable(server, server.barCodes, local);
    }
    for (DownloadStatements::Table& table : server.others)
        replaceTable(server, table, local);
}

}  // namespace pos
