// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/MainMenu.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "pictures/AlphaPicture.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "recorder/Recordings.hpp"
#include "report/Report.hpp"
#include "widgets/Buttons.hpp"
#include "widgets/Caption.hpp"
#include "widgets/ScrollBar.hpp"
#include "widgets/ToggleButton.hpp"
#include "widgets/TwoStatePicture.hpp"
#include "windows/AboutWindow.hpp"
#include "windows/MessageWindow.hpp"
#include "windows/ProgramWindows.hpp"
#include "words/Catalogue.hpp"

#include <exception>
#include <string>
#include <utility>

bool MainMenu::glosnik = false;

namespace {

constexpr const char* kSpec = "Data\\Intf\\Spec\\";

// Indexes of the check buttons.
enum : int { MALO, SREDNIO, DUZO, SZ, ZZ, CZ, DZZ, NAGLOS, SRODGLOS, WYGLOS };

constexpr std::uint16_t kGloski[4] = {GL_SZ, GL_ZZ, GL_CZ, GL_DZZ};

struct Pasmo {
    int od, doY;
};
// Bands of the tab strip per tab, mode 2 and mode 4.
constexpr Pasmo kPasma2[5] = {{6, 105}, {110, 190}, {200, 270}, {280, 345}, {360, 435}};
constexpr Pasmo kPasma4[5] = {{12, 140}, {150, 250}, {260, 350}, {360, 450}, {460, 570}};

} // namespace

MainMenu::MainMenu(ProgramWindows& windows)
    : Form("Wesołe Wirowanki Cz.I Demo"), windows_(windows), context_(windows.context()) {
    name = "FormMain";
    const platform::Size ekran = platform::app().screenSize();
    setBounds(0, 0, ekran.width, ekran.height);
    platform::app().setTitle("Wirowanki Cz.I Demo");

    auto akcja = [](platform::Action& a, const char* nazwa, auto handler) {
        a.name = nazwa;
        a.onExecute = handler;
    };
    akcja(A_Stop, "A_Stop", [this] { close(); });
    akcja(A_Start, "A_Start", [this] { A_StartExecute(); });
    akcja(A_Oprogramie, "A_Oprogramie", [this] {
        if (platform::Form* o = windows_.about()) o->showModal();
    });
    akcja(A_Rec_Rec, "A_Rec_Rec", [this] { A_Rec_RecExecute(); });
    akcja(A_Rec_Play, "A_Rec_Play", [this] { A_Rec_PlayExecute(); });
    akcja(MPStop, "MPStop", [this] { MPStopExecute(); });
    akcja(A_Malo, "A_Malo", [this] { A_PoziomExecute(POZIOM_MALO); });
    akcja(A_Srednio, "A_Srednio", [this] { A_PoziomExecute(POZIOM_SREDNIO); });
    akcja(A_Duzo, "A_Duzo", [this] { A_PoziomExecute(POZIOM_DUZO); });
    akcja(A_Naglos, "A_Naglos", [this] { A_PozycjaExecute(POZ_NAGLOS); });
    akcja(A_Srodglos, "A_Srodglos", [this] { A_PozycjaExecute(POZ_SRODGLOS); });
    akcja(A_Wyglos, "A_Wyglos", [this] { A_PozycjaExecute(POZ_WYGLOS); });
    akcja(A_S, "A_S", [this] { A_GloskaExecute(A_S.tag); });
    akcja(A_Z, "A_Z", [this] { A_GloskaExecute(A_Z.tag); });
    akcja(A_C, "A_C", [this] { A_GloskaExecute(A_C.tag); });
    akcja(A_DZ, "A_DZ", [this] { A_GloskaExecute(A_DZ.tag); });
    A_S.tag = 1, A_Z.tag = 2, A_C.tag = 3, A_DZ.tag = 4;
    A_S.category = A_Z.category = A_C.category = A_DZ.category = "Gloski";
    akcja(A_Zakladka, "A_Zakladka", [this] { A_ZakladkaExecute(); });
    akcja(A_Glosnik, "A_Glosnik", [this] { A_GlosnikExecute(); });
    akcja(A_Raport, "A_Raport", [this] { raport::otworzRaport(this); });

    g_Menu.name = "g_Menu";
    g_Menu.onMouseDown = [this](platform::MouseButton, platform::ShiftState, int, int y) {
        g_MenuMouseDown(y);
    };

    splashTimer_.setInterval(2000);
    splashTimer_.onTimer = [this] {
        splashTimer_.stop();
        windows_.removeSplash();
    };

    try {
        zbuduj();
    } catch (const FatalError&) {
        throw;
    } catch (const std::exception&) {
        throw FatalError(1);
    }
}

