// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "recorder/Recordings.hpp"

#include "core/ScreenLayout.hpp"
#include "platform/audio/AudioFiles.hpp"
#include "platform/audio/Wav.hpp"
#include "platform/system/DateTime.hpp"
#include "platform/system/Fs.hpp"
#include "platform/system/Ini.hpp"
#include "widgets/Buttons.hpp"
#include "widgets/ScrollBar.hpp"
#include "widgets/TwoStatePicture.hpp"

#include <algorithm>
#include <exception>
#include <utility>

namespace {

std::string sekcja(int p) {
    return "Nagranie" + std::to_string(p);
}

// Code page 1250 above 0x7F, for indexes written by the Windows version; 0 where the page has no character.
// clang-format off
constexpr char16_t kCp1250[128] = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
// clang-format on

void dopiszUtf8(std::u32string_view znaki, std::string& out) {
    for (char32_t c : znaki) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
}

// Strict UTF-8 (no overlong forms, surrogates or values beyond U+10FFFF); false at the first fault.
bool dekodujUtf8(std::string_view t, std::u32string& out) {
    out.clear();
    for (std::size_t i = 0; i < t.size();) {
        const auto b = static_cast<unsigned char>(t[i]);
        int n = b < 0x80                ? 0
                : b >= 0xC2 && b < 0xE0 ? 1
                : b >= 0xE0 && b < 0xF0 ? 2
                : b >= 0xF0 && b < 0xF5 ? 3
                                        : -1;
        if (n < 0 || (n > 0 && i + std::size_t(n) >= t.size())) return false;
        char32_t c = n == 0 ? b : char32_t(b & (0x3F >> n));
        for (int k = 1; k <= n; ++k) {
            const auto d = static_cast<unsigned char>(t[i + std::size_t(k)]);
            if ((d & 0xC0) != 0x80) return false;
            c = (c << 6) | (d & 0x3F);
        }
        if ((n == 2 && c < 0x800) || (n == 3 && c < 0x10000) || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        out += c;
        i += std::size_t(n) + 1;
    }
    return true;
}

const platform::Font& czcionkaWierszy() {
    static const platform::Font f{
        .family = "Arial Black", .height = 11, .bold = false, .color = platform::kBlack};
    return f;
}

} // namespace

// ---- VoiceRecorder ----

VoiceRecorder::VoiceRecorder(const bool& glosnik) : glosnik_(glosnik) {
    odtwarzacz_.onComplete = [this] { zakonczone(); };
}

VoiceRecorder::~VoiceRecorder() {
    odtwarzacz_.onComplete = nullptr;
    zamknij();
}

bool VoiceRecorder::otworz(const std::string& sciezka) {
    zamknij();
    if (sciezka.empty()) return false;
    utworzony_ = !platform::fs::exists(sciezka);
    if (utworzony_ && !platform::sound::writeEmptyWav(sciezka)) return false;
    sciezka_ = sciezka;
    otwarty_ = odtwarzacz_.open(sciezka);
    return otwarty_;
}

bool VoiceRecorder::nagrywaj(int maxMs) {
    if (!otwarty_) return false;
    if (nagrywa_) return true;
    if (odtwarza_) zatrzymaj();
    // The file stays as it is until the take is complete, so the old one survives any failure.
    if (!odtwarzacz_.record(maxMs)) {
        // A place never recorded keeps no empty file behind.
        const bool usun = utworzony_;
        zamknij();
        if (usun) platform::fs::remove(sciezka_);
        return false;
    }
    nagrywa_ = true;
    wynik_ = Wynik::Brak;
    return true;
}

bool VoiceRecorder::odtwarzaj() {
    if (odtwarza_) return true;
    if (!otwarty_) return false;
    if (nagrywa_) zatrzymaj();
    odtwarza_ = odtwarzacz_.play();
    return odtwarza_;
}

void VoiceRecorder::zatrzymaj() {
    if (!otwarty_) return;
    odtwarzacz_.stop(); // saves a recording, sends no notice
    odtwarza_ = false;
    if (nagrywa_) koniecNagrania();
}

void VoiceRecorder::koniecNagrania() {
    nagrywa_ = false;
    wynik_ = odtwarzacz_.saveFailed() ? Wynik::Niezapisane : Wynik::Zapisane;
    // A first take the disk refused leaves no empty file behind either.
    if (wynik_ == Wynik::Niezapisane && utworzony_) platform::fs::remove(sciezka_);
    utworzony_ = false;
}

void VoiceRecorder::zamknij() {
    if (!otwarty_) return;
    if (nagrywa_ || odtwarza_) zatrzymaj();
    odtwarzacz_.close();
    otwarty_ = false;
}

bool VoiceRecorder::zajety() const {
    return !glosnik_ || nagrywa_ || odtwarza_;
}

void VoiceRecorder::zakonczone() {
    if (!otwarty_) return;
    if (nagrywa_ && !odtwarzacz_.recording()) {
        koniecNagrania();
        if (poNagraniu) poNagraniu();
    } else if (odtwarza_ && !odtwarzacz_.playing()) {
        odtwarza_ = false;
        if (poOdtworzeniu) poOdtworzeniu();
    }
}

// ---- RecordingList ----

RecordingList::RecordingList(platform::Form& okno, platform::Canvas& kanwa, platform::Label& naglowekNazwy,
                             platform::Label& naglowekDaty, MenuButton& wGore, MenuButton& wDol,
                             ScrollBar& pasek, const ScreenLayout& layout)
    : okno_(okno), pasek_(pasek) {
    przygotujIndeks();

    const bool duzy = layout.mode() == TRYB_1024;
    const int L = layout.offsetX(), T = layout.offsetY(), H = layout.areaHeight();
    const int lewy = L + (duzy ? 244 : 130);
    for (int r = 0; r < kWierszy; ++r) {
        Wiersz& w = wiersze_[r];
        const int top = H / 70 * 22 + T + r * 32;
        w.wybor.name = "A_Wiersz" + std::to_string(r);
        w.wybor.onExecute = [this, r] { wybierz(r, true); };

        w.numer = std::make_unique<platform::Label>(okno);
        w.numer->setAutoSize(false);
        w.numer->setTransparent(true);
        w.numer->setAlignment(platform::TextAlign::Right);
        w.numer->setFont(czcionkaWierszy());
        w.numer->setBounds(lewy, top, 26, 22);
        w.numer->name = "vL_Numer" + std::to_string(r);

        w.nazwa = std::make_unique<platform::Edit>(okno);
        w.nazwa->setFont(czcionkaWierszy());
        w.nazwa->setBounds(lewy + 26, top, 220, 26);
        w.nazwa->maxLength = kMaxNazwy;
        w.nazwa->name = "vE_Nazwa" + std::to_string(r);
        w.nazwa->onClick = [this, r] { wybierz(r, false); };

        w.data = std::make_unique<platform::Label>(okno);
        w.data->setAutoSize(false);
        w.data->setTransparent(false);
        w.data->setColor(platform::kWhite);
        w.data->setFont(czcionkaWierszy());
        w.data->setBounds(lewy + 26 + 220 + 5, top + 2, 100, 22);
        w.data->name = "vL_Data" + std::to_string(r);

        w.przycisk = std::make_unique<TwoStatePicture>(okno, "S_CHBUT", kanwa, lewy + 26 + 220 + 5 + 100 + 5,
                                                       top, &w.wybor);
        w.przycisk->kontrolka().name = "S_CHBUT" + std::to_string(r);
    }
    odswiez();
    ukryj();

    naglowekNazwy.setPosition(L + (duzy ? 329 : 229), T + (duzy ? 200 : 155));
    naglowekDaty.setPosition(L + (duzy ? 524 : 414), T + (duzy ? 200 : 155));
    const int prawaDat = lewy + 26 + 220 + 5 + 100;
    wGore.ustawPozycje(prawaDat + 40, -1);
    wDol.ustawPozycje(prawaDat + 40, -1);
    pasek_.ustawZakres(wGore.left() + 4, wGore.top() + 30, wDol.top() - 5);
}

RecordingList::~RecordingList() = default;

std::string RecordingList::oczyscNazwe(std::string_view tekst) {
    std::u32string znaki;
    if (!dekodujUtf8(tekst, znaki)) {
        znaki.clear();
        for (char c : tekst) {
            const auto b = static_cast<unsigned char>(c);
            const char32_t z = b < 0x80 ? b : kCp1250[b - 0x80];
            znaki += z ? z : U'?';
        }
    }
    std::erase_if(znaki, [](char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); });
    auto pusty = [](char32_t c) { return c == U' ' || c == 0xA0; };
    while (!znaki.empty() && pusty(znaki.back()))
        znaki.pop_back();
    std::size_t od = 0;
    while (od < znaki.size() && pusty(znaki[od]))
        ++od;
    std::u32string_view wynik = std::u32string_view(znaki).substr(od);
    wynik = wynik.substr(0, kMaxNazwy);
    while (!wynik.empty() && pusty(wynik.back()))
        wynik.remove_suffix(1);
    std::string out;
    dopiszUtf8(wynik, out);
    return out;
}

