// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/system/Fs.hpp"

#include "platform/core/Error.hpp"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace platform::fs {

namespace {

std::string g_programDir;
std::string g_userDir;
bool g_rootsSet = false;
std::string g_cachedUserDir;
std::string g_userSubfolder;

// Messages reach the user as they stand: Polish, with the path as the system writes it.
[[noreturn]] void fail(const std::string& what, const std::string& path, int err) {
    const bool forWriting = what.starts_with("Nie można zapisać") || what.starts_with("Nie można zastąpić");
    throw FileError(what + " \u201e" + path + "\u201d: " + polishReason(err, forWriting), err);
}

std::string dirName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isDir(const std::string& native) {
    struct stat st {};
    return ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegular(const std::string& native) {
    struct stat st {};
    return ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool pathExists(const std::string& native) {
    struct stat st {};
    return ::lstat(native.c_str(), &st) == 0;
}

// "/usr/bin/../share/wirowanki" → "/usr/share/wirowanki", so messages and paths read plainly.
std::string canonical(const std::string& native) {
    char buf[PATH_MAX];
    return ::realpath(native.c_str(), buf) ? std::string(buf) : native;
}

// Decodes one UTF-8 sequence; malformed bytes stand for themselves.
char32_t nextCodepoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    auto cont = [&](std::size_t k) -> int {
        if (i + k >= s.size()) return -1;
        const auto b = static_cast<unsigned char>(s[i + k]);
        return (b & 0xC0) == 0x80 ? (b & 0x3F) : -1;
    };
    if (b0 >= 0xC2 && b0 < 0xE0) {
        const int c1 = cont(1);
        if (c1 >= 0) {
            i += 2;
            return char32_t(((b0 & 0x1F) << 6) | c1);
        }
    } else if (b0 >= 0xE0 && b0 < 0xF0) {
        const int c1 = cont(1), c2 = c1 >= 0 ? cont(2) : -1;
        if (c2 >= 0) {
            i += 3;
            return char32_t(((b0 & 0x0F) << 12) | (c1 << 6) | c2);
        }
    } else if (b0 >= 0xF0 && b0 < 0xF5) {
        const int c1 = cont(1), c2 = c1 >= 0 ? cont(2) : -1, c3 = c2 >= 0 ? cont(3) : -1;
        if (c3 >= 0) {
            i += 4;
            return char32_t(((b0 & 0x07) << 18) | (c1 << 12) | (c2 << 6) | c3);
        }
    }
    i += 1;
    return char32_t(b0);
}

// Lower case for ASCII, Latin-1 and Latin Extended-A, which covers the Polish letters.
char32_t foldChar(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
    return c;
}

std::u32string folded(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();)
        out.push_back(foldChar(nextCodepoint(s, i)));
    return out;
}

bool globMatch(const std::u32string& name, const std::u32string& mask) {
    std::size_t n = 0, m = 0, starM = std::u32string::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == U'?' || mask[m] == name[n])) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == U'*') {
            starM = m++;
            starN = n;
        } else if (starM != std::u32string::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == U'*')
        ++m;
    return m == mask.size();
}

std::vector<std::string> components(std::string_view gamePath) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : gamePath) {
        if (c == '\\' || c == '/') {
            if (!cur.empty() && cur != ".") parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty() && cur != ".") parts.push_back(cur);
    return parts;
}