MainMenu::~MainMenu() = default;

void MainMenu::zbuduj() {
    const int X0 = context_.layout.offsetX(), Y0 = context_.layout.offsetY();
    const int W = context_.layout.areaWidth(), H = context_.layout.areaHeight();
    const bool duzy = context_.layout.mode() == TRYB_1024;
    const std::string sfx = context_.layout.suffix();
    platform::Canvas& ekran = canvas();

    context_.layout.drawBackground(tlo_, std::string(kSpec) + "mT_m0" + sfx + ".xji");
    for (int i = 0; i < 5; ++i)
        wczytajBmp(zakladki_[i], std::string(kSpec) + "mT_m" + std::to_string(i + 1) + sfx + ".xbi");
    g_Menu.setBounds(X0 + (duzy ? 705 : 551), Y0 + (duzy ? 95 : 74), zakladki_[0].width(),
                     zakladki_[0].height());

    // The decoration is made for the 1280-wide design and resampled to this mode's size.
    {
        AlphaPicture logo;
        logo.wczytajZParyJpeg(std::string(kSpec) + "RU_mnlz1B.xji", std::string(kSpec) + "RU_mnlz1W.xji");
        int w = logo.szerokosc(), h = logo.wysokosc();
        context_.layout.scale(TRYB_1280, w, h);
        if (w != logo.szerokosc() || h != logo.wysokosc()) {
            AlphaPicture przeskalowane;
            przeskalowane.przeskaluj(logo, w, h, true);
            logo.przejmij(przeskalowane);
        }
        const int x = context_.layout.scale(TRYB_1280, 16) + X0,
                  y = context_.layout.scale(TRYB_1280, 267) + Y0;
        logo.rysujNaBitmapie(&tlo_, x, y, 255, &tlo_, x, y, {0, 0, w, h});
    }

    const int e = duzy ? 0 : 5;
    napIlZadan_ = std::make_unique<Caption>("nap_ilzadan" + sfx);
    napGloski_ = std::make_unique<Caption>("nap_gloski" + sfx);
    napPozycja_ = std::make_unique<Caption>("nap_pozycja" + sfx);
    napIlZadan_->ustawPozycje(X0 + W / 2 - napGloski_->szerokosc() + e, Y0 + H / 4);
    napGloski_->ustawPozycje(X0 + W / 2 - napGloski_->szerokosc() + e, Y0 + H / 2 - H / 16);
    napPozycja_->ustawPozycje(X0 + W / 2 - napPozycja_->szerokosc() + e, Y0 + H / 10 + H / 2);
    for (Caption* n : {napIlZadan_.get(), napGloski_.get(), napPozycja_.get()})
        n->zapiszTlo(tlo_.canvas());

    platform::Canvas& tlo = tlo_.canvas();
    auto przycisk = [&](const char* n, int x, int y, platform::Action* a) {
        return std::make_unique<MenuButton>(*this, n, ekran, tlo, x, y, a);
    };
    const int dol = H + Y0 - H / 7;
    oprogramie_ = przycisk("oprogramie", W / 2 + X0 - 155, dol, &A_Oprogramie);
    wyjdz_ = przycisk("wyjdz", W / 2 + X0 - 55, dol, &A_Stop);
    start_ = przycisk("start", W / 2 + X0 + 35, dol, &A_Start);
    // The report stands left of the about button, one button step further.
    raport_ = przycisk("raport", W / 2 + X0 - 255, dol, &A_Raport);
    raport_->name = "raport";
    const int rec = H * 10 / 14 + Y0;
    rrec_ = przycisk("rrec", W / 2 + X0 - 15, rec, &A_Rec_Rec);
    rodtworz_ = przycisk("rodtworz", W / 2 + X0 - 95, rec, &A_Rec_Play);
    rstop_ = przycisk("rstop", W / 2 + X0 - 55, rec, &MPStop);
    up_ = przycisk("up", X0 + 240, H / 70 * 22 + Y0 - 32, nullptr);
    down_ = przycisk("down", X0 + 240, H / 70 * 22 + Y0 + 256, nullptr);
    up_->onMouseUp = [this](platform::MouseButton, platform::ShiftState, int, int) { lista_->wGore(); };
    down_->onMouseUp = [this](platform::MouseButton, platform::ShiftState, int, int) { lista_->wDol(); };
    scroll_ = std::make_unique<ScrollBar>(*this, 0, 0, ekran, tlo);
    for (auto [b, n] : {std::pair{oprogramie_.get(), "oprogramie"},
                        {wyjdz_.get(), "wyjdz"},
                        {start_.get(), "start"},
                        {rrec_.get(), "rrec"},
                        {rodtworz_.get(), "rodtworz"},
                        {rstop_.get(), "rstop"},
                        {up_.get(), "up"},
                        {down_.get(), "down"}})
        b->name = n;
    scroll_->kciuk().name = "scroll";

    const std::string p = duzy ? "b_" : "s_";
    struct Opis {
        const char* nazwa;
        int x, y;
        platform::Action* akcja;
    };
    const Opis opisy[10] = {
        {"malo", W / 5 + X0, H / 3 + Y0, &A_Malo},
        {"srednio_g", W / 5 + W / 6 + X0, H / 3 + Y0, &A_Srednio},
        {"duzo_g", W / 5 + W / 3 + X0, H / 3 + Y0, &A_Duzo},
        {"SZ", W / 3 + X0 - W / 8, H / 2 + Y0, &A_S},
        {"ZZ_g", W / 3 + X0, H / 2 + Y0, &A_Z},
        {"CZ_g", W / 3 + W / 8 + X0, H / 2 + Y0, &A_C},
        {"DZZ_g", W / 3 + W / 4 + X0, H / 2 + Y0, &A_DZ},
        {"naglos", W / 5 + X0, H + Y0 - H / 3, &A_Naglos},
        {"srodglos_g", W / 5 + W / 6 + X0, H + Y0 - H / 3, &A_Srodglos},
        {"wyglos_g", W / 5 + W / 3 + X0, H + Y0 - H / 3, &A_Wyglos},
    };
    for (int i = 0; i < 10; ++i) {
        checki_[i] = std::make_unique<TwoStatePicture>(*this, p + opisy[i].nazwa, ekran, opisy[i].x,
                                                       opisy[i].y, opisy[i].akcja);
        checki_[i]->kontrolka().name = p + opisy[i].nazwa;
    }

    // The speaker toggle sits in the content area's bottom-right corner; it is built but never shown.
    glosnik_ = std::make_unique<ToggleButton>(*this, "", ekran, 0, 0, &A_Glosnik,
                                              std::string(kSpec) + context_.layout.prefix1() + "_glos");
    glosnik_->kontrolka().name = "glosnik";
    const int margines = duzy ? 5 : 4;
    glosnik_->ustawPozycje(X0 + W - margines - glosnik_->kontrolka().width(),
                           Y0 + H - margines - glosnik_->kontrolka().height());

    const platform::Font naglowek{
        .family = "Arial Black", .height = 15, .bold = false, .color = platform::kBlack};
    for (platform::Label* l : {&vL_Nazwisko, &vL_Data}) {
        l->setTransparent(true);
        l->setFont(naglowek);
        l->hide();
    }
    vL_Nazwisko.name = "vL_Nazwisko";
    vL_Data.name = "vL_Data";
    lista_ = std::make_unique<RecordingList>(*this, ekran, vL_Nazwisko, vL_Data, *up_, *down_, *scroll_,
                                             context_.layout);
    nagrywarka_ = std::make_unique<VoiceRecorder>(glosnik);
    nagrywarka_->poNagraniu = [this] { MPStop.execute(); };
    nagrywarka_->poOdtworzeniu = [this] { MPStop.execute(); };

    ukryjPanelNagran();
    for (auto& c : checki_)
        c->ukryj();
}

