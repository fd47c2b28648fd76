// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Program.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/OwnWords.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "core/StatisticsFile.hpp"
#include "core/WordChoice.hpp"
#include "core/WordVoices.hpp"
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
#include "report/Report.hpp"
#include "windows/AboutWindow.hpp"
#include "windows/AdultGate.hpp"
#include "windows/ChildChooser.hpp"
#include "windows/MainMenu.hpp"
#include "windows/MessageWindow.hpp"
#include "windows/ProfilesWindow.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/ResultsWindow.hpp"
#include "windows/SplashWindow.hpp"
#include "words/Catalogue.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <exception>
#include <iostream>

namespace {

constexpr const char* kTitle = "Wirowanki Cz.I Demo";
constexpr const char* kErrorTitle = "Wirowanki Cz.I Demo - Błąd";
constexpr const char* kReportTitle = "Wirowanki Cz.I Demo - Raport zasobów";
constexpr const char* kCriticalError = "Wystąpił błąd krytyczny aplikacji!";
constexpr const char* kReportFile = "Raport zasobów.txt";
constexpr const char* kCatalogueError = "Błąd w katalogu słów:\n\n";

// Start-up's message boxes belong to the splash while it is there.
platform::Form* messageOwner(const ProgramWindows* windows) {
    return windows ? windows->splash() : nullptr;
}

// A run that ended on an error message; headless runs report it in their exit code.
bool g_fatalError = false;

void showFatalError(platform::Form* owner) {
    g_fatalError = true;
    platform::messageBox(owner, kCriticalError, kErrorTitle, platform::MessageIcon::Error);
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The child who plays next: with two or more profiles (or when the menu asked for the choice) the
// chooser, else the only one. 0 when the program is to end.
int chooseChild(ProgramWindows& windows, bool ask) {
    ProgramContext& context = windows.context();
    const auto& all = context.profiles.all();
    if (all.empty()) return 0;
    if (all.size() == 1 && !ask) return all.front().number;
    ChildChooser chooser(context);
    chooser.onManage = [&chooser, &context] {
        if (!AdultGate::ask("Zmiany na liście dzieci.")) return;
        ProfilesWindow manager(context);
        manager.showModal();
        chooser.refresh();
    };
    windows.setChooser(&chooser);
    windows.removeSplash();
    const int result = chooser.showModal();
    windows.setChooser(nullptr);
    if (result != platform::kModalOk || platform::app().terminated()) return -1;
    return chooser.chosen();
}

// The child's own files from now on: settings as configured, then as the child's folder remembers them.
bool useChild(ProgramContext& context, int number) {
    const Profile* child = context.profiles.find(number);
    platform::fs::setUserSubfolder(child ? child->folder() : std::string());
    context.child = child ? number : 0;
    removeTemporaries();
    context.settings = ProgramSettings();
    if (!context.settings.readConfiguration()) return false;
    context.settings.loadRemembered();
    return true;
}

// Steps 11-17: shared objects, windows, the loop, and their teardown in order; again for each child
// chosen after the main menu asked for another.
void runWindows(ProgramWindows& windows) {
    ProgramContext& context = windows.context();
    int emergencyStep = 0;
    std::unique_ptr<Catalogue> catalogue;
    std::unique_ptr<StatisticsFile> statistics;
    try {
        catalogue = createCatalogue();
        OwnWords own = loadOwnWords(catalogue->table(), true);
        catalogue->setOwnWords(std::move(own.words));
        context.catalogue = catalogue.get();
        if (!own.message.empty())
            platform::messageBox(messageOwner(&windows), own.message, kTitle, platform::MessageIcon::Warning);
        if (!context.profiles.notes().empty())
            platform::messageBox(messageOwner(&windows), context.profiles.notes(), kTitle,
                                 platform::MessageIcon::Warning);
        emergencyStep =
            platform::signals::addEmergencyStep([&windows] { finishGameInProgress(windows); }, true);
        bool ask = false;
        for (;;) {
            const int child = chooseChild(windows, ask);
            if (child < 0) break;
            if (!useChild(context, child)) throw FatalError(4);
            statistics = std::make_unique<StatisticsFile>(1);
            context.statistics = statistics.get();
            WordChoice words = loadWordChoice();
            catalogue->setSwitchedOff(std::move(words.switchedOff));
            if (!words.message.empty())
                platform::messageBox(messageOwner(&windows), words.message, kTitle,
                                     platform::MessageIcon::Warning);

            MainMenu* menu = windows.create<MainMenu>(windows);
            platform::app().setMainForm(menu);
            windows.create<MessageWindow>();
            // The game windows, each under its game number so that the main menu's start button finds it.
            windows.createGame<MemoryWindow>(kGameMemory, windows);
            windows.createGame<LabellingWindow>(kGameLabelling, windows);
            windows.createGame<CompletionWindow>(kGameCompletion, windows);
            windows.createGame<FallingWindow>(kGameFalling, windows);
            windows.create<ResultsWindow>(context);
            windows.create<AboutWindow>(context);

            menu->show();
            // What start-up mended or set aside in the statistics file is said once.
            if (!statistics->notes().empty())
                platform::messageBox(messageOwner(&windows), statistics->notes(), kTitle,
                                     platform::MessageIcon::Warning);
            // The splash stays in front of the menu until the menu removes it.
            if (windows.splash()) static_cast<platform::Form*>(windows.splash())->bringToFront();
            platform::app().run();
            if (!context.changeChild || g_fatalError) break;
            // Another child: this one's windows and files are closed before the choice.
            context.changeChild = false;
            ask = true;
            windows.destroyWindows();
            context.statistics = nullptr;
            statistics.reset();
            platform::app().resume();
        }
    } catch (const FatalError& error) {
        g_fatalError = true;
        error.showError(messageOwner(&windows));
    } catch (const CatalogueError& error) {
        g_fatalError = true;
        platform::messageBox(messageOwner(&windows), std::string(kCatalogueError) + error.what(), kErrorTitle,
                             platform::MessageIcon::Error);
    } catch (const std::exception&) {
        showFatalError(messageOwner(&windows));
    }
    windows.removeSplash();
    platform::signals::removeEmergencyStep(emergencyStep);
    context.statistics = nullptr;
    statistics.reset();
    context.catalogue = nullptr;
    catalogue.reset();
    // The windows go last: they outlive the shared objects.
    windows.destroyWindows();
    platform::fs::setUserSubfolder("");
}

int run(const std::vector<std::string>& args, const ProgramObserver& observer);

// Every file the program replaces atomically, by folder (report/ and recorder/ name theirs the same).
struct TemporaryFiles {
    const char* folder;
    const char* mask;
};
constexpr TemporaryFiles kTemporaries[] = {
    {"", "prgst*.stt"},           {"", "prgst*.stt.bad-tail*"}, {"", "ustawienia.ini"},
    {"", "Raport postępów.html"}, {"", "Raport postępów.csv"},  {"", "Raport zasobów.txt"},
    {"Nagrane", "record.xtr"},    {"Nagrane", "Nagranie*.wav"},
};

} // namespace

std::vector<std::string> resourceReport() {
    const std::unique_ptr<Catalogue> catalogue = createCatalogue();
    struct DataDirectory {
        std::string name;
        std::vector<std::string> expected;
    };
    std::vector<DataDirectory> dataDirectories{
        DataDirectory{"Data\\Sio\\", {}}, DataDirectory{"Data\\Bio\\", {}}, DataDirectory{"Data\\Smd\\", {}}};
    for (const Word& s : catalogue->table()) {
        dataDirectories[0].expected.push_back("s" + s.stem + ".xji");
        for (const char* suffix : {"_ms.xji", "_mb.xji", "_ups.xji", "_upb.xji"})
            dataDirectories[1].expected.push_back(s.stem + suffix);
        dataDirectories[2].expected.push_back(s.stem + ".pw");
    }
    for (const char* n : {"allred.xji", "blkcard0.xji", "blkcard1.xji", "squest.xji"})
        dataDirectories[0].expected.emplace_back(n);
    for (const char* n : {"_matr_mb.xji", "_matr_ms.xji", "_matr_upb.xji", "_matr_ups.xji"})
        dataDirectories[1].expected.emplace_back(n);
    // The adult's own words: each folder holds the five pictures, and each word has its voice.
    const std::vector<Word> own = readOwnCatalogue();
    DataDirectory voices{platform::fs::resolveInUserDir(kVoicesFolder) + "/", {}};
    for (const Word& s : own) {
        const auto names = wordPictureNames(s.stem);
        dataDirectories.push_back({ownWordFolder(s.stem) + "/", {names.begin(), names.end()}});
        voices.expected.push_back(s.stem + ".pw");
    }

    std::vector<std::string> missing, surplus;
    for (const DataDirectory& k : dataDirectories) {
        std::vector<std::string> presentFiles = platform::fs::list(k.name, "*.*");
        for (const std::string& name : k.expected) {
            auto it = presentFiles.begin();
            while (it != presentFiles.end() && !equalIgnoringCase(*it, name))
                ++it;
            if (it == presentFiles.end())
                missing.push_back(k.name + name);
            else
                presentFiles.erase(it);
        }
        for (const std::string& rest : presentFiles)
            surplus.push_back(k.name + rest);
    }
    // Voices of shipped words lie beside those of own words: only what is missing counts there.
    for (const std::string& name : voices.expected)
        if (!platform::fs::exists(voices.name + name)) missing.push_back(voices.name + name);
    if (missing.empty() && surplus.empty()) return {};

    const std::string dashes(56, '-');
    std::vector<std::string> lines{dashes};
    if (missing.empty()) {
        lines.emplace_back("Wszystkie pliki zasobów istnieją.");
    } else {
        lines.emplace_back("Brakujące pliki zasobów:");
        lines.insert(lines.end(), missing.begin(), missing.end());
    }
    lines.push_back(dashes);
    if (surplus.empty()) {
        lines.emplace_back("Brak plików nadmiarowych.");
    } else {
        lines.emplace_back("Nadmiarowe pliki zasobów:");
        lines.insert(lines.end(), surplus.begin(), surplus.end());
    }
    lines.push_back(dashes);
    return lines;
}

void checkResources() {
    std::vector<std::string> lines;
    try {
        lines = resourceReport();
    } catch (const CatalogueError& error) {
        g_fatalError = true;
        platform::messageBox(nullptr, std::string(kCatalogueError) + error.what(), kReportTitle,
                             platform::MessageIcon::Error);
        return;
    }
    if (lines.empty()) {
        platform::messageBox(nullptr, "Wszystkie zasoby słów istnieją.\nBrak plików nadmiarowych.",
                             kReportTitle, platform::MessageIcon::Information);
        return;
    }
    // The heading carries its own two line breaks, so the file starts with it and two empty lines.
    lines.insert(lines.begin(), "Raport Zasobów\r\n\r\n");
    std::string text;
    for (const std::string& l : lines)
        text += l + "\r\n";
    try {
        platform::fs::writeAtomic(kReportFile, text);
    } catch (const std::exception&) {
        platform::messageBox(nullptr, "Błąd podczas zapisu do pliku \"Raport zasobów.txt\"!", kReportTitle,
                             platform::MessageIcon::Error);
        return;
    }
    platform::messageBox(nullptr,
                         "Brak niektórych plików lub istnieją plik nadmiarowe!\n\nRaport zapisano w pliku "
                         "\"Raport zasobów.txt\"",
                         kReportTitle, platform::MessageIcon::Warning);
}

void finishGameInProgress(ProgramWindows& windows) {
    static std::atomic<bool> finished{false};
    StatisticsFile* statistics = windows.context().statistics;
    const ResultsWindow* results = windows.results();
    if (!statistics || (results && results->visible())) return; // its record is written already
    bool inProgress = false;
    for (int game = kGameLabelling; game <= kGameFalling; ++game)
        if (platform::Form* f = windows.game(game); f && f->visible()) inProgress = true;
    if (!inProgress || finished.exchange(true)) return;
    statistics->finish();
    statistics->save(0);
}

int runProgram(const std::vector<std::string>& args, const ProgramObserver& observer) {
    g_fatalError = false;
    int code = 0;
    try {
        code = run(args, observer);
    } catch (const std::exception&) {
        showFatalError(nullptr);
    }
    // On a desktop the message box has told the user; a scripted run has only its exit code to tell.
    return g_fatalError && platform::hasApp() && platform::app().headless() ? 1 : code;
}

namespace {

// Tells the observer about the windows from their creation until just before they go.
class WindowObserverGuard {
public:
    WindowObserverGuard(const ProgramObserver& observer, ProgramWindows& windows) : observer_(observer) {
        if (observer_) observer_(&windows);
    }
    ~WindowObserverGuard() {
        if (observer_) observer_(nullptr);
    }
    WindowObserverGuard(const WindowObserverGuard&) = delete;
    WindowObserverGuard& operator=(const WindowObserverGuard&) = delete;

private:
    const ProgramObserver& observer_;
};

int run(const std::vector<std::string>& args, const ProgramObserver& observer) {
    platform::Application& app = platform::app();
    const platform::Size screen = app.screenSize();
    ProgramContext context;
    context.layout.init(screen.width, screen.height);
    ProgramWindows windows(context);
    const WindowObserverGuard observedWindows(observer, windows);

    if (!args.empty() && args[0] == "z") {
        checkResources();
        return 0;
    }

    app.setTitle("S-Wirowanki Cz.I Demo");
    platform::SingleInstance instance("Wirowanki Cz.I Demo MUTEX");
    if (!instance.acquire()) {
        // The first copy comes to the front (its splash, if that is all it shows yet); when it cannot be
        // reached the user is told instead.
        if (!instance.askFirstToRaise())
            platform::messageBox(messageOwner(&windows),
                                 "Aplikacja jest aktualnie uruchomiona.\n\nZamknij proces aplikajcji lub "
                                 "uruchom ponownie komputer.",
                                 kTitle, platform::MessageIcon::Error);
        return 0;
    }
    instance.listen();
    platform::fs::setUserSubfolder("");
    removeTemporaries();
    context.profiles.open();
    app.setTitle(kTitle);

    const std::string startDirectory = platform::fs::currentDir();
    const std::string programDirectory = platform::fs::programDir();
    platform::fs::setCurrentDir(programDirectory);
    platform::random::seed(static_cast<std::uint32_t>(platform::localSeconds()));

    bool ready = false;
    try {
        windows.showSplash();
        app.processMessages();
        if (context.layout.screenTooSmall()) throw FatalError(2);
        platform::fs::setCurrentDir(programDirectory);
        // The configuration is read for each child; here only whether it can be read at all.
        if (!context.settings.readConfiguration()) throw FatalError(4);
        ready = true;
    } catch (const FatalError& error) {
        g_fatalError = true;
        error.showError(messageOwner(&windows));
    } catch (const std::exception&) {
        showFatalError(messageOwner(&windows));
    }
    if (ready) runWindows(windows);
    windows.removeSplash();
    platform::fs::setCurrentDir(startDirectory);
    return 0;
}

} // namespace

int reportCommand(const std::vector<std::string>& args, const std::optional<std::string>& child) {
    Profiles profiles;
    profiles.read();
    std::vector<report::ChildEntry> children;
    for (const Profile& p : profiles.all())
        children.push_back({p.name, p.folder()});
    std::vector<std::string> command{args.front()};
    if (child) command.insert(command.end(), {"--dziecko", *child});
    command.insert(command.end(), args.begin() + 1, args.end());
    return report::runCommand(command, std::cout, std::cerr, children);
}

int removeTemporaries() {
    int removed = 0;
    for (const TemporaryFiles& t : kTemporaries)
        removed += platform::fs::removeStaleTemporaries(t.folder, t.mask);
    return removed;
}
