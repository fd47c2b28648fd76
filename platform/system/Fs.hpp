// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Files named the way the game names them: relative paths with backslashes ("Data\Bio\x.xji",
// "prgst1.stt", "Nagrane\record.xtr"). "Data\..." rests on the program directory, every other relative
// path on the user directory. The program directory is the one holding Data/: the executable's own
// directory, else ../share/wirowanki beside it, else wirowanki/ in one of $XDG_DATA_DIRS (installed).
// The user directory is $XDG_DATA_HOME/wirowanki, else ~/.local/share/wirowanki (made owner-only), for an
// installed program and one run from its build directory alike; a writable program directory holding a
// file named "portable" (not installed) is the user directory itself. Absolute native paths pass through.
// When the exact name does not exist, a case-insensitive match of each path component is used, so a
// data set copied from a case-insensitive file system still loads.
namespace platform::fs {

// Where Data/ and Resource/ were found; installed when it is a shared directory, not the executable's own.
struct DataLocation {
    std::string dir;
    bool installed = false;
};
// The lookup itself, for a given executable directory and $XDG_DATA_DIRS value (null: unset). When no
// candidate holds Data/, the executable's directory (the data set is then reported missing as usual).
DataLocation findDataDir(const std::string& exeDirectory, const char* xdgDataDirs);

// The user's home directory (native; empty when there is none).
std::string homeDir();
// Directory of the program's data (where Data/ and Resource/ live).
std::string programDir();
std::string userDir();
// Tests and tools point the two roots elsewhere; an empty userDir means "as for a normal start".
void setRoots(const std::string& programDir, const std::string& userDir);
// Relative game paths outside Data\ rest on this folder of the user directory instead (a game path such
// as "Dzieci\2"): the files of the one who plays. Empty, as at start, means the user directory itself.
void setUserSubfolder(std::string_view gameFolder);
const std::string& userSubfolder();
// The native path of a game path under the user directory itself, whatever the subfolder.
std::string resolveInUserDir(std::string_view gamePath);

// The native path a game path stands for (after the case-insensitive lookup when the exact one is missing;
// for a file that does not exist yet, the directory part is still matched case-insensitively).
std::string resolve(std::string_view gamePath);
// Native path of a file under the program directory itself (e.g. "Resource/start_D.bmp"), with the same
// case-insensitive fallback.
std::string resolveInProgramDir(std::string_view relativePath);

bool exists(std::string_view gamePath); // a regular file
bool dirExists(std::string_view gamePath);
bool createDir(std::string_view gamePath); // with parents; true when it exists afterwards
// The same, with the new directories readable by their owner only.
bool createPrivateDir(std::string_view gamePath);

// Bare names of the regular files in dir matching mask ("*.*" = every file; '*' and '?' wildcards,
// case-insensitive). Dot-files count as hidden files and are listed; directories never are.
std::vector<std::string> list(std::string_view gameDir, std::string_view mask);
// Bare names of the directories in dir (dot-directories too), in no particular order.
std::vector<std::string> listDirs(std::string_view gameDir);

// Whole file; raises FileError when it cannot be read. maxBytes guards against absurd files.
std::vector<std::uint8_t> readAll(std::string_view gamePath, std::size_t maxBytes = 256u << 20);
// The same for a native path, taken as it stands (no mapping, no case fallback).
std::vector<std::uint8_t> readFile(const std::string& nativePath, std::size_t maxBytes = 256u << 20);
// At most the first n bytes of a regular file (fewer when it is shorter); raises FileError when it cannot
// be read.
std::vector<std::uint8_t> readHead(std::string_view gamePath, std::size_t n);
// Replaces the file's contents atomically: a temporary beside it, flushed, then renamed over it.
// Raises FileError; the old contents survive any failure.
void writeAtomic(std::string_view gamePath, std::span<const std::uint8_t> data);
void writeAtomic(std::string_view gamePath, std::string_view text);
// The same for a native path, taken as it stands.
void writeFileAtomic(const std::string& nativePath, std::span<const std::uint8_t> data);
// Appends all bytes with one write; false (and nothing appended) when the file is missing and
// mustExist is set, or on any failure (a short write is truncated away again). cause gets the errno.
bool appendAll(std::string_view gamePath, std::span<const std::uint8_t> data, bool mustExist,
               int* cause = nullptr);
// Cuts a regular file down to size bytes; false with cause set when that fails.
bool truncateTo(std::string_view gamePath, std::uint64_t size, int* cause = nullptr);
// Creates the file only when it does not exist yet, with the given bytes; false when it already existed
// or could not be written completely. The bytes go to a temporary first, so even a kill leaves either
// no file or the whole of it.
bool createExclusive(std::string_view gamePath, std::span<const std::uint8_t> data);
// Moves a damaged file (or directory) out of the way as name + ".bad" (".bad2", ".bad3"... when that is
// taken, never replacing an earlier one). Returns the native path it went to; empty on failure.
std::string moveAside(std::string_view gamePath);
// Removes the temporaries an atomic write leaves when killed (".NAME.XXXXXX" beside NAME) in dir, for
// every NAME matching nameMask. Returns how many went.
int removeStaleTemporaries(std::string_view gameDir, std::string_view nameMask);
bool remove(std::string_view gamePath);
// Renames a file or directory in one step, never replacing an existing target; false (cause set) on failure.
bool renameNew(std::string_view fromGamePath, std::string_view toGamePath, int* cause = nullptr);
// Removes a directory with everything in it (symbolic links are removed, never followed); true when the
// path is gone afterwards.
bool removeTree(std::string_view gamePath);
std::uint64_t fileSize(std::string_view gamePath); // 0 when missing
// Last modification in seconds since 1970; -1 when the file is missing.
long long modifiedTime(std::string_view gamePath);

// Game path helpers.
std::string toNative(std::string_view gamePath);              // backslashes to slashes, nothing else
bool matchMask(std::string_view name, std::string_view mask); // case-insensitive, '*' and '?'
// Equal ignoring case the way names are matched (ASCII and the Latin letters Polish uses).
bool sameIgnoringCase(std::string_view a, std::string_view b);

// One of the user's own folders as the desktop names it (key "MUSIC", "DESKTOP"... of user-dirs.dirs), when
// it exists; else the first of the fallbacks under the home directory that exists; empty when none does.
std::string userFolder(std::string_view key, std::initializer_list<const char*> fallbacks);

// The process's working directory (native; empty when unknown), and changing it.
std::string currentDir();
bool setCurrentDir(const std::string& nativePath);

} // namespace platform::fs
