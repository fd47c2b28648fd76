// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "words/Catalogue.hpp"

#include "pictures/PictureFiles.hpp"
#include "platform/core/Random.hpp"
#include "platform/loop/Clock.hpp"
#include "platform/system/Fs.hpp"
#include "words/LetterTiles.hpp"

#include <algorithm>
#include <bit>
#include <set>
#include <utility>

namespace {

struct Wpis {
    const char* stem;
    const char* spelling;
    std::uint16_t flags;
};

// The order matters: grouped draws rely on each sound's words lying in one run.
constexpr Wpis kTabela[] = {
    {"sakiewka", "_s,a,k,i,e,w,k,a,", GL_S | POZ_NAGLOS},
    {"samochod", "_s,a,m,o,ch,ó,d,", GL_S | POZ_NAGLOS},
    {"sanki", "_s,a,n,k,i,", GL_S | POZ_NAGLOS},
    {"sep", "_s,ę,p,", GL_S | POZ_NAGLOS},
    {"sum", "_s,u,m,", GL_S | POZ_NAGLOS},
    {"szachy", "_sz,a,ch,y,", GL_SZ | POZ_NAGLOS},
    {"szampan", "_sz,a,m,p,a,n,", GL_SZ | POZ_NAGLOS},
    {"szelki", "_sz,e,l,k,i,", GL_SZ | POZ_NAGLOS},
    {"szopa", "_sz,o,p,a,", GL_SZ | POZ_NAGLOS},
    {"szuflada", "_sz,u,f,l,a,d,a,", GL_SZ | POZ_NAGLOS},
};

void przelosuj() {
    platform::random::seed(static_cast<std::uint32_t>(platform::localSeconds()));
}

std::string sciezkaObrazka(const Word& s, const std::string& suffix) {
    return "Data\\Bio\\" + s.stem + suffix;
}
std::string sciezkaMiniatury(const Word& s) {
    return "Data\\Sio\\s" + s.stem + ".xji";
}

// The sizes the games draw word pictures at; a larger file is decoded down to them.
struct RozmiarObrazka {
    const char* koncowka;
    int w, h;
};
constexpr RozmiarObrazka kRozmiary[] = {{"_ups.xji", 252, 252}, {"_upb.xji", 320, 320}};
constexpr int kMiniaturaW = 70, kMiniaturaH = 94;

std::shared_ptr<platform::Bitmap> wczytaj(const std::string& path, int w, int h) {
    auto bitmap = std::make_shared<platform::Bitmap>();
    if (w > 0)
        wczytajJpeg(*bitmap, path, w, h);
    else
        wczytajJpeg(*bitmap, path);
    return bitmap;
}

std::shared_ptr<platform::Bitmap> wczytajDuzy(const std::string& path, const std::string& suffix) {
    for (const RozmiarObrazka& r : kRozmiary)
        if (suffix == r.koncowka) return wczytaj(path, r.w, r.h);
    return wczytaj(path, 0, 0);
}

} // namespace

Catalogue::Catalogue() {
    tabela_.reserve(std::size(kTabela));
    for (const Wpis& w : kTabela) {
        Word s;
        s.stem = w.stem;
        s.flags = w.flags;
        s.soundFile = "Data\\Smd\\" + s.stem + ".pw";
        s.spelling = w.spelling;
        tabela_.push_back(std::move(s));
    }
}

Catalogue::Catalogue(std::vector<Word> tabela) : tabela_(std::move(tabela)) {}

Catalogue::~Catalogue() = default;

void Catalogue::filtruj(const WordFilter& settings) {
    wyczyscWybor();
    filtr_.clear();
    for (const Word& s : tabela_)
        if ((s.flags & settings.positions) != 0 && (s.flags & settings.sounds) != 0) filtr_.push_back(s);
}

void Catalogue::wyczyscWybor() {
    wybor_.clear(); // the last references to the pictures go with the selection
    for (Word& s : filtr_)
        s.flags &= static_cast<std::uint16_t>(~SLOWO_WYBRANE);
}

void Catalogue::wybierz(int r) {
    const int m = static_cast<int>(filtr_.size());
    while (filtr_[r].flags & SLOWO_WYBRANE)
        r = (r + 1) % m;
    filtr_[r].flags |= SLOWO_WYBRANE;
    wybor_.push_back(filtr_[r]);
}

bool Catalogue::losuj(int n) {
    wyczyscWybor();
    const int m = static_cast<int>(filtr_.size());
    if (m < n) return false;
    przelosuj();
    wybor_.reserve(m);
    for (int k = 0; k < n; ++k)
        wybierz(platform::random::below(m));
    return true;
}

