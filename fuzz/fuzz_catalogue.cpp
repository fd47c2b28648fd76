// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Word catalogue reader over arbitrary file contents (Data/slowa.txt of a data set).
#include "words/Catalogue.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view tekst(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<Word> slowa = czytajKatalog(tekst, "Data/slowa.txt");
        // What was accepted is what the games use: the same text reads back the same words.
        const std::vector<Word> znowu = czytajKatalog(tekst, "Data/slowa.txt");
        if (slowa.size() != znowu.size() || slowa.empty()) std::abort();
        for (std::size_t i = 0; i < slowa.size(); ++i)
            if (slowa[i].stem != znowu[i].stem || slowa[i].flags != znowu[i].flags) std::abort();
    } catch (const CatalogueError& e) {
        // A refusal names the file and the line first, and stays short enough for a message box.
        const std::string_view m = e.what();
        if (m.substr(0, 20) != "Plik Data/slowa.txt," || m.size() > 400) std::abort();
    }
    return 0;
}
