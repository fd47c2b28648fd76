// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"

#include <cstdint>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Sound and position flags: one 16-bit word shared by the catalogue and the game settings.
inline constexpr std::uint16_t kSoundSz = 0x0001;
inline constexpr std::uint16_t kSoundZz = 0x0002;
inline constexpr std::uint16_t kSoundCz = 0x0004;
inline constexpr std::uint16_t kSoundDzz = 0x0008;
// Contrast sounds: each is its partner's flag shifted left by 4.
inline constexpr std::uint16_t kSoundS = 0x0010;
inline constexpr std::uint16_t kSoundZ = 0x0020;
inline constexpr std::uint16_t kSoundC = 0x0040;
inline constexpr std::uint16_t kSoundDz = 0x0080;
inline constexpr std::uint16_t kPositionNaglos = 0x1000;
inline constexpr std::uint16_t kPositionSrodglos = 0x2000;
inline constexpr std::uint16_t kPositionWyglos = 0x4000;
// Run-time mark of a word drawn for the current game.
inline constexpr std::uint16_t kWordChosen = 0x8000;

// The catalogue file that replaces the built-in table when it exists.
inline constexpr const char* kCatalogueFile = "Data\\slowa.txt";
// The labelling game's fields and the completion game's row stay on their trays up to this many units.
inline constexpr int kMaxSounds = 9;

// Which sounds and positions a game draws its words from, as the flags above.
struct WordFilter {
    std::uint16_t positions = 0;
    std::uint16_t sounds = 0;
};

// One catalogue word. Copies share the pictures.
// One sound unit of a word's spelling; the marked one carries the practised sound.
struct SoundUnit {
    std::string text;
    bool isMarked = false;
    friend bool operator==(const SoundUnit&, const SoundUnit&) = default;
};

// Splits a spelling at its commas: "_sz,a,ch,y," gives sz (marked), a, ch, y. Empty units are left out.
std::vector<SoundUnit> splitSounds(const std::string& spelling);
// The word as it is written: its units joined ("_sz,a,f,a," gives "szafa").
std::string writtenWord(const std::string& spelling);

struct Word {
    std::string stem;        // ASCII stem of every file name of the word
    std::uint16_t flags = 0; // sound, contrast and position flags; kWordChosen while drawn
    // Set by the loaders (an empty bitmap when its file was missing); null before loading.
    std::shared_ptr<platform::Bitmap> thumbnail;
    std::shared_ptr<platform::Bitmap> picture;
    std::string soundFile; // "Data\Smd\" + word + ".pw"
    std::string spelling;  // sound units, each followed by ','; the practised one prefixed with '_'
    bool own = false;      // added by the adult: kept in the user directory, may be edited and removed
};

// An own word's files rest in a folder of its own under the user directory ("Slowa\pies\": its five
// pictures under the data set's names); a shipped word's in Data\Bio and Data\Sio.
inline constexpr const char* kOwnWordsFolder = "Slowa";
// Native path of the folder an own word's pictures are kept in, whether or not it exists.
std::string ownWordFolder(const std::string& stem);
// The picture files the games load for a word: "_ms.xji", "_mb.xji", "_ups.xji", "_upb.xji" after the stem,
// and the small picture "s" + stem + ".xji"; an own word's when its folder holds one.
std::string wordPicturePath(const std::string& stem, const std::string& suffix);
std::string wordThumbnailPath(const std::string& stem);

// The word catalogue: the fixed table, the words matching the last filter, and the words drawn for a game.
class Catalogue {
public:
    // The built-in table.
    Catalogue();
    // A table read from a catalogue file.
    explicit Catalogue(std::vector<Word> table);
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // The words matching the settings, except those switched off for the child who plays.
    void filter(const WordFilter& settings);
    // The stems of the words the child who plays does not get (empty: every word).
    void setSwitchedOff(std::set<std::string> stems) { switchedOff_ = std::move(stems); }
    // Replaces the adult's own words (after the shipped ones in the table); clears the filter and choice.
    void setOwnWords(std::vector<Word> words);
    const std::set<std::string>& switchedOff() const { return switchedOff_; }
    // How many words the last filter left out only because they are switched off.
    std::size_t switchedOffMatches() const { return switchedOffMatches_; }
    void clearChoice();
    bool drawRandom(int n);
    bool drawRandomGroups(int n, const WordFilter& settings);

    // Both pictures; "Data\Bio\" + word + suffix and "Data\Sio\s" + word + ".xji".
    bool loadPictures(const std::string& suffix);
    bool loadLargePictures(const std::string& suffix);
    bool loadThumbnails();

    const std::vector<Word>& chosenWords() const { return choice_; }
    // Games that mark their words (kWordChosen as an open mark) change the entries in place.
    std::vector<Word>& chosenWords() { return choice_; }
    const std::vector<Word>& filtered() const { return filter_; }
    const std::vector<Word>& table() const { return table_; }

private:
    // Marks filtered entry r, or the next unmarked one after it, and appends a copy to the selection.
    void choose(int r);

    std::vector<Word> table_;
    std::vector<Word> filter_;
    std::vector<Word> choice_;
    std::set<std::string> switchedOff_;
    std::size_t switchedOffMatches_ = 0;
};

// A catalogue file that cannot be used; what() is a Polish sentence naming the file and the line.
class CatalogueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the text of a catalogue file (named fileName in messages) into words, in file order.
// Raises CatalogueError at the first fault.
std::vector<Word> readCatalogue(std::string_view text, const std::string& fileName);

// The catalogue of a run: the catalogue file when it exists, otherwise the built-in table. Raises
// CatalogueError.
std::unique_ptr<Catalogue> createCatalogue();

// What to tell the therapist when no Polish word can fill any of the chosen sound and position cells
// (voiced sounds are devoiced at the end of a word; DŻ hardly ever stands inside one); empty otherwise.
std::string emptyFieldsMessage(const WordFilter& settings);

// "1 słowo", "3 słowa", "5 słów", "22 słowa".
std::string countOfWords(std::size_t n);

// The menu's refusal when the catalogue is too small for a choice: which sounds and positions were
// filtered, how many words matched and how many the game needs, in one sentence; and how many more there
// are that are switched off for the child, when there are any.
std::string tooFewWordsMessage(const WordFilter& wordFilter, std::size_t available, int needed,
                               std::size_t switchedOff = 0);