// The entry of dir whose name equals name ignoring case, or name itself when there is none.
std::string matchInDir(const std::string& dir, const std::string& name) {
    if (pathExists(dir + "/" + name)) return name;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return name;
    const auto want = folded(name);
    std::string found = name;
    while (dirent* e = ::readdir(d)) {
        if (folded(e->d_name) == want) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

std::string resolveUnder(const std::string& base, const std::vector<std::string>& parts, std::size_t first) {
    std::string path = base;
    bool missing = false;
    for (std::size_t i = first; i < parts.size(); ++i) {
        // Once a component is missing nothing below it can exist; keep the names as given.
        const std::string name = missing ? parts[i] : matchInDir(path, parts[i]);
        if (!missing && !pathExists(path + "/" + name)) missing = true;
        path += "/" + name;
    }
    return path;
}

bool dirWritable(const std::string& dir) {
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

bool makeDirs(const std::string& native, mode_t mode = 0755) {
    if (native.empty()) return false;
    if (isDir(native)) return true;
    const std::string parent = dirName(native);
    if (parent != native && !isDir(parent)) makeDirs(parent, mode);
    if (::mkdir(native.c_str(), mode) == 0 || errno == EEXIST) return isDir(native);
    return false;
}

std::string exeDir() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    buf[n] = '\0';
    return dirName(buf);
}

const DataLocation& startLocation() {
    static const DataLocation where = findDataDir(exeDir(), std::getenv("XDG_DATA_DIRS"));
    return where;
}

// $HOME, else the password database's home; empty when there is none.
std::string homeDirectory() {
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
        home = h;
    } else {
        passwd pw{};
        passwd* found = nullptr;
        char buf[4096];
        if (::getpwuid_r(::getuid(), &pw, buf, sizeof buf, &found) == 0 && found && found->pw_dir &&
            found->pw_dir[0] == '/')
            home = found->pw_dir;
    }
    return home;
}

// $XDG_DATA_HOME/wirowanki, else ~/.local/share/wirowanki; empty when there is no home at all.
std::string xdgUserDir() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return std::string(xdg) + "/wirowanki";
    const std::string home = homeDirectory();
    return home.empty() ? std::string() : home + "/.local/share/wirowanki";
}

std::string computeUserDir() {
    const std::string prog = programDir();
    // A "portable" file beside the program keeps everything in one directory (a memory stick, a test's
    // scratch copy). An installed data set is shared and read-only by intent, so it never asks for that.
    const bool installed = !g_rootsSet && startLocation().installed;
    if (!installed && isRegular(prog + "/portable") && dirWritable(prog)) return prog;
    const std::string dir = xdgUserDir();
    if (dir.empty()) return prog;
    // A child's recordings and statistics are nobody else's business; missing parents get the same mode,
    // as the base directory rules ask.
    makeDirs(dir, 0700);
    return dir;
}

int openRead(const std::string& native) {
    int fd;
    do {
        fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Writes everything, retrying partial writes; false with errno set on failure.
bool writeFully(int fd, const std::uint8_t* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (w == 0) {
            errno = ENOSPC;
            return false;
        }
        p += w;
        n -= std::size_t(w);
    }
    return true;
}

} // namespace

DataLocation findDataDir(const std::string& exeDirectory, const char* xdgDataDirs) {
    if (isDir(exeDirectory + "/Data")) return {exeDirectory, false};
    if (const std::string share = exeDirectory + "/../share/wirowanki"; isDir(share + "/Data"))
        return {canonical(share), true};
    // An unset or empty list means the default one.
    const std::string dirs = xdgDataDirs && xdgDataDirs[0] ? xdgDataDirs : "/usr/local/share:/usr/share";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string base = dirs.substr(start, end - start);
        // Relative entries are invalid in the list and would depend on the working directory.
        if (!base.empty() && base[0] == '/') {
            const std::string dir = (base.back() == '/' ? base : base + "/") + "wirowanki";
            if (isDir(dir + "/Data")) return {dir, true};
        }
        start = end + 1;
    }
    return {exeDirectory, false};
}

std::string homeDir() {
    return homeDirectory();
}

std::string programDir() {
    if (g_rootsSet && !g_programDir.empty()) return g_programDir;
    return startLocation().dir;
}

std::string userDir() {
    if (g_rootsSet && !g_userDir.empty()) return g_userDir;
    if (g_cachedUserDir.empty()) g_cachedUserDir = computeUserDir();
    return g_cachedUserDir;
}

void setRoots(const std::string& program, const std::string& user) {
    g_programDir = program;
    g_userDir = user;
    g_rootsSet = !program.empty() || !user.empty();
    g_cachedUserDir.clear();
}

