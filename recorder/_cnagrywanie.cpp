#include "recorder/_cnagrywanie.hpp"

#include "app/Cdisplay.hpp"
#include "platform/DateTime.hpp"
#include "platform/Fs.hpp"
#include "platform/Ini.hpp"
#include "widgets/_ccheckbut.hpp"
#include "widgets/_cprzycisk.hpp"
#include "widgets/_cscrollbar.hpp"

#include <exception>

namespace {

std::string sekcja(int p) {
    return "Nagranie" + std::to_string(p);
}

const platform::Font& czcionkaWierszy() {
    static const platform::Font f{
        .family = "Arial Black", .height = 11, .bold = false, .color = platform::kBlack};
    return f;
}

} // namespace

// ---- CNagrywarka ----

CNagrywarka::CNagrywarka(const bool& glosnik) : glosnik_(glosnik) {
    odtwarzacz_.onComplete = [this] { zakonczone(); };
}

CNagrywarka::~CNagrywarka() {
    odtwarzacz_.onComplete = nullptr;
    zamknij();
}

bool CNagrywarka::otworz(const std::string& sciezka) {
    zamknij();
    if (sciezka.empty()) return false;
    if (!platform::fs::exists(sciezka) && !platform::sound::writeEmptyWav(sciezka)) return false;
    otwarty_ = odtwarzacz_.open(sciezka);
    return otwarty_;
}

bool CNagrywarka::nagrywaj(int maxMs) {
    if (!otwarty_) return false;
    if (nagrywa_) return true;
    if (odtwarza_) zatrzymaj();
    // The device starts every recording on a fresh empty file and keeps the old one when it cannot.
    if (!odtwarzacz_.record(maxMs)) return false;
    nagrywa_ = true;
    return true;
}

void CNagrywarka::odtwarzaj() {
    if (odtwarza_ || !otwarty_) return;
    if (nagrywa_) zatrzymaj();
    odtwarza_ = odtwarzacz_.play();
}

void CNagrywarka::zatrzymaj() {
    if (!otwarty_) return;
    odtwarzacz_.stop(); // saves a recording, sends no notice
    odtwarza_ = false;
    nagrywa_ = false;
}

void CNagrywarka::zamknij() {
    if (!otwarty_) return;
    if (nagrywa_ || odtwarza_) zatrzymaj();
    odtwarzacz_.close();
    otwarty_ = false;
}

bool CNagrywarka::zajety() const {
    return !glosnik_ || nagrywa_ || odtwarza_;
}

void CNagrywarka::zakonczone() {
    if (!otwarty_) return;
    if (nagrywa_ && !odtwarzacz_.recording()) {
        nagrywa_ = false;
        if (poNagraniu) poNagraniu();
    } else if (odtwarza_ && !odtwarzacz_.playing()) {
        odtwarza_ = false;
        if (poOdtworzeniu) poOdtworzeniu();
    }
}

// ---- CListaNagran ----