int MainMenu::zakladkaPod(int y, int tryb) {
    const Pasmo* pasma = tryb == TRYB_1024 ? kPasma4 : kPasma2;
    for (int i = 0; i < 5; ++i)
        if (y >= pasma[i].od && y <= pasma[i].doY) return i + 1;
    return 0;
}

GameSettings& MainMenu::ustawieniaZakladki() {
    // The recorder's tab shows no settings; the falling game's stand in for it.
    GameSettings* ust = context_.settings.game(context_.settings.tab);
    return ust ? *ust : context_.settings.falling;
}

void MainMenu::g_MenuMouseDown(int y) {
    if (zajety_) return;
    poprzednia_ = context_.settings.tab;
    if (const int z = zakladkaPod(y, context_.layout.mode())) context_.settings.tab = z;
    if (context_.settings.tab != poprzednia_) {
        A_Zakladka.execute();
        zapamietaj();
    }
    if (context_.settings.tab == ZAK_NAGRYWANIE)
        if (const std::string t = lista_->komunikatIndeksu(); !t.empty()) pokazKomunikat(t);
}

void MainMenu::A_ZakladkaExecute() {
    platform::Canvas& c = canvas();
    c.setCopyMode(platform::CopyMode::SrcCopy);
    if (context_.settings.tab >= 1 && context_.settings.tab <= 5)
        c.draw(g_Menu.left(), g_Menu.top(), zakladki_[context_.settings.tab - 1]);
    if (context_.settings.tab == ZAK_NAGRYWANIE) {
        for (auto& b : checki_)
            b->ukryj();
        for (Caption* n : {napIlZadan_.get(), napGloski_.get(), napPozycja_.get()})
            n->rysujTlo(c);
        pokazPanelNagran();
        if (odswiezenNagran_ > 0) {
            --odswiezenNagran_;
            invalidate();
        }
    } else {
        ukryjPanelNagran();
        start_->show();
        for (Caption* n : {napIlZadan_.get(), napGloski_.get(), napPozycja_.get()})
            n->rysuj(c);
        pokazUstawienia();
        if (odswiezenUstawien_ > 0) {
            --odswiezenUstawien_;
            invalidate();
        }
    }
    glosnik_->rysuj();
}