std::string toNative(std::string_view gamePath) {
    std::string s(gamePath);
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

bool matchMask(std::string_view name, std::string_view mask) {
    // "*.*" means every file, also those without a dot, as in the system the data comes from.
    if (mask == "*.*" || mask == "*") return true;
    const auto n = folded(name);
    const auto m = folded(mask);
    if (globMatch(n, m)) return true;
    // "name.*" also matches "name" without an extension.
    if (m.size() >= 2 && m.substr(m.size() - 2) == U".*") return globMatch(n, m.substr(0, m.size() - 2));
    return false;
}

void setUserSubfolder(std::string_view gameFolder) {
    g_userSubfolder = gameFolder;
}

const std::string& userSubfolder() {
    return g_userSubfolder;
}

std::string resolveInUserDir(std::string_view gamePath) {
    if (!gamePath.empty() && gamePath.front() == '/') return std::string(gamePath);
    return resolveUnder(userDir(), components(gamePath), 0);
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return folded(a) == folded(b);
}

std::string resolve(std::string_view gamePath) {
    if (!gamePath.empty() && gamePath.front() == '/') return std::string(gamePath);
    auto parts = components(gamePath);
    if (!parts.empty() && folded(parts[0]) == folded("Data")) return resolveUnder(programDir(), parts, 0);
    if (!g_userSubfolder.empty()) {
        std::vector<std::string> inFolder = components(g_userSubfolder);
        inFolder.insert(inFolder.end(), parts.begin(), parts.end());
        parts = std::move(inFolder);
    }
    return resolveUnder(userDir(), parts, 0);
}

std::string resolveInProgramDir(std::string_view relativePath) {
    if (!relativePath.empty() && relativePath.front() == '/') return std::string(relativePath);
    return resolveUnder(programDir(), components(relativePath), 0);
}

bool exists(std::string_view gamePath) {
    return isRegular(resolve(gamePath));
}

bool dirExists(std::string_view gamePath) {
    return isDir(resolve(gamePath));
}

bool createDir(std::string_view gamePath) {
    return makeDirs(resolve(gamePath));
}

bool createPrivateDir(std::string_view gamePath) {
    return makeDirs(resolve(gamePath), 0700);
}

std::vector<std::string> listDirs(std::string_view gameDir) {
    std::vector<std::string> names;
    const std::string dir = resolve(gameDir);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (::lstat((dir + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) names.push_back(name);
    }
    ::closedir(d);
    return names;
}

std::vector<std::string> list(std::string_view gameDir, std::string_view mask) {
    std::vector<std::string> names;
    const std::string dir = resolve(gameDir);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (!matchMask(name, mask)) continue;
        if (!isRegular(dir + "/" + name)) continue;
        names.push_back(name);
    }
    ::closedir(d);
    return names;
}

std::vector<std::uint8_t> readFile(const std::string& nativePath, std::size_t maxBytes) {
    const int fd = openRead(nativePath);
    if (fd < 0) fail("Nie można otworzyć pliku", nativePath, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        fail("Nie można odczytać pliku", nativePath, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        fail("Nie można odczytać pliku", nativePath, EISDIR);
    }
    if (std::uint64_t(st.st_size) > maxBytes) {
        ::close(fd);
        throw FileError("File too large \"" + nativePath + "\"");
    }
    std::vector<std::uint8_t> data(std::size_t(st.st_size));
    std::size_t got = 0;
    for (;;) {
        if (got == data.size()) {
            // The file may have grown since fstat; keep reading up to the limit.
            if (data.size() >= maxBytes) {
                std::uint8_t probe;
                ssize_t r;
                do {
                    r = ::read(fd, &probe, 1);
                } while (r < 0 && errno == EINTR);
                if (r > 0) {
                    ::close(fd);
                    throw FileError("File too large \"" + nativePath + "\"");
                }
                break;
            }
            data.resize(std::min(maxBytes, data.size() + 65536));
        }
        const ssize_t r = ::read(fd, data.data() + got, data.size() - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            fail("Nie można odczytać pliku", nativePath, err);
        }
        if (r == 0) break;
        got += std::size_t(r);
    }
    ::close(fd);
    data.resize(got);
    return data;
}

std::vector<std::uint8_t> readAll(std::string_view gamePath, std::size_t maxBytes) {
    return readFile(resolve(gamePath), maxBytes);
}

std::vector<std::uint8_t> readHead(std::string_view gamePath, std::size_t n) {
    const std::string path = resolve(gamePath);
    const int fd = openRead(path);
    if (fd < 0) fail("Nie można otworzyć pliku", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fail("Nie można odczytać pliku", path, EISDIR);
    }
    std::vector<std::uint8_t> data(n);
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::read(fd, data.data() + got, n - got);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            const int err = errno;
            ::close(fd);
            fail("Nie można odczytać pliku", path, err);
        }
        if (r == 0) break;
        got += std::size_t(r);
    }
    ::close(fd);
    data.resize(got);
    return data;
}

