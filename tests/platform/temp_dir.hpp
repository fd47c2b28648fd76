// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/system/Fs.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

// A fresh directory under /tmp with "prog" and "user" roots set for the platform layer; removed afterwards.
class TempRoots {
public:
    TempRoots() {
        char pattern[] = "/tmp/wv-test-XXXXXX";
        // Never fall back to /tmp itself: the destructor removes the whole directory.
        const char* made = ::mkdtemp(pattern);
        if (!made) throw std::runtime_error("mkdtemp");
        base_ = made;
        std::filesystem::create_directories(prog());
        std::filesystem::create_directories(user());
        platform::fs::setRoots(prog(), user());
    }
    ~TempRoots() {
        platform::fs::setRoots("", "");
        std::error_code ec;
        // Permissions changed by a test must not stop the clean-up.
        for (auto it = std::filesystem::recursive_directory_iterator(base_, ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(base_, ec);
    }
    TempRoots(const TempRoots&) = delete;
    TempRoots& operator=(const TempRoots&) = delete;

    std::string base() const { return base_; }
    std::string prog() const { return base_ + "/prog"; }
    std::string user() const { return base_ + "/user"; }

    static void write(const std::string& path, const std::string& bytes) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::string base_;
};