void MainMenu::pokazPanelNagran() {
    // Every repaint passes here (typing in a name repaints too): the rows are reset and the focus cleared
    // only when the panel comes into view, not while the user works in it.
    if (!panelNagranPokazany_) {
        panelNagranPokazany_ = true;
        lista_->pokaz();
        setFocusedControl(nullptr);
    } else {
        lista_->rysuj();
    }
    vL_Nazwisko.show();
    vL_Data.show();
    up_->show();
    down_->show();
    scroll_->pokaz();
    // A repaint during a recording must keep the stop button, or the recording could not be stopped.
    rrec_->setVisible(!zajety_);
    rodtworz_->setVisible(!zajety_);
    rstop_->setVisible(zajety_);
    start_->hide();
}

void MainMenu::ukryjPanelNagran() {
    panelNagranPokazany_ = false;
    if (lista_) lista_->ukryj();
    vL_Nazwisko.hide();
    vL_Data.hide();
    up_->hide();
    down_->hide();
    scroll_->ukryj();
    rrec_->hide();
    rodtworz_->hide();
    rstop_->hide();
}

void MainMenu::pokazUstawienia() {
    const GameSettings& u = ustawieniaZakladki();
    const bool stan[10] = {
        u.level == POZIOM_MALO,    u.level == POZIOM_SREDNIO, u.level == POZIOM_DUZO, u.maGloske(GL_SZ),
        u.maGloske(GL_ZZ),         u.maGloske(GL_CZ),         u.maGloske(GL_DZZ),     u.maPozycje(POZ_NAGLOS),
        u.maPozycje(POZ_SRODGLOS), u.maPozycje(POZ_WYGLOS),
    };
    for (int i = 0; i < 10; ++i) {
        checki_[i]->pokaz();
        checki_[i]->ustawStan(stan[i] ? 1 : 0);
    }
}

void MainMenu::A_StartExecute() {
    GameSettings& u = ustawieniaZakladki();
    u.positions &= 0x7000;
    u.sounds &= 0x0FFF;
    switch (context_.settings.tab) {
    case ZAK_PODPISYWANIE:
        if (!uruchomGre(ZAK_PODPISYWANIE, context_.settings.labelling, context_.settings.labelling.level * 5))
            return;
        break;
    case ZAK_MEMORY:
        if (!uruchomGre(ZAK_MEMORY, context_.settings.memory, context_.settings.memory.level * 4)) return;
        break;
    case ZAK_UZUPELNIANIE: {
        // The completion game also draws the contrast sounds' words.
        GameSettings kopia = context_.settings.completion;
        kopia.dodajKontrast();
        if (!uruchomGre(ZAK_UZUPELNIANIE, kopia, context_.settings.completion.level * 5)) return;
        break;
    }
    case ZAK_SPADAJACE:
        if (!uruchomGre(ZAK_SPADAJACE, context_.settings.falling, context_.settings.falling.level * 5))
            return;
        break;
    default:
        break;
    }
    nagrywarkaZamknij();
    invalidate();
    platform::app().processMessages();
    invalidate();
}

