// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/core/Error.hpp"
#include "platform/windows/Dialogs.hpp"

#include <gtest/gtest.h>

#include <cerrno>

TEST(MessageText, longTextIsWrappedAtSpacesLongWordsSplitAndTheRestCut) {
    struct Case {
        const char* what;
        std::string text;
        std::size_t width, lines;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"short stays", "Plik Data/slowa.txt, wiersz 1:", 72, 20, "Plik Data/slowa.txt, wiersz 1:"},
        {"wrapped at spaces", "ala ma kota i psa", 8, 20, "ala ma\nkota i\npsa"},
        {"line breaks kept", "a\n\nb c", 3, 20, "a\n\nb c"},
        {"long word split by characters", "żżżżżżżżżż", 4, 20, "żżżż\nżżżż\nżż"},
        {"too many lines cut", "a b c d e", 2, 3, "a\nb\nc…"},
        {"cut on a full line", "abcdefgh", 4, 1, "abc…"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::fitMessageText(c.text, c.width, c.lines), c.expected) << c.what;

    // A megabyte-long name: the file and line survive at the top, the whole stays small.
    const std::string huge = "Plik Data/slowa.txt, wiersz 1: nazwa „" + std::string(1 << 20, 'x') + "”";
    const std::string fitted = platform::fitMessageText(huge);
    EXPECT_EQ(fitted.substr(0, 31), "Plik Data/slowa.txt, wiersz 1: ");
    EXPECT_LE(fitted.size(), 72u * 20 + 20 + 3);
}

TEST(MessageText, systemErrorsReadAsPolishCauses) {
    const std::vector<std::tuple<int, bool, std::string>> cases = {
        {ENOSPC, true, "brak miejsca na dysku"},
        {EDQUOT, true, "brak miejsca na dysku"},
        {EACCES, true, "brak uprawnień do zapisu"},
        {EACCES, false, "brak uprawnień do odczytu"},
        {ENOENT, false, "plik nie istnieje"},
        {EROFS, true, "dysk jest tylko do odczytu"},
        {EISDIR, true, "w tym miejscu jest folder, nie plik"},
        {EIO, false, "błąd odczytu lub zapisu urządzenia"},
        {12345, false, "błąd systemu nr 12345"},
    };
    for (const auto& [err, write, text] : cases)
        EXPECT_EQ(platform::polishReason(err, write), text) << err;
}
