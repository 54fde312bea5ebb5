#include "pricing/goods_text_index.h"

#include "base/pos_error.h"
#include "db/sqlite_database.h"
#include "pricing/byte_pair_search.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstring>


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


}  // namespace

void GoodsTextIndex::forget()
{
    built_ = false;
    text_ = {};
    byteCounts_ = {};
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
                      for (char c : fields) {
                          text_.push_back(fold(c));
                          ++byteCounts_[static_cast<unsigned char>(text_.back())];
                      }
                      ends_.push_back(text_.size());
                  });
    built_ = true;
}

std::size_t GoodsTextIndex::search(std::string_view needle, std::size_t at) const
{
    // Names share their first characters and codes their digits: the byte of the needle
    // rarest in the goods' text keeps the full compares few.
    const std::size_t last = needle.size() - 1;
    std::size_t rare = 0;
    for (std::size_t i = 1; i < last; ++i)
        if (byteCounts_[static_cast<unsigned char>(needle[i])] < byteCounts_[static_cast<unsigned char>(needle[rare])])
            rare = i;
    static const Lanes lanes = widestLanes();
    return bytePairSearch(text_, at, needle, rare, lanes);
}

bool GoodsTextIndex::find(Database& local, std::string_view text, std::size_t& from, std::size_t count,
                          std::vector<std::int64_t>& ids)
{
    if (text.empty() || text.find(kSeparator) != std::string_view::npos)
        return false;
    if (!built_ || builtOn_ != dynamic_cast<SqliteDatabase&>(local).handle())
        build(local);
    std::string needle(text.size(), '\0');
    std::transform(text.begin(), text.end(), needle.begin(), fold);
    for (std::size_t listed = 0; listed < count && from < goodsIds_.size(); ++listed) {
        const std::size_t at = search(needle, from == 0 ? 0 : ends_[from - 1]);
        if (at == std::string::npos) {
            from = goodsIds_.size();
            break;
        }
        // The needle holds no separator, so a hit lies inside one goods' text; the search
        // goes on after it, so each goods is listed once.
        const auto goods = static_cast<std::size_t>(std::upper_bound(ends_.begin(), ends_.end(), at) - ends_.begin());
        ids.push_back(goodsIds_[goods]);
        from = goods + 1;
    }
    return true;
}

}  // namespace pos