bool MainMenu::uruchomGre(int zakladka, const GameSettings& filtr, int minimum) {
    context_.catalogue->filtruj(filtr);
    if (static_cast<int>(context_.catalogue->przefiltrowane().size()) < minimum) {
        // Cells no Polish word can fill get the reason, not an instruction that cannot help.
        // Other choices get the cells and counts that fall short, so the therapist knows what to add.
        std::string powod = komunikatPustychPol(ustawieniaZakladki());
        if (powod.empty())
            powod = komunikatZaMaloSlow(filtr, context_.catalogue->przefiltrowane().size(), minimum);
        if (windows_.message()) {
            windows_.message()->vL_Komunikat.setCaption(powod);
            windows_.message()->showModal();
        }
        return false;
    }
    nagrywarkaZamknij();
    if (platform::Form* okno = windows_.game(zakladka)) okno->showModal();
    nagrywarkaZamknij();
    return true;
}

void MainMenu::zapamietaj() {
    // A settings file that cannot be read or written is said once, on screen.
    if (!context_.settings.remember())
        if (const std::string t = context_.settings.takeMessage(); !t.empty()) pokazKomunikat(t);
}

void MainMenu::pokazKomunikat(int kod) {
    if (!windows_.message()) return;
    windows_.message()->ustawKomunikat(static_cast<std::uint16_t>(kod));
    windows_.message()->showModal();
}

void MainMenu::pokazKomunikat(const std::string& tekst) {
    if (!windows_.message()) return;
    windows_.message()->vL_Komunikat.setCaption(tekst);
    windows_.message()->showModal();
    setFocusedControl(nullptr);
}

void MainMenu::A_PoziomExecute(int poziom) {
    ustawieniaZakladki().level = static_cast<std::int16_t>(poziom);
    pokazUstawienia();
    zapamietaj();
}

void MainMenu::A_GloskaExecute(int tag) {
    if (tag < 1 || tag > 4) return;
    GameSettings& u = ustawieniaZakladki();
    const std::uint16_t bit = kGloski[tag - 1];
    if (!u.maGloske(bit)) {
        u.sounds |= bit;
    } else if ((u.sounds & 0x000F) == bit) {
        // A game needs at least one sound: the last one stays chosen.
        pokazKomunikat(1);
    } else {
        u.sounds &= static_cast<std::uint16_t>(~bit);
    }
    pokazUstawienia();
    zapamietaj();
}

void MainMenu::A_PozycjaExecute(std::uint16_t pozycja) {
    GameSettings& u = ustawieniaZakladki();
    if (!u.maPozycje(pozycja)) {
        u.positions |= pozycja;
    } else if ((u.positions & 0x7000) == pozycja) {
        pokazKomunikat(2);
    } else {
        u.positions &= static_cast<std::uint16_t>(~pozycja);
    }
    pokazUstawienia();
    zapamietaj();
}

void MainMenu::A_GlosnikExecute() {
    glosnik_->przelacz();
    glosnik_->rysuj();
    if (glosnik_->stan() == 0) {
        nagrywarkaZamknij();
        glosnik = false;
    } else {
        glosnik = true;
        if (context_.settings.tab != ZAK_NAGRYWANIE) nagrywarkaZamknij();
    }
}

void MainMenu::nagrywarkaZamknij() {
    if (nagrywarka_) nagrywarka_->zamknij();
}

void MainMenu::A_Rec_RecExecute() {
    const int r = lista_->wybranyWiersz();
    // A name of blanks only counts as none.
    if (r < 0 || lista_->nazwaWiersza(r).empty()) {
        pokazKomunikat(r < 0 ? 10 : 11);
        setFocusedControl(nullptr);
        return;
    }
    wejdzWZajetosc();
    const int p = lista_->gora() + r;
    const bool bylo = !lista_->sciezkaWiersza(r).empty();
    if (!nagrywarka_->otworz(RecordingList::plikMiejsca(p))) {
        MPStop.execute();
        pokazKomunikat(bylo ? komunikatNagrywania::ZAPIS_POPRZEDNIE : komunikatNagrywania::ZAPIS);
        return;
    }
    if (!nagrywarka_->nagrywaj(60000)) {
        MPStop.execute();
        pokazKomunikat(komunikatNagrywania::MIKROFON);
        return;
    }
    // The index learns of the take only once it is saved (MPStop).
    miejsceNagrania_ = p;
    poprzednieNagranie_ = bylo;
}

