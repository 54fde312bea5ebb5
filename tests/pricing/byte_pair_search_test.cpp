#include "pricing/byte_pair_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace pos {
namespace {

std::vector<Lanes> lanesOfThisProcessor()
{
    std::vector<Lanes> lanes{Lanes::One};
    if (widestLanes() != Lanes::One)
        lanes.push_back(Lanes::Sse2);
    if (widestLanes() == Lanes::Avx2)
        lanes.push_back(Lanes::Avx2);
    return lanes;
}

// Every width finds what a plain find finds, whichever byte is taken as the rare one,
// also at the ends of the text and of the wide blocks: texts of three letters, so
// that partial matches are everywhere.
TEST(BytePairSearch, FindsWhatAPlainFindFinds)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> letter('a', 'c');
    for (const Lanes lanes : lanesOfThisProcessor()) {
        for (int round = 0; round < 400; ++round) {
            std::string text(std::uniform_int_distribution<std::size_t>(0, 150)(random), ' ');
            for (char& c : text)
                c = static_cast<char>(letter(random));
            std::string needle(std::uniform_int_distribution<std::size_t>(1, 8)(random), ' ');
            for (char& c : needle)
                c = static_cast<char>(letter(random));
            for (std::size_t rare = 0; rare < needle.size(); ++rare)
                for (std::size_t at = 0; at <= text.size() + 1; at += 7)
                    ASSERT_EQ(bytePairSearch(text, at, needle, rare, lanes), std::string_view(text).find(needle, at))
                        << "text " << text << ", needle " << needle << ", rare " << rare << ", at " << at
                        << ", lanes " << static_cast<int>(lanes);
        }
    }
}

TEST(BytePairSearch, FindsAMatchEndingAtTheLastByte)
{
    for (const Lanes lanes : lanesOfThisProcessor()) {
        for (std::size_t size : {1u, 15u, 16u, 31u, 32u, 33u, 64u, 100u}) {
            const std::string text = std::string(size - 1, 'x') + "商品9";
            EXPECT_EQ(bytePairSearch(text, 0, "商品9", 1, lanes), size - 1) << size;
            EXPECT_EQ(bytePairSearch(text, 0, "商品8", 1, lanes), std::string::npos) << size;
        }
    }
}

}  // namespace
}  // namespace pos
