#pragma once

#include <cstddef>
#include <string_view>

namespace pos {

// How many places a search compares at once.
enum class Lanes { One, Sse2, Avx2 };

// The widest this processor has.
Lanes widestLanes();

// Where `needle` next occurs in `text` at or after `at`; npos when nowhere. Two of the
// needle's bytes, the one at `rare` and its last, are compared at many places at once,
// and only where both fit is the whole needle compared: a rare byte keeps those few.
std::size_t bytePairSearch(std::string_view text, std::size_t at, std::string_view needle, std::size_t rare,
                           Lanes lanes);

}  // namespace pos