std::string RecordingList::plikMiejsca(int p) {
    return "Nagrane\\Nagranie" + std::to_string(p) + ".wav";
}

std::string RecordingList::tekstIndeksu(const std::array<Recording, kMiejsc>& wpisy) {
    const std::string bezDaty = platform::date::formatShort(kBrakDaty);
    std::string t;
    for (const Recording& n : wpisy) {
        if (!t.empty()) t += '\n';
        t += "[" + sekcja(n.numer) + "]\nPlik=" + n.plik + "\nNazwa=" + n.nazwa +
             "\nData=" + (n.data > kBrakDaty ? platform::date::formatShort(n.data) : bezDaty) + "\n";
    }
    return t;
}

bool RecordingList::zapiszIndeks(const std::array<Recording, kMiejsc>& wpisy) {
    try {
        platform::fs::writeAtomic(kIndeks, tekstIndeksu(wpisy));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void RecordingList::przygotujIndeks() {
    for (int p = 0; p < kMiejsc; ++p) {
        wpisy_[p] = Recording{};
        wpisy_[p].numer = p;
    }
    gora_ = 0;
    // Leftovers of saves cut short by a kill.
    platform::fs::removeStaleTemporaries("Nagrane", "record.xtr");
    platform::fs::removeStaleTemporaries("Nagrane", "Nagranie*.wav");
    // A stray file where the directory belongs is kept beside it.
    if (platform::fs::exists("Nagrane")) platform::fs::moveAside("Nagrane");
    platform::fs::createDir("Nagrane");

    const bool jest = platform::fs::exists(kIndeks) || platform::fs::dirExists(kIndeks);
    bool zapisz = !jest, uszkodzony = false;
    if (jest) {
        const platform::IniFile ini(kIndeks);
        int sekcji = 0;
        for (int p = 0; p < kMiejsc && !ini.unreadable(); ++p) {
            const std::string s = sekcja(p);
            if (!ini.sectionExists(s)) continue;
            ++sekcji;
            Recording& n = wpisy_[p];
            // The file name follows from the place; anything else in the index is not ours to open.
            if (!ini.readString(s, "Plik", "").empty()) n.plik = "Nagranie" + std::to_string(p);
            const std::string nazwa = ini.readString(s, "Nazwa", "");
            n.nazwa = oczyscNazwe(nazwa);
            // Names of the Windows version are stored again as UTF-8.
            if (n.nazwa != nazwa) zapisz = true;
            const double d = ini.readDate(s, "Data", 0);
            if (d > kBrakDaty) n.data = d;
        }
        // Places without their section could never be saved: the index is made whole again.
        uszkodzony = ini.unreadable() || sekcji < kMiejsc;
    }
    // Takes the index does not list (a kill between the take and the index write, or an index made anew)
    // are kept: a whole take is adopted with its file's date, an empty or cut-off one removed.
    if (dolaczNagrania(wpisy_)) zapisz = true;
    if (uszkodzony) {
        const std::string obok = platform::fs::moveAside(kIndeks);
        if (obok.empty()) {
            komunikatIndeksu_ = komunikatNagrywania::SPIS_NIEDOSTEPNY;
            zapisane_ = wpisy_;
            return;
        }
        komunikatIndeksu_ = komunikatNagrywania::SPIS_NAPRAWIONY + ("\u201e" + obok + "\u201d.");
        zapisz = true;
    }
    // One write for the whole index: a kill leaves the old file or the complete new one.
    if (zapisz && !zapiszIndeks(wpisy_)) komunikatIndeksu_ = komunikatNagrywania::SPIS_NIEDOSTEPNY;
    zapisane_ = wpisy_;
}

bool RecordingList::dolaczNagrania(std::array<Recording, kMiejsc>& wpisy) {
    bool zmiana = false;
    for (int p = 0; p < kMiejsc; ++p) {
        Recording& n = wpisy[p];
        const std::string plik = plikMiejsca(p);
        if (!n.plik.empty() || !platform::fs::exists(plik)) continue;
        const auto bajty = platform::audiofiles::read(plik);
        const auto dzwiek = bajty ? platform::wav::parse(*bajty) : std::nullopt;
        if (dzwiek && dzwiek->frames() > 0) {
            n.plik = "Nagranie" + std::to_string(p);
            n.data = platform::date::fromUnixSeconds(platform::fs::modifiedTime(plik));
            zmiana = true;
        } else if (bajty) {
            // An empty place's file or a take cut short before its header: nothing to play.
            platform::fs::remove(plik);
        }
    }
    return zmiana;
}

std::string RecordingList::komunikatIndeksu() {
    return std::exchange(komunikatIndeksu_, std::string());
}

std::string RecordingList::tekstDaty(double data) {
    return data > kBrakDaty ? platform::date::formatShort(data) : std::string();
}

void RecordingList::odswiez() {
    for (int r = 0; r < kWierszy; ++r) {
        const Recording& n = wpisy_[gora_ + r];
        Wiersz& w = wiersze_[r];
        w.numer->setCaption(std::to_string(n.numer + 1) + ".");
        w.nazwa->setText(n.nazwa);
        w.data->setCaption(tekstDaty(n.data));
        // A hidden row is switched off when the panel shows it again.
        if (w.przycisk->kontrolka().visible()) w.przycisk->ustawStan(0);
    }
}

void RecordingList::pokaz() {
    for (Wiersz& w : wiersze_) {
        w.numer->show();
        w.nazwa->show();
        w.data->show();
        w.przycisk->pokaz();
        w.przycisk->ustawStan(0);
    }
}

void RecordingList::ukryj() {
    for (Wiersz& w : wiersze_) {
        if (w.nazwa->focused()) okno_.setFocusedControl(nullptr);
        w.numer->hide();
        w.nazwa->hide();
        w.data->hide();
        w.przycisk->ukryj();
    }
}

void RecordingList::rysuj() {
    for (Wiersz& w : wiersze_)
        if (w.przycisk->kontrolka().visible()) w.przycisk->rysuj();
}

bool RecordingList::wGore() {
    if (gora_ <= 0) return false;
    --gora_;
    odswiez();
    pasek_.krokWGore();
    return true;
}

bool RecordingList::wDol() {
    if (gora_ > kMiejsc - kWierszy - 1) return false;
    ++gora_;
    odswiez();
    pasek_.krokWDol();
    return true;
}

int RecordingList::wybranyWiersz() const {
    for (int r = 0; r < kWierszy; ++r)
        if (wiersze_[r].przycisk->stan() == 1) return r;
    return -1;
}

std::string RecordingList::nazwaWiersza(int r) {
    if (r < 0 || r >= kWierszy) return {};
    platform::Edit& e = *wiersze_[r].nazwa;
    std::string t = oczyscNazwe(e.text());
    if (t != e.text()) {
        e.setText(t);
        e.setCaretPos(e.length());
    }
    wpisy_[gora_ + r].nazwa = t;
    return t;
}

std::string RecordingList::sciezkaWiersza(int r) const {
    if (r < 0 || r >= kWierszy) return {};
    const Recording& n = wpisy_[gora_ + r];
    return n.plik.empty() ? std::string() : "Nagrane\\" + n.plik + ".wav";
}

bool RecordingList::zapiszMiejsce(int p) {
    if (p < 0 || p >= kMiejsc) return false;
    Recording& n = wpisy_[p];
    n.plik = "Nagranie" + std::to_string(n.numer);
    n.data = platform::date::today();
    if (p >= gora_ && p < gora_ + kWierszy) wiersze_[p - gora_].data->setCaption(tekstDaty(n.data));
    const std::string s = sekcja(p);
    bool ok = false;
    bool uszkodzony = true;
    try {
        platform::IniFile ini(kIndeks);
        uszkodzony = ini.unreadable() || !ini.sectionExists(s);
        if (!uszkodzony) {
            const std::string data = platform::date::formatShort(n.data);
            ini.writeStrings(s, {{"Nazwa", n.nazwa}, {"Plik", n.plik}, {"Data", data}});
            ok = true;
        }
    } catch (const std::exception&) {
    }
    if (uszkodzony) {
        // The index went missing or bad since start-up: it is made whole again from what it last held.
        auto wpisy = zapisane_;
        wpisy[p] = n;
        const bool jest = platform::fs::exists(kIndeks) || platform::fs::dirExists(kIndeks);
        ok = (!jest || !platform::fs::moveAside(kIndeks).empty()) && zapiszIndeks(wpisy);
    }
    if (ok) zapisane_[p] = n;
    return ok;
}

void RecordingList::wybierz(int r, bool zPrzycisku) {
    for (int i = 0; i < kWierszy; ++i) {
        Wiersz& w = wiersze_[i];
        if (i != r) {
            if (w.przycisk->stan() == 1) w.przycisk->ustawStan(0);
            continue;
        }
        if (zPrzycisku && w.przycisk->stan() == 1) {
            w.przycisk->ustawStan(0);
            okno_.setFocusedControl(nullptr);
        } else {
            w.przycisk->ustawStan(1);
            w.nazwa->setFocus();
        }
        w.nazwa->setCaretPos(w.nazwa->length());
    }
}
