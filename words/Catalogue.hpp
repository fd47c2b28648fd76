// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Sound and position flags: one 16-bit word shared by the catalogue and the game settings.
inline constexpr std::uint16_t GL_SZ = 0x0001;
inline constexpr std::uint16_t GL_ZZ = 0x0002;
inline constexpr std::uint16_t GL_CZ = 0x0004;
inline constexpr std::uint16_t GL_DZZ = 0x0008;
// Contrast sounds: each is its partner's flag shifted left by 4.
inline constexpr std::uint16_t GL_S = 0x0010;
inline constexpr std::uint16_t GL_Z = 0x0020;
inline constexpr std::uint16_t GL_C = 0x0040;
inline constexpr std::uint16_t GL_DZ = 0x0080;
inline constexpr std::uint16_t POZ_NAGLOS = 0x1000;
inline constexpr std::uint16_t POZ_SRODGLOS = 0x2000;
inline constexpr std::uint16_t POZ_WYGLOS = 0x4000;
// Run-time mark of a word drawn for the current game.
inline constexpr std::uint16_t SLOWO_WYBRANE = 0x8000;

// The catalogue file that replaces the built-in table when it exists.
inline constexpr const char* PLIK_KATALOGU = "Data\\slowa.txt";
// The labelling game's fields and the completion game's row stay on their trays up to this many units.
inline constexpr int MAKS_GLOSEK = 9;

// Which sounds and positions a game draws its words from, as the flags above.
struct WordFilter {
    std::uint16_t positions = 0;
    std::uint16_t sounds = 0;
};

// One catalogue word. Copies share the pictures.
// One sound unit of a word's spelling; the marked one carries the practised sound.
struct SoundUnit {
    std::string tekst;
    bool oznaczona = false;
    friend bool operator==(const SoundUnit&, const SoundUnit&) = default;
};

// Splits a spelling at its commas: "_sz,a,ch,y," gives sz (marked), a, ch, y. Empty units are left out.
std::vector<SoundUnit> podzielGlosy(const std::string& spelling);

struct Word {
    std::string stem;        // ASCII stem of every file name of the word
    std::uint16_t flags = 0; // sound, contrast and position flags; SLOWO_WYBRANE while drawn
    // Set by the loaders (an empty bitmap when its file was missing); null before loading.
    std::shared_ptr<platform::Bitmap> thumbnail;
    std::shared_ptr<platform::Bitmap> picture;
    std::string soundFile; // "Data\Smd\" + word + ".pw"
    std::string spelling;  // sound units, each followed by ','; the practised one prefixed with '_'
};

// The word catalogue: the fixed table, the words matching the last filter, and the words drawn for a game.
class Catalogue {
public:
    // The built-in table.
    Catalogue();
    // A table read from a catalogue file.
    explicit Catalogue(std::vector<Word> tabela);
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    void filtruj(const WordFilter& settings);
    void wyczyscWybor();
    bool losuj(int n);
    bool losujGrupami(int n, const WordFilter& settings);

    // Both pictures; "Data\Bio\" + word + suffix and "Data\Sio\s" + word + ".xji".
    bool wczytajObrazki(const std::string& suffix);
    bool wczytajObrazkiDuze(const std::string& suffix);
    bool wczytajMiniatury();

    const std::vector<Word>& wybrane() const { return wybor_; }
    // Games that mark their words (SLOWO_WYBRANE as an open mark) change the entries in place.
    std::vector<Word>& wybrane() { return wybor_; }
    const std::vector<Word>& przefiltrowane() const { return filtr_; }
    const std::vector<Word>& tabela() const { return tabela_; }

private:
    // Marks filtered entry r, or the next unmarked one after it, and appends a copy to the selection.
    void wybierz(int r);

    std::vector<Word> tabela_;
    std::vector<Word> filtr_;
    std::vector<Word> wybor_;
};

// A catalogue file that cannot be used; what() is a Polish sentence naming the file and the line.
class CatalogueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses the text of a catalogue file (named nazwaPliku in messages) into words, in file order.
// Raises CatalogueError at the first fault.
std::vector<Word> czytajKatalog(std::string_view tekst, const std::string& nazwaPliku);

// The catalogue of a run: the catalogue file when it exists, otherwise the built-in table. Raises
// CatalogueError.
std::unique_ptr<Catalogue> utworzKatalog();

// What to tell the therapist when no Polish word can fill any of the chosen sound and position cells
// (voiced sounds are devoiced at the end of a word; DŻ hardly ever stands inside one); empty otherwise.
std::string komunikatPustychPol(const WordFilter& ustawienia);

// The menu's refusal when the catalogue is too small for a choice: which sounds and positions were
// filtered, how many words matched and how many the game needs, in one sentence.
std::string komunikatZaMaloSlow(const WordFilter& filtr, std::size_t jest, int potrzeba);