bool Catalogue::losujGrupami(int n, const WordFilter& /*settings: the filter already chose the sounds*/) {
    wyczyscWybor();
    const int m = static_cast<int>(filtr_.size());
    if (m < n) return false;
    przelosuj();
    wybor_.reserve(m);
    // One group per sound of the filtered list (a chosen sound and its contrast sound are two), in the order
    // the sounds first appear, so the draws alternate between the trained and the contrasting words.
    std::vector<std::uint16_t> dzwieki;
    std::vector<std::vector<int>> grupy;
    for (int i = 0; i < m; ++i) {
        const std::uint16_t soundFile = filtr_[i].flags & 0x00FF;
        const auto it = std::find(dzwieki.begin(), dzwieki.end(), soundFile);
        if (it == dzwieki.end()) {
            dzwieki.push_back(soundFile);
            grupy.push_back({i});
        } else {
            grupy[it - dzwieki.begin()].push_back(i);
        }
    }
    std::vector<int> pozostalo;
    for (const auto& g : grupy)
        pozostalo.push_back(static_cast<int>(g.size()));
    const int g = static_cast<int>(grupy.size());
    int d = 0;
    for (int k = 0; k < n; ++k) {
        // A group with no word left hands its turn on; m >= n keeps one word somewhere.
        while (pozostalo[d] == 0)
            d = (d + 1) % g;
        const std::vector<int>& grupa = grupy[d];
        const int q = static_cast<int>(grupa.size());
        int r = platform::random::below(q);
        while (filtr_[grupa[r]].flags & SLOWO_WYBRANE)
            r = (r + 1) % q;
        filtr_[grupa[r]].flags |= SLOWO_WYBRANE;
        wybor_.push_back(filtr_[grupa[r]]);
        --pozostalo[d];
        d = (d + 1) % g;
    }
    return true;
}

bool Catalogue::wczytajObrazki(const std::string& suffix) {
    bool wszystkie = true;
    for (Word& s : wybor_) {
        s.picture = std::make_shared<platform::Bitmap>();
        s.thumbnail = std::make_shared<platform::Bitmap>();
        const std::string duzy = sciezkaObrazka(s, suffix);
        const std::string maly = sciezkaMiniatury(s);
        if (!platform::fs::exists(duzy) || !platform::fs::exists(maly)) {
            wszystkie = false;
            continue;
        }
        s.picture = wczytajDuzy(duzy, suffix);
        s.thumbnail = wczytaj(maly, kMiniaturaW, kMiniaturaH);
    }
    return wszystkie;
}

bool Catalogue::wczytajObrazkiDuze(const std::string& suffix) {
    bool wszystkie = true;
    for (Word& s : wybor_) {
        s.picture = std::make_shared<platform::Bitmap>();
        const std::string duzy = sciezkaObrazka(s, suffix);
        if (!platform::fs::exists(duzy)) {
            wszystkie = false;
            continue;
        }
        s.picture = wczytajDuzy(duzy, suffix);
    }
    return wszystkie;
}

bool Catalogue::wczytajMiniatury() {
    bool wszystkie = true;
    for (Word& s : wybor_) {
        s.thumbnail = std::make_shared<platform::Bitmap>();
        const std::string maly = sciezkaMiniatury(s);
        if (!platform::fs::exists(maly)) {
            wszystkie = false;
            continue;
        }
        s.thumbnail = wczytaj(maly, kMiniaturaW, kMiniaturaH);
    }
    return wszystkie;
}

std::vector<SoundUnit> podzielGlosy(const std::string& spelling) {
    std::vector<SoundUnit> jednostki;
    std::size_t p = 0;
    while (p < spelling.size()) {
        const std::size_t przecinek = spelling.find(',', p);
        const std::size_t k = (przecinek == std::string::npos ? spelling.size() : przecinek) - p;
        if (k == 0) {
            ++p;
            continue;
        }
        const bool oznaczona = spelling[p] == '_';
        std::string tekst = oznaczona ? spelling.substr(p + 1, k - 1) : spelling.substr(p, k);
        p += k;
        if (!tekst.empty()) jednostki.push_back({std::move(tekst), oznaczona});
    }
    return jednostki;
}

