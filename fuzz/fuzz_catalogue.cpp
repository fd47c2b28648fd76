// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Word catalogue reader over arbitrary file contents (Data/slowa.txt of a data set).
#include "words/Catalogue.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<Word> words = readCatalogue(text, "Data/slowa.txt");
        // What was accepted is what the games use: the same text reads back the same words.
        const std::vector<Word> again = readCatalogue(text, "Data/slowa.txt");
        if (words.size() != again.size() || words.empty()) std::abort();
        for (std::size_t i = 0; i < words.size(); ++i)
            if (words[i].stem != again[i].stem || words[i].flags != again[i].flags) std::abort();
    } catch (const CatalogueError& e) {
        // A refusal names the file and the line first, and stays short enough for a message box.
        const std::string_view m = e.what();
        if (m.substr(0, 20) != "Plik Data/slowa.txt," || m.size() > 400) std::abort();
    }
    return 0;
}