CListaNagran::CListaNagran(platform::Form& okno, platform::Canvas& kanwa, platform::Label& naglowekNazwy,
                           platform::Label& naglowekDaty, CPrzyciskP& wGore, CPrzyciskP& wDol,
                           CScrollBar& pasek)
    : okno_(okno), pasek_(pasek) {
    utworzIndeks();
    wczytaj();

    const bool duzy = display.mode() == TRYB_1024;
    const int L = display.offsetX(), T = display.offsetY(), H = display.areaHeight();
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
        w.nazwa->name = "vE_Nazwa" + std::to_string(r);
        w.nazwa->onClick = [this, r] { wybierz(r, false); };

        w.data = std::make_unique<platform::Label>(okno);
        w.data->setAutoSize(false);
        w.data->setTransparent(false);
        w.data->setColor(platform::kWhite);
        w.data->setFont(czcionkaWierszy());
        w.data->setBounds(lewy + 26 + 220 + 5, top + 2, 100, 22);
        w.data->name = "vL_Data" + std::to_string(r);

        w.przycisk =
            std::make_unique<CCheckBut>(okno, "S_CHBUT", kanwa, lewy + 26 + 220 + 5 + 100 + 5, top, &w.wybor);
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

CListaNagran::~CListaNagran() = default;

void CListaNagran::utworzIndeks() {
    if (platform::fs::exists(kIndeks)) return;
    // Without a writable index the list still works; recordings then keep no names or dates.
    try {
        platform::fs::createDir("Nagrane");
        platform::IniFile ini(kIndeks);
        const double brak = platform::date::fromYmd(1990, 1, 1);
        for (int p = 0; p < kMiejsc; ++p) {
            ini.writeString(sekcja(p), "Plik", "");
            ini.writeString(sekcja(p), "Nazwa", "");
            ini.writeDate(sekcja(p), "Data", brak);
        }
    } catch (const std::exception&) {
    }
}

void CListaNagran::wczytaj() {
    for (int p = 0; p < kMiejsc; ++p) {
        wpisy_[p] = Nagranie{};
        wpisy_[p].numer = p;
    }
    const platform::IniFile ini(kIndeks);
    for (int p = 0; p < kMiejsc; ++p) {
        const std::string s = sekcja(p);
        if (!ini.sectionExists(s)) break;
        wpisy_[p].plik = ini.readString(s, "Plik", "");
        wpisy_[p].nazwa = ini.readString(s, "Nazwa", "");
        const double d = ini.readDate(s, "Data", 0);
        if (d > kBrakDaty) wpisy_[p].data = d;
    }
    gora_ = 0;
}

std::string CListaNagran::tekstDaty(double data) {
    return data > kBrakDaty ? platform::date::formatShort(data) : std::string();
}

void CListaNagran::odswiez() {
    for (int r = 0; r < kWierszy; ++r) {
        const Nagranie& n = wpisy_[gora_ + r];
        Wiersz& w = wiersze_[r];
        w.numer->setCaption(std::to_string(n.numer + 1) + ".");
        w.nazwa->setText(n.nazwa);
        w.data->setCaption(tekstDaty(n.data));
        // A hidden row is switched off when the panel shows it again.
        if (w.przycisk->kontrolka().visible()) w.przycisk->ustawStan(0);
    }
}

void CListaNagran::pokaz() {
    for (Wiersz& w : wiersze_) {
        w.numer->show();
        w.nazwa->show();
        w.data->show();
        w.przycisk->pokaz();
        w.przycisk->ustawStan(0);
    }
}

void CListaNagran::ukryj() {
    for (Wiersz& w : wiersze_) {
        if (w.nazwa->focused()) okno_.setFocusedControl(nullptr);
        w.numer->hide();
        w.nazwa->hide();
        w.data->hide();
        w.przycisk->ukryj();
    }
}

void CListaNagran::rysuj() {
    for (Wiersz& w : wiersze_)
        if (w.przycisk->kontrolka().visible()) w.przycisk->rysuj();
}

bool CListaNagran::wGore() {
    if (gora_ <= 0) return false;
    --gora_;
    odswiez();
    pasek_.krokWGore();
    return true;
}

bool CListaNagran::wDol() {
    if (gora_ > kMiejsc - kWierszy - 1) return false;
    ++gora_;
    odswiez();
    pasek_.krokWDol();
    return true;
}

int CListaNagran::wybranyWiersz() const {
    for (int r = 0; r < kWierszy; ++r)
        if (wiersze_[r].przycisk->stan() == 1) return r;
    return -1;
}

std::string CListaNagran::nazwaWiersza(int r) {
    if (r < 0 || r >= kWierszy) return {};
    std::string t = wiersze_[r].nazwa->text();
    wpisy_[gora_ + r].nazwa = t;
    return t;
}

std::string CListaNagran::sciezkaWiersza(int r) const {
    if (r < 0 || r >= kWierszy) return {};
    const Nagranie& n = wpisy_[gora_ + r];
    return n.plik.empty() ? std::string() : "Nagrane\\" + n.plik + ".wav";
}

bool CListaNagran::zapiszWpis(int r) {
    if (r < 0 || r >= kWierszy) return false;
    Nagranie& n = wpisy_[gora_ + r];
    const std::string s = sekcja(gora_ + r);
    try {
        platform::IniFile ini(kIndeks);
        if (!ini.sectionExists(s)) return false;
        ini.writeString(s, "Nazwa", n.nazwa);
        n.plik = "Nagranie" + std::to_string(n.numer);
        ini.writeString(s, "Plik", n.plik);
        n.data = platform::date::today();
        ini.writeDate(s, "Data", n.data);
    } catch (const std::exception&) {
        return false;
    }
    wiersze_[r].data->setCaption(tekstDaty(n.data));
    return true;
}

void CListaNagran::wybierz(int r, bool zPrzycisku) {
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
