// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pictures/PhotoWordPictures.hpp"
#include "words/Catalogue.hpp"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The adult's own words, shared by every child: a catalogue file in the shipped one's format
// ("Slowa\slowa.txt" in the user directory), each word's pictures in its folder beside it and its voice
// among the words' own voices. A word exists once its line is in the file: its files are written first,
// the line last, so a kill at any moment leaves the whole word or none (what a kill left behind without
// a line is removed at the next start).
inline constexpr const char* kOwnCatalogueFile = "slowa.txt";

struct OwnWords {
    std::vector<Word> words;
    std::string message; // what was mended or left out, in Polish, to be said once; empty when all is well
};

// Reads the own words, leaving out those that clash with a shipped word or miss a file. tidy: first
// removes what an interrupted save or removal left behind (never when the file cannot be read: a damaged
// file is set aside as ".bad" and nothing else is touched).
OwnWords loadOwnWords(const std::vector<Word>& shipped, bool tidy);

// Every word of the own catalogue file as it stands (none when there is no file); raises CatalogueError
// when it cannot be read.
std::vector<Word> readOwnCatalogue();

// The word's line in a catalogue file: stem, spelling, sound, position.
std::string catalogueLine(const Word& word);

// Why the typed word cannot be added because the catalogue has it already ("»kot« już jest..."); empty
// when it can. exceptStem: the own word being edited.
std::string existingWordProblem(const std::string& word, const std::vector<Word>& all,
                                const std::string& exceptStem = {});
// A stem for the word's files that no word has yet: the word in ASCII, a number added when needed.
std::string freeStem(const std::string& word, const std::vector<Word>& all);

struct NewOwnWord {
    Word word; // stem, spelling and flags
    WordPictures pictures;
    std::vector<std::uint8_t> voice; // a finished file in the recording format
};

// Called after each step that changes the disk (tests stop there, as a kill would).
using OwnWordStep = std::function<void(const std::string& step)>;

// Adds the word, or replaces the own word of the same stem; own: the own words as they are now. Empty on
// success, else the Polish reason (then nothing of the new word remains).
std::string saveOwnWord(const NewOwnWord& word, const std::vector<Word>& own,
                        const OwnWordStep& afterStep = {});
// Removes an own word with its pictures and voice.
std::string removeOwnWord(const std::string& stem, const std::vector<Word>& own,
                          const OwnWordStep& afterStep = {});
