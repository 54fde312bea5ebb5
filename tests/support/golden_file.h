#pragma once

#include <string>

namespace pos::test {

// The bytes of a golden file under tests/, e.g. "peripherals/golden/drawer/x.bin". A
// missing or empty file fails the test: read as "nothing expected", it would pass a
// test in which nothing was sent.
std::string readGolden(const std::string& pathUnderTests);

}  // namespace pos::test