void writeAtomic(std::string_view gamePath, std::span<const std::uint8_t> data) {
    writeFileAtomic(resolve(gamePath), data);
}

void writeFileAtomic(const std::string& path, std::span<const std::uint8_t> data) {
    const std::string dir = dirName(path);
    std::string tmp = dir + "/." + baseName(path) + ".XXXXXX";
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) fail("Nie można zapisać pliku", path, errno);

    // The user's default mode, as for any file the user makes: a replaced file's odd mode (000 after a
    // mishap) is not carried over to contents the program wrote itself.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    const mode_t mode = 0666 & ~mask;
    auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        fail("Nie można zapisać pliku", path, err);
    };
    if (!writeFully(fd, data.data(), data.size())) abandon(errno);
    if (::fchmod(fd, mode) != 0) abandon(errno);
    if (::fsync(fd) != 0) abandon(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail("Nie można zapisać pliku", path, err);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        fail("Nie można zastąpić pliku", path, err);
    }
    // Make the rename itself durable.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

void writeAtomic(std::string_view gamePath, std::string_view text) {
    writeAtomic(gamePath, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool appendAll(std::string_view gamePath, std::span<const std::uint8_t> data, bool mustExist, int* cause) {
    int dummy = 0;
    int& err = cause ? *cause : dummy;
    err = 0;
    const std::string path = resolve(gamePath);
    const int flags = O_WRONLY | O_APPEND | O_CLOEXEC | (mustExist ? 0 : O_CREAT);
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        err = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        err = EISDIR;
        ::close(fd);
        return false;
    }
    const off_t oldSize = st.st_size;
    // One write for the whole record, so readers never see half of it; a short write is undone.
    ssize_t w;
    do {
        w = ::write(fd, data.data(), data.size());
    } while (w < 0 && errno == EINTR);
    bool ok = w >= 0 && std::size_t(w) == data.size();
    if (!ok) {
        // A short write stopped at the limit: the retry of the rest tells why.
        err = w < 0 ? errno : ENOSPC;
        if (w > 0) {
            const ssize_t again = ::write(fd, data.data() + w, data.size() - std::size_t(w));
            if (again < 0) err = errno;
        }
        if (w > 0 && ::ftruncate(fd, oldSize) != 0) err = errno;
    }
    if (ok && ::fdatasync(fd) != 0 && errno != EINVAL) {
        err = errno;
        ok = false;
        if (::ftruncate(fd, oldSize) != 0) err = errno;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    return ok;
}

bool truncateTo(std::string_view gamePath, std::uint64_t size, int* cause) {
    const std::string path = resolve(gamePath);
    if (::truncate(path.c_str(), off_t(size)) == 0) return true;
    if (cause) *cause = errno;
    return false;
}

bool createExclusive(std::string_view gamePath, std::span<const std::uint8_t> data) {
    const std::string path = resolve(gamePath);
    if (pathExists(path)) return false;
    std::string tmp = dirName(path) + "/." + baseName(path) + ".XXXXXX";
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    const mode_t mask = ::umask(022);
    ::umask(mask);
    bool ok = writeFully(fd, data.data(), data.size()) && ::fchmod(fd, 0666 & ~mask) == 0 && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) {
        // A hard link never replaces an existing name; the rename fallback serves file systems without
        // links (another copy is kept out by the single-instance lock).
        if (::link(tmp.c_str(), path.c_str()) != 0) {
            ok = errno != EEXIST && !pathExists(path) && ::rename(tmp.c_str(), path.c_str()) == 0;
        }
    }
    ::unlink(tmp.c_str());
    return ok;
}

std::string moveAside(std::string_view gamePath) {
    const std::string path = resolve(gamePath);
    if (!pathExists(path)) return {};
    for (int n = 1; n < 100; ++n) {
        const std::string target = path + ".bad" + (n == 1 ? std::string() : std::to_string(n));
        if (pathExists(target)) continue;
        if (::rename(path.c_str(), target.c_str()) == 0) return target;
        return {};
    }
    return {};
}

int removeStaleTemporaries(std::string_view gameDir, std::string_view nameMask) {
    const std::string dir = resolve(gameDir);
    DIR* d = ::opendir(dir.c_str());
    if (!d) return 0;
    std::vector<std::string> stale;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        // "." + NAME + "." + six characters from mkostemp.
        if (name.size() < 9 || name[0] != '.' || name[name.size() - 7] != '.') continue;
        if (!matchMask(name.substr(1, name.size() - 8), nameMask)) continue;
        if (isRegular(dir + "/" + name)) stale.push_back(name);
    }
    ::closedir(d);
    int removed = 0;
    for (const std::string& name : stale)
        if (::unlink((dir + "/" + name).c_str()) == 0) ++removed;
    return removed;
}

