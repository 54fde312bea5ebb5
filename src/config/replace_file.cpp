#include "config/replace_file.h"

#include "base/pos_error.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pos {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    // Closing reports a write the kernel could not finish.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

std::string targetOf(const std::string& path)
{
    std::error_code error;
    std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Directories on some file systems cannot be synced (EINVAL); the rename stands there.
bool syncDirectory(const std::string& directory)
{
    FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return false;
    return ::fsync(dir.get()) == 0 || errno == EINVAL;
}

}  // namespace

void replaceFile(const std::string& path, std::string_view bytes, const std::string& operation)
{
    const std::string target = targetOf(path);
    auto fail = [&](const char* step) {
        throw PosError(std::string(step) + " " + target + "：" + std::strerror(errno), operation);
    };
    std::string directory = std::filesystem::path(target).parent_path().string();
    if (directory.empty())
        directory = ".";

    std::string temporary = target + ".XXXXXX";
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0)
        fail("无法建立临时文件以写入");
    auto discard = [&](const char* step) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        fail(step);
    };
    // The new file keeps the old one's permissions; mkostemp gives 0600.
    struct stat old {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (::fchmod(file.get(), mode) != 0 || !writeAll(file.get(), bytes))
        discard("无法写入");
    if (::fsync(file.get()) != 0 || !file.close())
        discard("无法保存");
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        discard("无法替换");
    if (!syncDirectory(directory))
        fail("无法确认已保存");
}

}  // namespace pos
