#pragma once

#include <string>
#include <string_view>

namespace pos {

// Replaces a file's contents so that a crash or a full disk leaves either the old file
// or the new one, never a torn one: the bytes go to a temporary file in the same
// directory, which is synced and renamed over the old file, and the directory is synced.
// A symbolic link is followed, so the file it names is the one replaced. Any failure
// raises PosError with the system's text; the old file then stays as it was.
void replaceFile(const std::string& path, std::string_view bytes, const std::string& operation);

}  // namespace pos
