// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Universalfn.hpp"

#include "platform/Fs.hpp"
#include "platform/Random.hpp"

#include <cstdlib>
#include <ctime>

void zasiejGeneratory()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    zasiejGeneratory(std::int64_t(now) + local.tm_gmtoff);
}

void zasiejGeneratory(std::int64_t sekundy)
{
    std::srand(unsigned(sekundy));
    platform::random::seed(std::uint32_t(sekundy));
}

std::string dodajBackslash(const std::string& path)
{
    if (path.empty() || path.back() == '\\') return path;
    return path + "\\";
}

void listaPlikow(const std::string& directory, const std::string& mask, std::vector<std::string>& list)
{
    // The mask may carry directories of its own ("Sio\*.xji"); they belong to the directory searched.
    std::string pattern = (directory.empty() ? std::string() : dodajBackslash(directory)) + mask;
    std::string dir;
    const auto cut = pattern.find_last_of("\\/");
    if (cut != std::string::npos) {
        dir = pattern.substr(0, cut);
        pattern = pattern.substr(cut + 1);
    }
    for (auto& name : platform::fs::list(dir, pattern)) list.push_back(std::move(name));
}
