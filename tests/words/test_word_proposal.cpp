// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A typed word read as the catalogue wants it: units, the proposed sound and position, refusals.
#include "words/Catalogue.hpp"
#include "words/WordProposal.hpp"

#include <gtest/gtest.h>

TEST(WordProposal, TheSoundAsHeardIsProposedAndWhatIsNotHeardAsSpelledIsRefusedInOneSentence) {
    const struct {
        const char* typed;
        const char* spelling; // of the proposed occurrence; empty when refused
        std::uint16_t flags;
        const char* problem;
        const char* note;
    } cases[] = {
        {"pies", "p,i,e,_s", kSoundS | kPositionWyglos, "", ""},
        {"żaba", "_ż,a,b,a", kSoundZz | kPositionNaglos, "", ""},
        {"  Żaba ", "_ż,a,b,a", kSoundZz | kPositionNaglos, "", ""},
        {"nóż", "", 0, "W wyrazie »nóż« ż na końcu brzmi jak sz.", ""},
        {"łyżka", "", 0, "W wyrazie »łyżka« ż przed k brzmi jak sz.", ""},
        {"krzesło", "k,rz,e,_s,ł,o", kSoundS | kPositionSrodglos, "",
         "W wyrazie »krzesło« rz po k brzmi jak sz."},
        {"liczba", "", 0, "W wyrazie »liczba« cz przed b brzmi jak dż.", ""},
        {"grzyb", "g,_rz,y,b", kSoundZz | kPositionSrodglos, "", ""},
        {"dżem", "_dż,e,m", kSoundDzz | kPositionNaglos, "", ""},
        {"dzwon", "_dz,w,o,n", kSoundDz | kPositionNaglos, "", ""},
        {"klucz", "k,l,u,_cz", kSoundCz | kPositionWyglos, "", ""},
        // The soft sounds before i are not S, Z, C or DZ; a trained sound wins over a contrast one.
        {"ciastko", "c,i,a,_s,t,k,o", kSoundS | kPositionSrodglos, "", ""},
        {"sowa", "_s,o,w,a", kSoundS | kPositionNaglos, "", ""},
        {"kosz", "k,o,_sz", kSoundSz | kPositionWyglos, "", ""},
        {"szczotka", "_sz,cz,o,t,k,a", kSoundSz | kPositionNaglos, "",
         "W słowie »szczotka« są 2 ćwiczone głoski; lepiej wybierać słowa z jedną."},
        {"zima", "", 0, "W słowie »zima« nie ma żadnej ćwiczonej głoski (sz, ż/rz, cz, dż) ani s, z, c, dz.",
         ""},
        {"kot", "", 0, "W słowie »kot« nie ma żadnej ćwiczonej głoski (sz, ż/rz, cz, dż) ani s, z, c, dz.",
         ""},
        {"Max", "", 0, "W słowie »max« nie ma żadnej ćwiczonej głoski (sz, ż/rz, cz, dż) ani s, z, c, dz.",
         ""},
        {"czekoladowy", "", 0, "Słowo »czekoladowy« ma 10 głosek, a gry mieszczą najwyżej 9.", ""},
        {"café", "", 0, "Znaku „é” nie ma wśród polskich liter, więc nie ma dla niego kafelka.", ""},
        {"sok2", "", 0, "Słowo może zawierać tylko litery, bez cyfr.", ""},
        {"sok z", "", 0, "Wpisz jedno słowo, bez spacji i łączników.", ""},
        {"", "", 0, "Wpisz słowo.", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const WordProposal p = proposeWord(c.typed);
        EXPECT_EQ(p.problem, c.problem);
        EXPECT_EQ(p.note, c.note);
        ASSERT_EQ(p.ok(), *c.spelling != 0);
        if (!p.ok()) continue;
        EXPECT_EQ(p.spelling(p.proposed), c.spelling);
        const SoundOccurrence& o = p.occurrences[std::size_t(p.proposed)];
        EXPECT_EQ(o.sound | o.position, c.flags);
    }
    // Another occurrence may be chosen, and the file names are plain ASCII.
    const WordProposal sasza = proposeWord("Sasza");
    ASSERT_EQ(sasza.occurrences.size(), 2u);
    EXPECT_EQ(sasza.proposed, 1);
    EXPECT_EQ(sasza.spelling(1), "s,a,_sz,a");
    EXPECT_EQ(sasza.spelling(0), "_s,a,sz,a");
    EXPECT_EQ(asciiStem("żółć"), "zolc");
    EXPECT_EQ(asciiStem(proposeWord("Łódź").word), "lodz");
}