void MainMenu::A_Rec_PlayExecute() {
    const int r = lista_->wybranyWiersz();
    int komunikat = 0;
    std::string sciezka;
    if (r < 0) {
        komunikat = 20;
    } else if (lista_->nazwaWiersza(r).empty()) {
        komunikat = 21;
    } else {
        sciezka = lista_->sciezkaWiersza(r);
        if (sciezka.empty() || !platform::fs::exists(sciezka)) komunikat = 21;
    }
    if (komunikat) {
        pokazKomunikat(komunikat);
        setFocusedControl(nullptr);
        return;
    }
    wejdzWZajetosc();
    if (!nagrywarka_->otworz(sciezka) || !nagrywarka_->odtwarzaj()) {
        MPStop.execute();
        pokazKomunikat(komunikatNagrywania::USZKODZONE);
    }
}

void MainMenu::ustawPrzyciskiPanelu(bool wlaczone) {
    for (MenuButton* b : {oprogramie_.get(), wyjdz_.get(), up_.get(), down_.get(), raport_.get()})
        b->setEnabled(wlaczone);
    scroll_->kciuk().setEnabled(wlaczone);
}

void MainMenu::wejdzWZajetosc() {
    zajety_ = true;
    rrec_->hide();
    rodtworz_->hide();
    rstop_->show();
    ustawPrzyciskiPanelu(false);
}

void MainMenu::MPStopExecute() {
    nagrywarka_->zatrzymaj();
    nagrywarka_->zamknij();
    zajety_ = false;
    rstop_->hide();
    rrec_->show();
    rodtworz_->show();
    ustawPrzyciskiPanelu(true);
    const int p = std::exchange(miejsceNagrania_, -1);
    if (p < 0) return;
    if (nagrywarka_->wynikNagrania() != VoiceRecorder::Wynik::Zapisane)
        pokazKomunikat(poprzednieNagranie_ ? komunikatNagrywania::ZAPIS_POPRZEDNIE
                                           : komunikatNagrywania::ZAPIS);
    else if (!lista_->zapiszMiejsce(p))
        pokazKomunikat(komunikatNagrywania::SPIS_ZAPIS);
}

void MainMenu::paintEvent() {
    canvas().setCopyMode(platform::CopyMode::SrcCopy);
    canvas().draw(0, 0, tlo_);
    A_ZakladkaExecute();
    // The device is closed when it is left open without use. A recording or playback started from the
    // panel is never cut off by a repaint: with the speaker switch off the device counts as busy at all
    // times, so the close on tab 5 would otherwise end every recording at the first repaint.
    if (zajety_) return;
    if (nagrywarka_->zajety() == (context_.settings.tab == ZAK_NAGRYWANIE)) nagrywarkaZamknij();
}

void MainMenu::showEvent() {
    if (pokazane_) return;
    pokazane_ = true;
    if (windows_.splash()) splashTimer_.start();
}

void MainMenu::activateEvent() {
    // Coming back to the menu closes the device, unless the panel's own recording or playback runs.
    if (!zajety_) nagrywarkaZamknij();
}

void MainMenu::closeEvent() {
    // Closed while recording: the take is saved and indexed without asking anything.
    if (const int p = std::exchange(miejsceNagrania_, -1); p >= 0) {
        nagrywarka_->zatrzymaj();
        if (nagrywarka_->wynikNagrania() == VoiceRecorder::Wynik::Zapisane) lista_->zapiszMiejsce(p);
    }
    setSize(width(), 1);
}

void MainMenu::keyPressEvent(int charCode) {
    if (charCode != 27) return;
    // Esc first ends what the panel is doing; the exit button is disabled meanwhile as well.
    if (zajety_)
        MPStop.execute();
    else
        A_Stop.execute();
}

void MainMenu::mouseWheelEvent(int delta, platform::ShiftState, int, int) {
    if (context_.settings.tab != ZAK_NAGRYWANIE) return;
    if (delta > 0 && up_->enabled()) lista_->wGore();
    if (delta < 0 && down_->enabled()) lista_->wDol();
}
