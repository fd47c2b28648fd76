// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/system/Ini.hpp"

#include "platform/core/Error.hpp"
#include "platform/system/DateTime.hpp"
#include "platform/system/Fs.hpp"

#include <climits>
#include <list>
#include <sys/stat.h>

// Debian's header only carries the template bodies when asked to; this is the one unit that does.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace platform {

namespace {

// CSimpleIniA compares names ignoring ASCII case (CSimpleIniCaseA is the case-sensitive one).
using Ini = CSimpleIniA;

// Inis are small; anything bigger is not one of ours and reads as empty.
constexpr std::size_t kMaxIniBytes = 4u << 20;

struct Stamp {
    bool present = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    long long mtimeNs = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return {true, st.st_dev, st.st_ino, st.st_size,
            (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

bool parseDecimal(std::string_view s, int& out) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 11) return false;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (negative) v = -v;
    if (v < INT_MIN || v > INT_MAX) return false;
    out = int(v);
    return true;
}

} // namespace

struct IniFile::Impl {
    // Not UTF-8 converting, duplicate keys kept (reads pick the first), one-line values.
    Ini ini{false, true, false};
    Stamp stamp;
    bool loaded = false;
    bool unreadable = false;
};

IniFile::IniFile(std::string_view gamePath)
    : gamePath_(gamePath), path_(fs::resolve(gamePath)), impl_(std::make_unique<Impl>()) {
    impl_->ini.SetSpaces(false);
}

IniFile::~IniFile() = default;

void IniFile::reload() const {
    const Stamp now = stampOf(path_);
    if (impl_->loaded && now == impl_->stamp) return;
    impl_->ini.Reset();
    impl_->stamp = now;
    impl_->loaded = true;
    impl_->unreadable = false;
    if (!now.present) return;
    try {
        const auto data = fs::readFile(path_, kMaxIniBytes);
        // Binary junk loads as whatever lines it happens to contain; SimpleIni stops at a NUL byte.
        if (!data.empty()) impl_->ini.LoadData(reinterpret_cast<const char*>(data.data()), data.size());
    } catch (const Error&) {
        impl_->ini.Reset();
        impl_->unreadable = true;
    }
}

bool IniFile::unreadable() const {
    reload();
    return impl_->unreadable;
}

namespace {

// The value of the first occurrence of the key, as the system the files come from reads them.
const char* firstValue(const Ini& ini, std::string_view section, std::string_view key) {
    const std::string s(section), k(key);
    Ini::TNamesDepend values;
    if (!ini.GetAllValues(s.c_str(), k.c_str(), values) || values.empty()) return nullptr;
    values.sort(Ini::Entry::LoadOrder());
    return values.front().pItem;
}

} // namespace

bool IniFile::sectionExists(std::string_view section) const {
    reload();
    // Like the original's ini class: a section counts when it holds at least one key.
    return impl_->ini.GetSectionSize(std::string(section).c_str()) > 0;
}

bool IniFile::valueExists(std::string_view section, std::string_view key) const {
    reload();
    return firstValue(impl_->ini, section, key) != nullptr;
}

int IniFile::readInteger(std::string_view section, std::string_view key, int def) const {
    reload();
    const char* v = firstValue(impl_->ini, section, key);
    int out;
    return v && parseDecimal(v, out) ? out : def;
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view def) const {
    reload();
    const char* v = firstValue(impl_->ini, section, key);
    return v ? std::string(v) : std::string(def);
}

double IniFile::readDate(std::string_view section, std::string_view key, double def) const {
    reload();
    const char* v = firstValue(impl_->ini, section, key);
    if (!v) return def;
    return date::parseShort(v).value_or(def);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    writeStrings(section, {{key, value}});
}

void IniFile::writeStrings(std::string_view section,
                           std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
    // Start from what is on disk now, so writes by others are kept.
    impl_->loaded = false;
    reload();
    // Saving what we have would replace contents we never saw.
    if (impl_->unreadable)
        throw FileError("Nie można odczytać pliku \u201e" + path_ +
                        "\u201d, więc nie zostanie on zastąpiony");
    // A line break inside a name or value would turn into lines of its own on the next read.
    auto oneLine = [](std::string_view t) {
        std::string out(t);
        for (char& c : out)
            if (c == '\n' || c == '\r') c = ' ';
        return out;
    };
    const std::string s = oneLine(section);
    for (const auto& [key, value] : values) {
        const std::string k = oneLine(key), v = oneLine(value);
        if (impl_->ini.SetValue(s.c_str(), k.c_str(), v.c_str(), nullptr, true) < 0)
            throw FileError("Nie można zapisać wartości w pliku \u201e" + path_ + "\u201d");
    }
    std::string text;
    if (impl_->ini.Save(text, false) < 0)
        throw FileError("Nie można zapisać pliku \u201e" + path_ + "\u201d");
    // SimpleIni puts two empty lines before each section; one is enough.
    for (std::size_t at; (at = text.find("\n\n\n[")) != std::string::npos;)
        text.erase(at, 1);
    try {
        fs::writeAtomic(path_, text);
    } catch (...) {
        impl_->loaded = false; // memory no longer matches the file
        throw;
    }
    impl_->stamp = stampOf(path_);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeDate(std::string_view section, std::string_view key, double date) {
    writeString(section, key, date::formatShort(date));
}

} // namespace platform