bool remove(std::string_view gamePath) {
    return ::unlink(resolve(gamePath).c_str()) == 0;
}

bool renameNew(std::string_view fromGamePath, std::string_view toGamePath, int* cause) {
    const std::string from = resolve(fromGamePath);
    const std::string to = resolve(toGamePath);
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    int err = errno;
    // File systems without the flag: the check and the rename are not one step, but nothing else
    // writes the user directory while the single-instance lock is held.
    if (err == EINVAL || err == ENOSYS) {
        if (pathExists(to)) {
            err = EEXIST;
        } else if (::rename(from.c_str(), to.c_str()) == 0) {
            return true;
        } else {
            err = errno;
        }
    }
    if (cause) *cause = err;
    return false;
}

namespace {

bool removeTreeAt(int parent, const char* name) {
    if (::unlinkat(parent, name, 0) == 0 || errno == ENOENT) return true;
    if (errno != EISDIR && errno != EPERM) return false;
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    DIR* d = ::fdopendir(fd);
    if (!d) {
        ::close(fd);
        return false;
    }
    std::vector<std::string> entries;
    while (dirent* e = ::readdir(d))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            entries.emplace_back(e->d_name);
    bool ok = true;
    for (const std::string& e : entries)
        ok = removeTreeAt(::dirfd(d), e.c_str()) && ok;
    ::closedir(d);
    return ok && ::unlinkat(parent, name, AT_REMOVEDIR) == 0;
}

} // namespace

bool removeTree(std::string_view gamePath) {
    const std::string path = resolve(gamePath);
    if (!pathExists(path)) return true;
    return removeTreeAt(AT_FDCWD, path.c_str());
}

std::uint64_t fileSize(std::string_view gamePath) {
    struct stat st {};
    if (::stat(resolve(gamePath).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    return std::uint64_t(st.st_size);
}

long long modifiedTime(std::string_view gamePath) {
    struct stat st {};
    if (::stat(resolve(gamePath).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<long long>(st.st_mtime);
}

std::string userFolder(std::string_view key, std::initializer_list<const char*> fallbacks) {
    const std::string home = homeDirectory();
    if (home.empty()) return {};
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string dirsFile =
        (config && config[0] == '/' ? std::string(config) : home + "/.config") + "/user-dirs.dirs";
    std::string text;
    try {
        const auto bytes = readFile(dirsFile, 64 << 10);
        text.assign(bytes.begin(), bytes.end());
    } catch (const std::exception&) {
    }
    // Lines such as XDG_MUSIC_DIR="$HOME/Muzyka".
    const std::string name = "XDG_" + std::string(key) + "_DIR=\"";
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.rfind(name, 0) != 0) continue;
        std::string value = line.substr(name.size());
        if (value.empty() || value.back() != '"') continue;
        value.pop_back();
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        if (!value.empty() && value[0] == '/' && value != home && isDir(value)) return value;
    }
    for (const char* f : fallbacks)
        if (isDir(home + "/" + f)) return home + "/" + f;
    return {};
}

std::string currentDir() {
    char buf[PATH_MAX];
    return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
}

bool setCurrentDir(const std::string& nativePath) {
    return !nativePath.empty() && ::chdir(nativePath.c_str()) == 0;
}

} // namespace platform::fs
