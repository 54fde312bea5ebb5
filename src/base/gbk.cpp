#include "base/gbk.h"

#include <cerrno>
#include <iconv.h>

namespace pos {
namespace {

// Converts with iconv; a character that cannot be converted is replaced (or fails).
std::optional<std::string> convert(const char* to, const char* from, std::string_view in, bool replace)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out;
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[256];
    bool ok = true;
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            if (!replace) {
                ok = false;
                break;
            }
            // skip one whole UTF-8 character and put a question mark in its place
            std::size_t skip = 1;
            auto lead = static_cast<unsigned char>(*src);
            if (lead >= 0xF0)
                skip = 4;
            else if (lead >= 0xE0)
                skip = 3;
            else if (lead >= 0xC0)
                skip = 2;
            skip = std::min(skip, srcLeft);
            src += skip;
            srcLeft -= skip;
            out.push_back('?');
        }
    }
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    return out;
}

}  // namespace

std::string utf8ToGbk(std::string_view utf8)
{
    return convert("GBK", "UTF-8", utf8, true).value_or(std::string());
}

std::optional<std::string> gbkToUtf8(std::string_view gbk)
{
    return convert("UTF-8", "GBK", gbk, false);
}

}  // namespace pos
