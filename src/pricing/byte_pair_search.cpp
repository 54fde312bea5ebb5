#include "pricing/byte_pair_search.h"

#include <cstring>
#include <string>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace pos {
namespace {

// Where a block scan stopped: the first match, or npos and the first start it left to
// the caller.
struct Scan {
    std::size_t found;
    std::size_t next;
};

// The first start in a block whose bit is set and where the whole needle is.
std::size_t firstMatch(const char* block, unsigned candidates, std::string_view needle)
{
    for (; candidates != 0; candidates &= candidates - 1) {
        const auto start = static_cast<std::size_t>(__builtin_ctz(candidates));
        if (std::memcmp(block + start, needle.data(), needle.size()) == 0)
            return start;
    }
    return std::string::npos;
}

#if defined(__x86_64__)
// Sixteen starts at a time: every x86-64 processor has SSE2.
Scan scanSse2(const char* text, std::size_t p, std::size_t lastStart, std::string_view needle, std::size_t rare)
{
    const std::size_t last = needle.size() - 1;
    const __m128i rareByte = _mm_set1_epi8(needle[rare]), lastByte = _mm_set1_epi8(needle[last]);
    for (; p + 15 <= lastStart; p += 16) {
        const __m128i atRare = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + p + rare));
        const __m128i atLast = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + p + last));
        const auto both = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(atRare, rareByte), _mm_cmpeq_epi8(atLast, lastByte))));
        if (const std::size_t at = firstMatch(text + p, both, needle); at != std::string::npos)
            return {p + at, p};
    }
    return {std::string::npos, p};
}

// Thirty-two starts at a time where the processor has AVX2: the scan then runs at the
// speed the memory delivers the text.
__attribute__((target("avx2"))) Scan scanAvx2(const char* text, std::size_t p, std::size_t lastStart,
                                              std::string_view needle, std::size_t rare)
{
    const std::size_t last = needle.size() - 1;
    const __m256i rareByte = _mm256_set1_epi8(needle[rare]), lastByte = _mm256_set1_epi8(needle[last]);
    for (; p + 31 <= lastStart; p += 32) {
        const __m256i atRare = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + p + rare));
        const __m256i atLast = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + p + last));
        const auto both = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_and_si256(_mm256_cmpeq_epi8(atRare, rareByte), _mm256_cmpeq_epi8(atLast, lastByte))));
        if (const std::size_t at = firstMatch(text + p, both, needle); at != std::string::npos)
            return {p + at, p};
    }
    return {std::string::npos, p};
}
#endif

}  // namespace

Lanes widestLanes()
{
#if defined(__x86_64__)
    return __builtin_cpu_supports("avx2") ? Lanes::Avx2 : Lanes::Sse2;
#else
    return Lanes::One;
#endif
}

std::size_t bytePairSearch(std::string_view text, std::size_t at, std::string_view needle, std::size_t rare,
                           Lanes lanes)
{
    const std::size_t length = needle.size();
    if (length == 0 || length > text.size() || at > text.size() - length || rare >= length)
        return std::string::npos;
    const std::size_t lastStart = text.size() - length, last = length - 1;
    Scan scan{std::string::npos, at};
#if defined(__x86_64__)
    if (lanes == Lanes::Avx2)
        scan = scanAvx2(text.data(), at, lastStart, needle, rare);
    else if (lanes == Lanes::Sse2)
        scan = scanSse2(text.data(), at, lastStart, needle, rare);
    if (scan.found != std::string::npos)
        return scan.found;
#endif
    for (std::size_t p = scan.next; p <= lastStart; ++p)
        if (text[p + last] == needle[last] && std::memcmp(text.data() + p, needle.data(), length) == 0)
            return p;
    return std::string::npos;
}

}  // namespace pos