namespace {

struct Dzwiek {
    std::string_view nazwa;
    std::uint16_t flaga;
    std::string_view jednostka;
    std::string_view jednostka2; // Ż/RZ may be spelled either way
};

constexpr Dzwiek kDzwieki[] = {
    {"sz", GL_SZ, "sz", ""}, {"ż", GL_ZZ, "ż", ""},    {"rz", GL_ZZ, "rz", ""}, {"ż/rz", GL_ZZ, "ż", "rz"},
    {"cz", GL_CZ, "cz", ""}, {"dż", GL_DZZ, "dż", ""}, {"s", GL_S, "s", ""},    {"z", GL_Z, "z", ""},
    {"c", GL_C, "c", ""},    {"dz", GL_DZ, "dz", ""},
};

struct Pozycja {
    std::string_view nazwa;
    std::uint16_t flaga;
};

constexpr Pozycja kPozycje[] = {
    {"nagłos", POZ_NAGLOS},     {"naglos", POZ_NAGLOS}, {"śródgłos", POZ_SRODGLOS},
    {"srodglos", POZ_SRODGLOS}, {"wygłos", POZ_WYGLOS}, {"wyglos", POZ_WYGLOS},
};

constexpr std::size_t kMaksRozmiar = 1u << 20;

// Lower case for the letters the sound and position names use; other text comes back unchanged.
std::string male(std::string_view t) {
    std::string wynik(t);
    for (char& c : wynik)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    static constexpr std::pair<std::string_view, std::string_view> kPolskie[] = {
        {"Ż", "ż"}, {"Ś", "ś"}, {"Ł", "ł"}, {"Ó", "ó"}};
    for (const auto& [duza, mala] : kPolskie)
        for (std::size_t p; (p = wynik.find(duza)) != std::string::npos;)
            wynik.replace(p, duza.size(), mala);
    return wynik;
}

// Well-formed UTF-8 without control characters other than the tab.
bool poprawnyTekst(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size()) {
        const auto c = static_cast<unsigned char>(t[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
            ++i;
            continue;
        }
        int dalsze = 0;
        std::uint32_t kod = 0;
        if ((c & 0xE0) == 0xC0) {
            dalsze = 1;
            kod = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            dalsze = 2;
            kod = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            dalsze = 3;
            kod = c & 0x07;
        } else {
            return false;
        }
        if (i + dalsze >= t.size()) return false;
        for (int k = 1; k <= dalsze; ++k) {
            const auto n = static_cast<unsigned char>(t[i + k]);
            if ((n & 0xC0) != 0x80) return false;
            kod = (kod << 6) | (n & 0x3F);
        }
        static constexpr std::uint32_t kNajmniejszy[] = {0, 0x80, 0x800, 0x10000};
        if (kod < kNajmniejszy[dalsze] || kod > 0x10FFFF || (kod >= 0xD800 && kod <= 0xDFFF)) return false;
        i += dalsze + 1;
    }
    return true;
}

std::vector<std::string_view> pola(std::string_view linia) {
    std::vector<std::string_view> wynik;
    std::size_t p = 0;
    while (p < linia.size()) {
        while (p < linia.size() && (linia[p] == ' ' || linia[p] == '\t'))
            ++p;
        const std::size_t poczatek = p;
        while (p < linia.size() && linia[p] != ' ' && linia[p] != '\t')
            ++p;
        if (p > poczatek) wynik.push_back(linia.substr(poczatek, p - poczatek));
    }
    return wynik;
}

// A quoted field, cut to what a message box line holds so the file and line stay in view.
std::string cytat(std::string_view t) {
    constexpr std::size_t kMaksZnakow = 40;
    std::size_t znaki = 0, i = 0;
    while (i < t.size() && znaki < kMaksZnakow) {
        ++i;
        // Continuation bytes belong to the character before them.
        while (i < t.size() && (static_cast<unsigned char>(t[i]) & 0xC0) == 0x80)
            ++i;
        ++znaki;
    }
    return "„" + std::string(t.substr(0, i)) + (i < t.size() ? "…" : "") + "”";
}

} // namespace

