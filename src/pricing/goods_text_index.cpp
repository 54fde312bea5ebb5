#include "pricing/goods_text_index.h"

#include "base/pos_error.h"
#include "db/sqlite_database.h"

#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace pos {
namespace {

constexpr char kSeparator = '\n';

// The local LIKE folds ASCII letters only; other characters match byte for byte.
char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// One bit of 64 for each pair of adjacent bytes: a text holds the needle only if its
// signature has every bit of the needle's.
std::uint64_t pairSignature(std::string_view text)
{
    std::uint64_t signature = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const auto pair = static_cast<std::uint64_t>(static_cast<unsigned char>(text[i - 1])) << 8
                          | static_cast<unsigned char>(text[i]);
        signature |= std::uint64_t{1} << ((pair * 0x9E3779B97F4A7C15ULL) >> 58);
    }
    return signature;
}

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
    pairs_ = {};
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
                      const std::size_t begin = text_.size();
                      std::transform(fields.begin(), fields.end(), std::back_inserter(text_), fold);
                      pairs_.push_back(pairSignature(std::string_view(text_).substr(begin)));
                      ends_.push_back(text_.size());
                  });
    built_ = true;
}

bool GoodsTextIndex::contains(std::size_t goods, std::string_view needle) const
{
    const std::size_t begin = goods == 0 ? 0 : ends_[goods - 1];
    return std::string_view(text_).substr(begin, ends_[goods] - begin).find(needle) != std::string_view::npos;
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
    std::size_t listed = 0;
    const std::size_t goodsCount = goodsIds_.size();
    if (needle.size() == 1) {
        // One byte has no pair: memchr runs through the text at the speed of the memory.
        const char* const all = text_.data();
        while (listed < count && from < goodsCount) {
            const std::size_t begin = from == 0 ? 0 : ends_[from - 1];
            const void* hit = std::memchr(all + begin, needle[0], text_.size() - begin);
            if (!hit) {
                from = goodsCount;
                break;
            }
            // The needle is no separator, so the hit lies inside one goods' text.
            const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - all);
            const auto goods = static_cast<std::size_t>(std::upper_bound(ends_.begin(), ends_.end(), at) - ends_.begin());
            ids.push_back(goodsIds_[goods]);
            ++listed;
            from = goods + 1;
        }
        return true;
    }
    const std::uint64_t wanted = pairSignature(needle);
    for (; listed < count && from < goodsCount; ++from)
        if ((pairs_[from] & wanted) == wanted && contains(from, needle)) {
            ids.push_back(goodsIds_[from]);
            ++listed;
        }
    return true;
}

}  // namespace pos
