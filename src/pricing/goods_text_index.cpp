#include "pricing/goods_text_index.h"

#include "base/pos_error.h"
#include "db/sqlite_database.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstring>
#include <string.h>

namespace pos {
namespace {

constexpr char kSeparator = '\n';

// The local LIKE folds ASCII letters only; other characters match byte for byte.
char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void goodsChanged(sqlite3_context* context, int, sqlite3_value**)
{
    static_cast<GoodsTextIndex*>(sqlite3_user_data(context))->forget();
}

// Every change of the searchable columns, by whatever code, forgets the text: a function
// of this index called by temporary triggers, which live as long as the connection.
void watchGoods(SqliteDatabase& db, GoodsTextIndex* index)
{
    if (sqlite3_create_function(db.handle(), "pos_goods_text_changed", 0, SQLITE_UTF8, index, goodsChanged, nullptr,
                                nullptr)
        != SQLITE_OK)
        throw PosError(std::string("无法监视本地货品资料: ") + sqlite3_errmsg(db.handle()));
    db.executeScript(
        "create temp trigger if not exists pos_goods_text_insert after insert on main.B_Goods "
        "begin select pos_goods_text_changed(); end;"
        "create temp trigger if not exists pos_goods_text_delete after delete on main.B_Goods "
        "begin select pos_goods_text_changed(); end;"
        "create temp trigger if not exists pos_goods_text_update after update of GoodsId,Code,BarCode,FindCode,Name "
        "on main.B_Goods begin select pos_goods_text_changed(); end;");
}

void stopWatchingGoods(SqliteDatabase& db)
{
    db.executeScript("drop trigger if exists temp.pos_goods_text_insert;"
                     "drop trigger if exists temp.pos_goods_text_delete;"
                     "drop trigger if exists temp.pos_goods_text_update;");
}

}  // namespace

void GoodsTextIndex::release(Database& local)
{
    forget();
    auto& file = dynamic_cast<SqliteDatabase&>(local);
    if (builtOn_ != file.handle())
        return;
    stopWatchingGoods(file);
    builtOn_ = nullptr;  // the next build watches again
}

void GoodsTextIndex::forget()
{
    built_ = false;
    text_ = {};
    ends_ = {};
    goodsIds_ = {};
}

void GoodsTextIndex::build(Database& local)
{
    forget();
    auto& file = dynamic_cast<SqliteDatabase&>(local);
    if (builtOn_ != file.handle()) {
        watchGoods(file, this);
        builtOn_ = file.handle();
    }
    // A null column matches nothing; as an empty field it can only match the empty text,
    // which the index leaves to the file. Numbers become text as LIKE sees them.
    local.forEach("select GoodsId, coalesce(Code,'')||char(10)||coalesce(BarCode,'')||char(10)||"
                  "coalesce(FindCode,'')||char(10)||coalesce(Name,'')||char(10) as Text "
                  "from B_Goods order by GoodsId",
                  {}, [this](const Columns&, const Row& row) {
                      goodsIds_.push_back(row[0].toInt());
                      const std::string fields = row[1].toString();
                      std::transform(fields.begin(), fields.end(), std::back_inserter(text_), fold);
                      ends_.push_back(text_.size());
                  });
    built_ = true;
}

bool GoodsTextIndex::find(Database& local, std::string_view text, std::vector<std::int64_t>& ids)
{
    ids.clear();
    if (text.empty() || text.find(kSeparator) != std::string_view::npos)
        return false;
    if (!built_ || builtOn_ != dynamic_cast<SqliteDatabase&>(local).handle())
        build(local);
    std::string needle(text.size(), '\0');
    std::transform(text.begin(), text.end(), needle.begin(), fold);
    // glibc's memmem compares several bytes at once, where a byte-wise skip search is
    // held back by the many digits of codes and bar codes.
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    const char* from = begin;
    while (const void* found = memmem(from, static_cast<std::size_t>(end - from), needle.data(), needle.size())) {
        const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - begin);
        // The needle holds no separator, so a hit lies inside one goods' text; the search
        // goes on after it, so each goods is listed once.
        const auto goods = std::upper_bound(ends_.begin(), ends_.end(), at);
        ids.push_back(goodsIds_[static_cast<std::size_t>(goods - ends_.begin())]);
        from = begin + *goods;
    }
    return true;
}

}  // namespace pos
