// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The adult's own words on disk: whole or not at all, whenever a save is killed or a removal stops.
#include "CoreTestSupport.hpp"
#include "core/OwnWords.hpp"
#include "core/WordVoices.hpp"
#include "platform/audio/Wav.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

namespace stdfs = std::filesystem;
using coretest::TempRoots;

namespace {

struct Stop {};

NewOwnWord bartosz() {
    NewOwnWord w;
    w.word.stem = "bartosz";
    w.word.spelling = "b,a,r,t,o,_sz,";
    w.word.flags = kSoundSz | kPositionWyglos;
    platform::Bitmap photo(400, 300, platform::PixelFormat::Bgr24);
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, platform::rgb(40, 128, 192));
    w.pictures = makeWordPictures(photo, defaultCrop(photo.size()));
    const std::vector<std::uint8_t> silence(std::size_t(platform::wav::recordingFramesFor(200)) * 2, 0);
    w.voice = platform::wav::build(platform::wav::kRecordingFormat, silence);
    return w;
}

// Every file of the user directory, relative to it.
std::vector<std::string> files(const stdfs::path& root) {
    std::vector<std::string> all;
    if (!stdfs::exists(root)) return all;
    for (const auto& e : stdfs::recursive_directory_iterator(root))
        if (e.is_regular_file()) all.push_back(stdfs::relative(e.path(), root).string());
    std::sort(all.begin(), all.end());
    return all;
}

} // namespace

TEST(OwnWords, ASaveKilledOrARemovalStoppedAfterAnyStepLeavesTheWholeWordOrNoneAfterTheNextStart) {
    const std::vector<Word> shipped = Catalogue().table();
    const std::vector<std::string> whole{"Glosy/bartosz.pw",
                                         "Slowa/bartosz/bartosz_mb.xji",
                                         "Slowa/bartosz/bartosz_ms.xji",
                                         "Slowa/bartosz/bartosz_upb.xji",
                                         "Slowa/bartosz/bartosz_ups.xji",
                                         "Slowa/bartosz/sbartosz.xji",
                                         "Slowa/slowa.txt"};
    const struct {
        const char* stopAfter; // "" runs to the end
        bool saved;
    } saves[] = {{"obrazki", false}, {"glos", false}, {"katalog", true}, {"", true}};
    for (const auto& s : saves) {
        SCOPED_TRACE(s.stopAfter);
        TempRoots roots;
        // A real kill of a process that is saving the word, right after the step.
        const std::string outcome = coretest::inChild(false, [&]() -> std::string {
            return saveOwnWord(bartosz(), {}, [&](const std::string& step) {
                if (step == s.stopAfter) ::kill(::getpid(), SIGKILL);
            });
        });
        EXPECT_EQ(outcome, *s.stopAfter ? "child died: " : "");
        const OwnWords loaded = loadOwnWords(shipped, true);
        EXPECT_EQ(loaded.message, "");
        ASSERT_EQ(loaded.words.size(), s.saved ? 1u : 0u);
        EXPECT_EQ(files(roots.user()), s.saved ? whole : std::vector<std::string>{});
        if (!s.saved) continue;
        EXPECT_TRUE(loaded.words[0].own);
        EXPECT_EQ(catalogueLine(loaded.words[0]), "bartosz\tb,a,r,t,o,_sz\tSZ\twygłos");
        EXPECT_EQ(wordPicturePath("bartosz", "_ms.xji"),
                  (roots.user() / "Slowa/bartosz/bartosz_ms.xji").string());
        EXPECT_EQ(wordSoundPath("bartosz"), (roots.user() / "Glosy/bartosz.pw").string());

        // Removing it, stopped after each step, never leaves a word with a file missing.
        for (const char* stopAfter : {"katalog", "glos", ""}) {
            SCOPED_TRACE(stopAfter);
            ASSERT_EQ(saveOwnWord(bartosz(), loadOwnWords(shipped, true).words), "");
            try {
                EXPECT_EQ(removeOwnWord("bartosz", loadOwnWords(shipped, true).words,
                                        [&](const std::string& step) {
                                            if (step == stopAfter) throw Stop{};
                                        }),
                          "");
            } catch (const Stop&) {
            }
            EXPECT_TRUE(loadOwnWords(shipped, true).words.empty());
            EXPECT_EQ(files(roots.user()), std::vector<std::string>{"Slowa/slowa.txt"});
        }
    }
}

TEST(OwnWords, ClashesMissingFilesAndADamagedListAreToldAndTouchNothingElse) {
    TempRoots roots;
    const std::vector<Word> shipped = Catalogue().table(); // the built-in table has "sum"
    ASSERT_EQ(saveOwnWord(bartosz(), {}), "");
    EXPECT_EQ(existingWordProblem("Bartosz", loadOwnWords(shipped, false).words),
              "Słowo »bartosz« już jest w katalogu (wśród własnych słów).");
    EXPECT_EQ(existingWordProblem("SUM", shipped), "Słowo »sum« już jest w katalogu.");
    EXPECT_EQ(existingWordProblem("bartosz", loadOwnWords(shipped, false).words, "bartosz"), "");
    EXPECT_EQ(freeStem("łoś", shipped), "los");
    EXPECT_EQ(freeStem("sum", shipped), "sum2");

    // A missing voice leaves the word out, said once, and nothing is removed.
    stdfs::rename(roots.user() / "Glosy/bartosz.pw", roots.user() / "bartosz.pw");
    OwnWords loaded = loadOwnWords(shipped, true);
    EXPECT_TRUE(loaded.words.empty());
    EXPECT_EQ(
        loaded.message,
        "Pominięto własne słowa, którym brakuje obrazka lub głosu albo które są już w katalogu: bartosz.");
    EXPECT_TRUE(stdfs::exists(roots.user() / "Slowa/bartosz/sbartosz.xji"));
    stdfs::rename(roots.user() / "bartosz.pw", roots.user() / "Glosy/bartosz.pw");
    // A voice of a word this run's catalogue does not have (the built-in table here) is the adult's work too.
    TempRoots::write(roots.user() / "Glosy/mysz.pw", "RIFF");
    EXPECT_EQ(loadOwnWords(shipped, true).words.size(), 1u);
    EXPECT_TRUE(stdfs::exists(roots.user() / "Glosy/mysz.pw"));

    // A damaged list is set aside; the word's files stay for whoever mends it.
    TempRoots::write(roots.user() / "Slowa/slowa.txt", "bartosz\tb,a,r,t,o,_sz\tSZ\n");
    loaded = loadOwnWords(shipped, true);
    EXPECT_TRUE(loaded.words.empty());
    EXPECT_NE(loaded.message.find("Lista własnych słów była uszkodzona"), std::string::npos)
        << loaded.message;
    EXPECT_TRUE(stdfs::exists(roots.user() / "Slowa/slowa.txt.bad"));
    EXPECT_TRUE(stdfs::exists(roots.user() / "Slowa/bartosz/sbartosz.xji"));
    EXPECT_TRUE(stdfs::exists(roots.user() / "Glosy/bartosz.pw"));
}