std::vector<Word> czytajKatalog(std::string_view tekst, const std::string& nazwaPliku) {
    int nrWiersza = 0;
    auto blad = [&](const std::string& powod) {
        return CatalogueError("Plik " + nazwaPliku + ", wiersz " + std::to_string(std::max(nrWiersza, 1)) +
                              ": " + powod + ".");
    };
    if (tekst.size() > kMaksRozmiar) throw blad("plik jest za duży (najwyżej 1 MB)");
    if (tekst.substr(0, 3) == "\xEF\xBB\xBF") tekst.remove_prefix(3);

    std::vector<Word> slowa;
    std::set<std::string> nazwy;
    std::size_t p = 0;
    while (p < tekst.size()) {
        std::size_t koniec = tekst.find('\n', p);
        if (koniec == std::string_view::npos) koniec = tekst.size();
        std::string_view linia = tekst.substr(p, koniec - p);
        p = koniec + 1;
        ++nrWiersza;
        if (!linia.empty() && linia.back() == '\r') linia.remove_suffix(1);
        if (!poprawnyTekst(linia)) throw blad("niedozwolone znaki (plik musi być tekstem w kodowaniu UTF-8)");
        const auto pole = pola(linia);
        if (pole.empty() || pole[0].front() == '#') continue;
        if (pole.size() != 4)
            throw blad("oczekiwane 4 pola: nazwa, głoski, dźwięk, pozycja (jest " +
                       std::to_string(pole.size()) + ")");

        const std::string_view nazwa = pole[0];
        if (nazwa.size() > 40 || !std::all_of(nazwa.begin(), nazwa.end(), [](char c) {
                return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
            }))
            throw blad("nazwa " + cytat(nazwa) +
                       " może zawierać tylko małe litery a-z i cyfry (najwyżej 40)");
        if (!nazwy.insert(std::string(nazwa)).second) throw blad("słowo " + cytat(nazwa) + " już było");

        const std::string dzwiekTekst = male(pole[2]);
        const Dzwiek* soundFile = nullptr;
        for (const Dzwiek& d : kDzwieki)
            if (dzwiekTekst == d.nazwa) soundFile = &d;
        if (!soundFile)
            throw blad("nieznany dźwięk " + cytat(pole[2]) + " (dozwolone: SZ, Ż, RZ, CZ, DŻ, S, Z, C, DZ)");
        const std::string pozycjaTekst = male(pole[3]);
        const Pozycja* pozycja = nullptr;
        for (const Pozycja& z : kPozycje)
            if (pozycjaTekst == z.nazwa) pozycja = &z;
        if (!pozycja)
            throw blad("nieznana pozycja " + cytat(pole[3]) + " (dozwolone: nagłos, śródgłos, wygłos)");
        // A voiced sound at the end of a word is heard as its voiceless partner.
        if (pozycja->flaga == POZ_WYGLOS && (soundFile->flaga & (GL_ZZ | GL_DZZ | GL_Z | GL_DZ)))
            throw blad("na końcu wyrazu głoska " + cytat(pole[2]) +
                       " brzmi bezdźwięcznie, wygłos jest niemożliwy");

        const std::string_view pisownia = pole[1];
        std::string spelling;
        int liczba = 0;
        int oznaczone = 0;
        std::string oznaczona;
        std::size_t q = 0;
        while (q < pisownia.size()) {
            std::size_t przecinek = pisownia.find(',', q);
            if (przecinek == std::string_view::npos) przecinek = pisownia.size();
            std::string_view jednostka = pisownia.substr(q, przecinek - q);
            q = przecinek + 1;
            if (jednostka.empty()) throw blad("pusta głoska między przecinkami w " + cytat(pisownia));
            const bool znak = jednostka.front() == '_';
            if (znak) jednostka.remove_prefix(1);
            if (jednostka.empty()) throw blad("znak _ bez głoski w " + cytat(pisownia));
            if (!maKafelek(std::string(jednostka)))
                throw blad("nie ma kafelka z literą " + cytat(jednostka) + " (w " + cytat(pisownia) + ")");
            if (znak) {
                ++oznaczone;
                oznaczona = jednostka;
            }
            spelling += (znak ? "_" : "") + std::string(jednostka) + ",";
            ++liczba;
        }
        if (oznaczone == 0)
            throw blad("w " + cytat(pisownia) + " brak ćwiczonej głoski oznaczonej znakiem _");
        if (oznaczone > 1)
            throw blad("w " + cytat(pisownia) + " więcej niż jedna głoska oznaczona znakiem _");
        if (liczba > MAKS_GLOSEK)
            throw blad("słowo " + cytat(pisownia) + " ma za dużo głosek (najwyżej " +
                       std::to_string(MAKS_GLOSEK) + ")");
        if (oznaczona != soundFile->jednostka && oznaczona != soundFile->jednostka2)
            throw blad("oznaczona głoska " + cytat(oznaczona) + " nie pasuje do dźwięku " + cytat(pole[2]));

        Word s;
        s.stem = nazwa;
        s.flags = soundFile->flaga | pozycja->flaga;
        s.soundFile = "Data\\Smd\\" + s.stem + ".pw";
        s.spelling = std::move(spelling);
        slowa.push_back(std::move(s));
    }
    if (slowa.empty()) throw blad("plik nie zawiera żadnego słowa");
    return slowa;
}

