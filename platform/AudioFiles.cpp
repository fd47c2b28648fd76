#include "AudioFiles.hpp"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Stand-in until the program's file layer is available: game paths with slashes, relative to the current
// directory.
namespace platform::audiofiles {

namespace {

std::string native(std::string_view gamePath) {
    std::string s(gamePath);
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

} // namespace

bool exists(std::string_view gamePath) {
    struct stat st {};
    return ::stat(native(gamePath).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::vector<std::uint8_t>> read(std::string_view gamePath) {
    int fd = ::open(native(gamePath).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::optional<std::vector<std::uint8_t>> result;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && std::uint64_t(st.st_size) <= kMaxSoundBytes) {
        std::vector<std::uint8_t> bytes(std::size_t(st.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += std::size_t(n);
        }
        bytes.resize(done);
        result = std::move(bytes);
    }
    ::close(fd);
    return result;
}

bool replace(std::string_view gamePath, std::span<const std::uint8_t> bytes) {
    const std::string path = native(gamePath);
    const std::string temp = path + ".tmp" + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return true;
    ::unlink(temp.c_str());
    return false;
}

bool createNew(std::string_view gamePath, std::span<const std::uint8_t> bytes) {
    const std::string path = native(gamePath);
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes);
    ok = ::close(fd) == 0 && ok;
    if (!ok) ::unlink(path.c_str());
    return ok;
}

} // namespace platform::audiofiles
