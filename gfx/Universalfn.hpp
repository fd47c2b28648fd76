// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Seeds the C library's generator and the program's own one from the local time in seconds, so that
// every run draws different words. Called once at start-up, before any window exists.
void zasiejGeneratory();
// The same from a given local time in seconds (start-up may pass the platform clock's, so that headless
// runs on the virtual clock draw the same words every time).
void zasiejGeneratory(std::int64_t sekundy);

// path unchanged when empty or already ending in a backslash, else path + "\".
std::string dodajBackslash(const std::string& path);

// Appends to list the bare names of the files matching directory + mask, in the order the file system
// lists them; hidden (dot) files count, directories do not. An empty directory means the user directory,
// where every relative path that is not under Data rests (the program directory on a normal install).
void listaPlikow(const std::string& directory, const std::string& mask, std::vector<std::string>& list);