std::unique_ptr<Catalogue> utworzKatalog() {
    if (!platform::fs::exists(PLIK_KATALOGU)) return std::make_unique<Catalogue>();
    if (platform::fs::fileSize(PLIK_KATALOGU) > kMaksRozmiar)
        throw CatalogueError("Plik " + platform::fs::toNative(PLIK_KATALOGU) +
                             ", wiersz 1: plik jest za duży (najwyżej 1 MB).");
    std::vector<std::uint8_t> bajty;
    try {
        bajty = platform::fs::readAll(PLIK_KATALOGU, kMaksRozmiar);
    } catch (const std::exception& e) {
        throw CatalogueError(std::string(e.what()) + ".");
    }
    const std::string_view tekst(reinterpret_cast<const char*>(bajty.data()), bajty.size());
    return std::make_unique<Catalogue>(czytajKatalog(tekst, platform::fs::toNative(PLIK_KATALOGU)));
}

std::string komunikatPustychPol(const WordFilter& u) {
    const std::uint16_t gloski = u.sounds & (GL_SZ | GL_ZZ | GL_CZ | GL_DZZ);
    const std::uint16_t pozycje = u.positions & (POZ_NAGLOS | POZ_SRODGLOS | POZ_WYGLOS);
    if (gloski == 0 || pozycje == 0) return {};
    for (std::uint16_t g : {GL_SZ, GL_ZZ, GL_CZ, GL_DZZ}) {
        if (!(gloski & g)) continue;
        for (std::uint16_t p : {POZ_NAGLOS, POZ_SRODGLOS, POZ_WYGLOS}) {
            if (!(pozycje & p)) continue;
            const bool pusta =
                (p == POZ_WYGLOS && (g == GL_ZZ || g == GL_DZZ)) || (p == POZ_SRODGLOS && g == GL_DZZ);
            if (!pusta) return {};
        }
    }
    if (pozycje == POZ_WYGLOS) {
        if (gloski == (GL_ZZ | GL_DZZ))
            return "Na końcu polskich słów Ż/RZ i DŻ brzmią jak SZ i CZ, więc nie ma słów z tymi głoskami w "
                   "wygłosie. Proszę wybrać inną pozycję.";
        if (gloski == GL_ZZ)
            return "Na końcu polskich słów Ż/RZ brzmi jak SZ, więc nie ma słów z tą głoską w wygłosie. "
                   "Proszę "
                   "wybrać inną pozycję.";
        return "Na końcu polskich słów DŻ brzmi jak CZ, więc nie ma słów z tą głoską w wygłosie. Proszę "
               "wybrać "
               "inną pozycję.";
    }
    if (pozycje == POZ_SRODGLOS)
        return "W środku polskich słów głoska DŻ występuje bardzo rzadko, więc słów jest za mało do gry. "
               "Proszę "
               "wybrać nagłos.";
    return "Głoska DŻ w środku polskich słów występuje bardzo rzadko, a na końcu wcale. Proszę wybrać "
           "nagłos.";
}

namespace {

// "A", "A i B", "A, B i C".
std::string wyliczenie(const std::vector<std::string>& czesci) {
    std::string s;
    for (std::size_t i = 0; i < czesci.size(); ++i) {
        if (i > 0) s += i + 1 == czesci.size() ? " i " : ", ";
        s += czesci[i];
    }
    return s;
}

} // namespace

std::string komunikatZaMaloSlow(const WordFilter& filtr, std::size_t jest, int potrzeba) {
    static constexpr std::pair<std::uint16_t, const char*> kGloski[] = {
        {GL_SZ, "SZ"}, {GL_S, "S"}, {GL_ZZ, "Ż/RZ"}, {GL_Z, "Z"},
        {GL_CZ, "CZ"}, {GL_C, "C"}, {GL_DZZ, "DŻ"},  {GL_DZ, "DZ"},
    };
    std::vector<std::string> gloski;
    for (const auto& [flaga, nazwa] : kGloski)
        if (filtr.sounds & flaga) gloski.emplace_back(nazwa);
    std::vector<std::string> pozycje;
    if (filtr.positions & POZ_NAGLOS) pozycje.emplace_back("nagłosie");
    if (filtr.positions & POZ_SRODGLOS) pozycje.emplace_back("śródgłosie");
    if (filtr.positions & POZ_WYGLOS) pozycje.emplace_back("wygłosie");
    if (gloski.empty() || pozycje.empty()) return "Proszę wybrać większą liczbę głosek lub pozycji.";
    const std::string gdzie = pozycje.size() == 3 ? "we wszystkich pozycjach" : "w " + wyliczenie(pozycje);
    return std::string("Słów z ") + (gloski.size() == 1 ? "głoską " : "głoskami ") + wyliczenie(gloski) +
           " " + gdzie + " jest " + std::to_string(jest) + ", a ta gra potrzebuje " +
           std::to_string(potrzeba) + ".";
}
