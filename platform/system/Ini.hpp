// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

// An ini file with the semantics of the system the data was made for: section and key names are
// case-insensitive, the first match wins, values are trimmed, ';' starts a comment line. Text is UTF-8
// and passes through unchanged. Every write is saved at once, atomically (a crash mid-write leaves the
// old file). A file that is missing, unreadable, binary or garbage reads as empty; reads never raise.
// A file that exists but could not be read (an I/O error, not a regular file, over the size limit) is
// never written over: writes to it raise instead, so its contents are not replaced by an empty copy.
class IniFile {
public:
    explicit IniFile(std::string_view gamePath);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    bool sectionExists(std::string_view section) const;
    bool valueExists(std::string_view section, std::string_view key) const;
    // A value that is not a decimal integer (optional sign) within 32 bits gives def.
    int readInteger(std::string_view section, std::string_view key, int def) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view def) const;
    // A date written with writeDate (the locale's short date format); text that is no valid date gives def.
    double readDate(std::string_view section, std::string_view key, double def) const;

    // Raise FileError when the file cannot be written or could not be read.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int value);
    void writeDate(std::string_view section, std::string_view key, double date);
    // Several keys of one section in a single atomic write.
    void writeStrings(std::string_view section,
                      std::initializer_list<std::pair<std::string_view, std::string_view>> values);
    // The file exists but could not be read; it is left alone.
    bool unreadable() const;

    const std::string& nativePath() const { return path_; }

private:
    void reload() const;
    struct Impl;
    std::string gamePath_;
    std::string path_;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
