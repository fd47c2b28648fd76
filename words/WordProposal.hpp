// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A word the adult types, read the way the catalogue wants it: split into spelling units, and each sound
// the games can practise found with where it stands and whether it sounds as it is spelled.
struct SoundOccurrence {
    int unit = 0;            // index into the units
    std::uint16_t sound = 0; // kSound* flag
    std::uint16_t position = 0;
    // Why this occurrence does not sound as spelled ("W wyrazie »nóż« ż na końcu brzmi jak sz."); empty
    // when it can be practised.
    std::string problem;
    bool usable() const { return problem.empty(); }
};

struct WordProposal {
    std::string word;               // lower-case, as it is written
    std::vector<std::string> units; // "sz", "a", "f", "a"
    std::vector<SoundOccurrence> occurrences;
    int proposed = -1;   // the occurrence proposed, -1 when the word is refused
    std::string problem; // why the word cannot be added, in one Polish sentence
    std::string note;    // a warning worth reading before adding it (two trained sounds, say)

    bool ok() const { return problem.empty() && proposed >= 0; }
    // The catalogue's spelling field with the occurrence's unit marked ("_sz,a,f,a").
    std::string spelling(int occurrence) const;
};

// Splits and reads the typed word: trained sounds (SZ, Ż/RZ, CZ, DŻ) before contrast sounds (S, Z, C,
// DZ), the first one that sounds as spelled proposed; final devoicing, devoicing next to a voiceless
// consonant, voicing before a voiced one, and the soft sounds before i taken into account.
WordProposal proposeWord(std::string_view typed);

// An ASCII stem for file names from the word ("żaba" -> "zaba").
std::string asciiStem(std::string_view word);
// The name of a sound flag as the catalogue file writes it ("SZ", "Ż/RZ"...), and a position's
// ("nagłos").
const char* soundName(std::uint16_t sound);
const char* positionName(std::uint16_t position);
