// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Program.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "games/completion/CompletionWindow.hpp"
#include "games/falling/FallingWindow.hpp"
#include "games/labelling/LabellingWindow.hpp"
#include "games/memory/MemoryWindow.hpp"
#include "platform/core/Random.hpp"
#include "platform/loop/Clock.hpp"
#include "platform/loop/Signals.hpp"
#include "platform/system/Fs.hpp"
#include "platform/system/SingleInstance.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Dialogs.hpp"
#include "platform/windows/Form.hpp"
#include "windows/AboutWindow.hpp"
#include "windows/MainMenu.hpp"
#include "windows/MessageWindow.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "windows/SplashWindow.hpp"
#include "words/Catalogue.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <exception>

namespace {

constexpr const char* kTytul = "Wirowanki Cz.I Demo";
constexpr const char* kTytulBledu = "Wirowanki Cz.I Demo - Błąd";
constexpr const char* kTytulRaportu = "Wirowanki Cz.I Demo - Raport zasobów";
constexpr const char* kBladKrytyczny = "Wystąpił błąd krytyczny aplikacji!";
constexpr const char* kPlikRaportu = "Raport zasobów.txt";
constexpr const char* kBladKatalogu = "Błąd w katalogu słów:\n\n";

// Start-up's message boxes belong to the splash while it is there.
platform::Form* messageOwner(const ProgramWindows* okna) {
    return okna ? okna->splash() : nullptr;
}

// A run that ended on an error message; headless runs report it in their exit code.
bool g_bladKrytyczny = false;

void pokazBladKrytyczny(platform::Form* wlasciciel) {
    g_bladKrytyczny = true;
    platform::messageBox(wlasciciel, kBladKrytyczny, kTytulBledu, platform::MessageIcon::Error);
}

bool takieSame(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Steps 11-17: shared objects, windows, the loop, and their teardown in order.
void uruchomOkna(ProgramWindows& okna) {
    ProgramContext& kontekst = okna.context();
    int krokAwaryjny = 0;
    std::unique_ptr<Catalogue> katalog;
    std::unique_ptr<StatisticsFile> statystyki;
    try {
        katalog = utworzKatalog();
        kontekst.catalogue = katalog.get();
        statystyki = std::make_unique<StatisticsFile>(1);
        kontekst.statistics = statystyki.get();
        krokAwaryjny = platform::signals::addEmergencyStep([&okna] { zakonczGreWToku(okna); }, true);

        MainMenu* menu = okna.create<MainMenu>(okna);
        platform::app().setMainForm(menu);
        okna.create<MessageWindow>();
        // The game windows, each under its game number so that the main menu's start button finds it.
        okna.createGame<MemoryWindow>(ZAK_MEMORY, okna);
        okna.createGame<LabellingWindow>(ZAK_PODPISYWANIE, okna);
        okna.createGame<CompletionWindow>(ZAK_UZUPELNIANIE, okna);
        okna.createGame<FallingWindow>(ZAK_SPADAJACE, okna);
        okna.create<ResultsWindow>(kontekst);
        okna.create<AboutWindow>(kontekst);

        menu->show();
        // What start-up mended or set aside in the statistics file is said once.
        if (!statystyki->uwagi().empty())
            platform::messageBox(messageOwner(&okna), statystyki->uwagi(), kTytul,
                                 platform::MessageIcon::Warning);
        // The splash stays in front of the menu until the menu removes it.
        if (okna.splash()) static_cast<platform::Form*>(okna.splash())->bringToFront();
        platform::app().run();
    } catch (const FatalError& blad) {
        g_bladKrytyczny = true;
        blad.pokazBlad(messageOwner(&okna));
    } catch (const CatalogueError& blad) {
        g_bladKrytyczny = true;
        platform::messageBox(messageOwner(&okna), std::string(kBladKatalogu) + blad.what(), kTytulBledu,
                             platform::MessageIcon::Error);
    } catch (const std::exception&) {
        pokazBladKrytyczny(messageOwner(&okna));
    }
    okna.removeSplash();
    platform::signals::removeEmergencyStep(krokAwaryjny);
    kontekst.statistics = nullptr;
    statystyki.reset();
    kontekst.catalogue = nullptr;
    katalog.reset();
    // The windows go last: they outlive the shared objects.
    okna.destroyWindows();
}

int uruchom(const std::vector<std::string>& args, const ProgramObserver& observer);

// Every file the program replaces atomically, by folder (report/ and recorder/ name theirs the same).
struct Tymczasowe {
    const char* folder;
    const char* maska;
};
constexpr Tymczasowe kTymczasowe[] = {
    {"", "prgst*.stt"},           {"", "prgst*.stt.bad-tail*"}, {"", "ustawienia.ini"},
    {"", "Raport postępów.html"}, {"", "Raport postępów.csv"},  {"", "Raport zasobów.txt"},
    {"Nagrane", "record.xtr"},    {"Nagrane", "Nagranie*.wav"},
};

} // namespace

std::vector<std::string> raportZasobow() {
    const std::unique_ptr<Catalogue> katalog = utworzKatalog();
    struct Katalog {
        const char* nazwa;
        std::vector<std::string> oczekiwane;
    };
    std::array<Katalog, 3> katalogi{Katalog{"Data\\Sio\\", {}}, Katalog{"Data\\Bio\\", {}},
                                    Katalog{"Data\\Smd\\", {}}};
    for (const Word& s : katalog->tabela()) {
        katalogi[0].oczekiwane.push_back("s" + s.stem + ".xji");
        for (const char* koncowka : {"_ms.xji", "_mb.xji", "_ups.xji", "_upb.xji"})
            katalogi[1].oczekiwane.push_back(s.stem + koncowka);
        katalogi[2].oczekiwane.push_back(s.stem + ".pw");
    }
    for (const char* n : {"allred.xji", "blkcard0.xji", "blkcard1.xji", "squest.xji"})
        katalogi[0].oczekiwane.emplace_back(n);
    for (const char* n : {"_matr_mb.xji", "_matr_ms.xji", "_matr_upb.xji", "_matr_ups.xji"})
        katalogi[1].oczekiwane.emplace_back(n);

    std::vector<std::string> brakujace, nadmiarowe;
    for (const Katalog& k : katalogi) {
        std::vector<std::string> obecne = platform::fs::list(k.nazwa, "*.*");
        for (const std::string& nazwa : k.oczekiwane) {
            auto it = obecne.begin();
            while (it != obecne.end() && !takieSame(*it, nazwa))
                ++it;
            if (it == obecne.end())
                brakujace.push_back(k.nazwa + nazwa);
            else
                obecne.erase(it);
        }
        for (const std::string& reszta : obecne)
            nadmiarowe.push_back(k.nazwa + reszta);
    }
    if (brakujace.empty() && nadmiarowe.empty()) return {};

    const std::string kreska(56, '-');
    std::vector<std::string> linie{kreska};
    if (brakujace.empty()) {
        linie.emplace_back("Wszystkie pliki zasobów istnieją.");
    } else {
        linie.emplace_back("Brakujące pliki zasobów:");
        linie.insert(linie.end(), brakujace.begin(), brakujace.end());
    }
    linie.push_back(kreska);
    if (nadmiarowe.empty()) {
        linie.emplace_back("Brak plików nadmiarowych.");
    } else {
        linie.emplace_back("Nadmiarowe pliki zasobów:");
        linie.insert(linie.end(), nadmiarowe.begin(), nadmiarowe.end());
    }
    linie.push_back(kreska);
    return linie;
}

void sprawdzZasoby() {
    std::vector<std::string> linie;
    try {
        linie = raportZasobow();
    } catch (const CatalogueError& blad) {
        g_bladKrytyczny = true;
        platform::messageBox(nullptr, std::string(kBladKatalogu) + blad.what(), kTytulRaportu,
                             platform::MessageIcon::Error);
        return;
    }
    if (linie.empty()) {
        platform::messageBox(nullptr, "Wszystkie zasoby słów istnieją.\nBrak plików nadmiarowych.",
                             kTytulRaportu, platform::MessageIcon::Information);
        return;
    }
    // The heading carries its own two line breaks, so the file starts with it and two empty lines.
    linie.insert(linie.begin(), "Raport Zasobów\r\n\r\n");
    std::string tekst;
    for (const std::string& l : linie)
        tekst += l + "\r\n";
    try {
        platform::fs::writeAtomic(kPlikRaportu, tekst);
    } catch (const std::exception&) {
        platform::messageBox(nullptr, "Błąd podczas zapisu do pliku \"Raport zasobów.txt\"!", kTytulRaportu,
                             platform::MessageIcon::Error);
        return;
    }
    platform::messageBox(nullptr,
                         "Brak niektórych plików lub istnieją plik nadmiarowe!\n\nRaport zapisano w pliku "
                         "\"Raport zasobów.txt\"",
                         kTytulRaportu, platform::MessageIcon::Warning);
}

void zakonczGreWToku(ProgramWindows& okna) {
    static std::atomic<bool> zakonczona{false};
    StatisticsFile* statystyki = okna.context().statistics;
    const ResultsWindow* wyniki = okna.results();
    if (!statystyki || (wyniki && wyniki->visible())) return; // its record is written already
    bool wToku = false;
    for (int gra = ZAK_PODPISYWANIE; gra <= ZAK_SPADAJACE; ++gra)
        if (platform::Form* f = okna.game(gra); f && f->visible()) wToku = true;
    if (!wToku || zakonczona.exchange(true)) return;
    statystyki->zakoncz();
    statystyki->zapisz(0);
}

int uruchomProgram(const std::vector<std::string>& args, const ProgramObserver& observer) {
    g_bladKrytyczny = false;
    int kod = 0;
    try {
        kod = uruchom(args, observer);
    } catch (const std::exception&) {
        pokazBladKrytyczny(nullptr);
    }
    // On a desktop the message box has told the user; a scripted run has only its exit code to tell.
    return g_bladKrytyczny && platform::hasApp() && platform::app().headless() ? 1 : kod;
}

namespace {

// Tells the observer about the windows from their creation until just before they go.
class Obserwowane {
public:
    Obserwowane(const ProgramObserver& observer, ProgramWindows& okna) : observer_(observer) {
        if (observer_) observer_(&okna);
    }
    ~Obserwowane() {
        if (observer_) observer_(nullptr);
    }
    Obserwowane(const Obserwowane&) = delete;
    Obserwowane& operator=(const Obserwowane&) = delete;

private:
    const ProgramObserver& observer_;
};

int uruchom(const std::vector<std::string>& args, const ProgramObserver& observer) {
    platform::Application& app = platform::app();
    const platform::Size ekran = app.screenSize();
    ProgramContext kontekst;
    kontekst.layout.init(ekran.width, ekran.height);
    ProgramWindows okna(kontekst);
    const Obserwowane obserwowane(observer, okna);

    if (!args.empty() && args[0] == "z") {
        sprawdzZasoby();
        return 0;
    }

    app.setTitle("S-Wirowanki Cz.I Demo");
    platform::SingleInstance instancja("Wirowanki Cz.I Demo MUTEX");
    if (!instancja.acquire()) {
        // The first copy comes to the front (its splash, if that is all it shows yet); when it cannot be
        // reached the user is told instead.
        if (!instancja.askFirstToRaise())
            platform::messageBox(messageOwner(&okna),
                                 "Aplikacja jest aktualnie uruchomiona.\n\nZamknij proces aplikajcji lub "
                                 "uruchom ponownie komputer.",
                                 kTytul, platform::MessageIcon::Error);
        return 0;
    }
    instancja.listen();
    usunTymczasowe();
    app.setTitle(kTytul);

    const std::string katalogStartowy = platform::fs::currentDir();
    const std::string katalogProgramu = platform::fs::programDir();
    platform::fs::setCurrentDir(katalogProgramu);
    platform::random::seed(static_cast<std::uint32_t>(platform::localSeconds()));

    bool gotowe = false;
    try {
        okna.showSplash();
        app.processMessages();
        if (kontekst.layout.screenTooSmall()) throw FatalError(2);
        platform::fs::setCurrentDir(katalogProgramu);
        if (!kontekst.settings.readConfiguration()) throw FatalError(4);
        kontekst.settings.loadRemembered();
        gotowe = true;
    } catch (const FatalError& blad) {
        g_bladKrytyczny = true;
        blad.pokazBlad(messageOwner(&okna));
    } catch (const std::exception&) {
        pokazBladKrytyczny(messageOwner(&okna));
    }
    if (gotowe) uruchomOkna(okna);
    okna.removeSplash();
    platform::fs::setCurrentDir(katalogStartowy);
    return 0;
}

} // namespace

int usunTymczasowe() {
    int usuniete = 0;
    for (const Tymczasowe& t : kTymczasowe)
        usuniete += platform::fs::removeStaleTemporaries(t.folder, t.maska);
    return usuniete;
}
