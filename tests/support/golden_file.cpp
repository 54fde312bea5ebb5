#include "support/golden_file.h"

#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace pos::test {

std::string readGolden(const std::string& pathUnderTests)
{
    const std::string path = std::string(POS_SOURCE_DIR) + "/tests/" + pathUnderTests;
    if (!std::filesystem::is_regular_file(path)) {
        ADD_FAILURE() << "golden file missing: " << path;
        return {};
    }
    std::string bytes = readFile(path);
    if (bytes.empty())
        ADD_FAILURE() << "golden file empty: " << path;
    return bytes;
}

}  // namespace pos::test
