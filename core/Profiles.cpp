// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Profiles.hpp"

#include "platform/system/Fs.hpp"
#include "platform/system/Ini.hpp"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace {

constexpr const char* kSection = "Dziecko";
constexpr const char* kFirstName = "Dziecko 1";
// A move-in in progress, a profile being added, one being removed: never a profile themselves.
constexpr const char* kMovingIn = ".przenoszone";
constexpr const char* kAddingPrefix = ".nowe-";
constexpr const char* kRemovingPrefix = ".usuwane-";

// What a single-user directory held before profiles: these move into the first profile.
constexpr const char* kOldFiles[] = {"prgst1.stt",       "prgst1.stt.*",         "ustawienia.ini",
                                     "ustawienia.ini.*", "Raport postępów.html", "Raport postępów.csv"};
constexpr const char* kOldFolders[] = {"Nagrane", "Nagrane.bad*"};

std::string userPath(std::string_view gamePath) {
    return platform::fs::resolveInUserDir(gamePath);
}

std::string profilesPath() {
    return userPath(kProfilesFolder);
}

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

// Code points of valid UTF-8, or -1; control characters and slashes set bad.
int countCharacters(std::string_view s, bool& bad) {
    int count = 0;
    for (std::size_t i = 0; i < s.size(); ++count) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t c = b;
        if (b >= 0xF0 && b < 0xF5) {
            extra = 3;
            c = b & 0x07;
        } else if (b >= 0xE0) {
            extra = b < 0xF0 ? 2 : -1;
            c = b & 0x0F;
        } else if (b >= 0xC2) {
            extra = 1;
            c = b & 0x1F;
        } else if (b >= 0x80) {
            extra = -1;
        }
        if (extra < 0 || i + std::size_t(extra) >= s.size() + (extra == 0 ? 1 : 0)) return -1;
        for (int k = 1; k <= extra; ++k) {
            const auto n = static_cast<unsigned char>(s[i + std::size_t(k)]);
            if ((n & 0xC0) != 0x80) return -1;
            c = (c << 6) | (n & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode's end are not text.
        if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
            (c >= 0xD800 && c <= 0xDFFF))
            return -1;
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == '/' || c == '\\' || c == 0x2028 ||
            c == 0x2029)
            bad = true;
        i += std::size_t(extra) + 1;
    }
    return count;
}

bool isNumberName(const std::string& name) {
    return !name.empty() && name.size() <= 6 && name[0] != '0' &&
           std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool validPicture(std::string_view stem) {
    return stem.size() <= 40 && std::all_of(stem.begin(), stem.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
           });
}

std::string profileText(const Profile& p) {
    return std::string("[") + kSection + "]\r\nImie=" + p.name + "\r\nObrazek=" + p.picture + "\r\n";
}

} // namespace

std::string Profile::folder() const {
    return std::string(kProfilesFolder) + "\\" + std::to_string(number);
}

std::string trimmedName(std::string_view name) {
    while (!name.empty() && isSpace(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && isSpace(name.back()))
        name.remove_suffix(1);
    return std::string(name);
}

std::string nameProblem(std::string_view raw, const std::vector<Profile>& profiles, int exceptNumber) {
    const std::string name = trimmedName(raw);
    if (name.empty()) return "Wpisz imię dziecka.";
    // A paste of a whole page is refused before it is looked at character by character.
    if (name.size() > std::size_t(kMaxNameLength) * 4)
        return "Imię może mieć najwyżej " + std::to_string(kMaxNameLength) + " znaków.";
    bool bad = false;
    const int length = countCharacters(name, bad);
    if (length < 0) return "Imię zawiera nieprawidłowe znaki.";
    if (bad) return "Imię nie może zawierać znaków sterujących ani ukośników (/ \\).";
    if (length > kMaxNameLength)
        return "Imię może mieć najwyżej " + std::to_string(kMaxNameLength) + " znaków.";
    for (const Profile& p : profiles)
        if (p.number != exceptNumber && platform::fs::sameIgnoringCase(p.name, name))
            return "Dziecko o imieniu \u201e" + p.name + "\u201d już jest na liście.";
    return {};
}

const Profile* Profiles::find(int number) const {
    for (const Profile& p : profiles_)
        if (p.number == number) return &p;
    return nullptr;
}

const Profile* Profiles::findByName(std::string_view name) const {
    const std::string wanted = trimmedName(name);
    for (const Profile& p : profiles_)
        if (platform::fs::sameIgnoringCase(p.name, wanted)) return &p;
    return nullptr;
}

int Profiles::nextNumber() const {
    int highest = 0;
    for (const std::string& name : platform::fs::listDirs(profilesPath()))
        if (isNumberName(name)) highest = std::max(highest, std::stoi(name));
    return highest + 1;
}

bool Profiles::writeProfile(const std::string& folder, const Profile& profile, std::string* error) {
    try {
        platform::fs::writeAtomic(folder + "/" + kProfileFile, profileText(profile));
        return true;
    } catch (const std::exception& e) {
        if (error) *error = std::string("Nie udało się zapisać danych dziecka: ") + e.what();
        return false;
    }
}

bool Profiles::moveIn(const StepHook& afterStep) {
    namespace fs = platform::fs;
    const std::string base = profilesPath();
    const std::string staging = base + "/" + kMovingIn;
    auto step = [&](const std::string& what) {
        if (afterStep) afterStep(what);
    };
    std::vector<std::string> old;
    const std::string root = userPath("");
    for (const char* mask : kOldFiles)
        for (const std::string& name : fs::list(root, mask))
            // "x.*" matches "x" as well, as masks do on the system the names come from.
            if (std::find(old.begin(), old.end(), name) == old.end()) old.push_back(name);
    for (const std::string& name : fs::listDirs(root))
        for (const char* mask : kOldFolders)
            if (fs::matchMask(name, mask)) old.push_back(name);
    const bool resuming = fs::dirExists(staging);
    if (!resuming) {
        if (old.empty()) return true;
        for (const std::string& name : fs::listDirs(base))
            if (isNumberName(name)) return true; // profiles exist: whatever lies beside them is not ours
    }
    if (!fs::createPrivateDir(base) || !fs::createPrivateDir(staging)) {
        notes_ = "Nie udało się utworzyć katalogu \u201e" + base +
                 "\u201d na dane dzieci. Program zapisuje wyniki tak jak dotąd, wspólnie dla wszystkich.";
        return false;
    }
    if (!resuming) step("folder");
    if (!fs::exists(staging + "/" + kProfileFile)) {
        Profile first;
        first.name = kFirstName;
        std::string error;
        if (!writeProfile(staging, first, &error)) {
            notes_ = error;
            return false;
        }
        step("profile");
    }
    std::string failed;
    for (const std::string& name : old) {
        int cause = 0;
        if (fs::renameNew(root + "/" + name, staging + "/" + name, &cause)) {
            step(name);
        } else if (failed.empty()) {
            failed = name;
        }
    }
    if (!failed.empty()) {
        // Left where it is: the old layout keeps working for that file, and nothing is lost.
        notes_ = "Nie udało się przenieść pliku \u201e" + root + "/" + failed +
                 "\u201d do danych pierwszego dziecka.";
    }
    const std::string target = base + "/" + std::to_string(nextNumber());
    int cause = 0;
    if (!fs::renameNew(staging, target, &cause)) {
        notes_ = "Nie udało się przenieść dotychczasowych wyników do katalogu \u201e" + target + "\u201d.";
        return false;
    }
    step("done");
    return true;
}

void Profiles::read() {
    notes_.clear();
    readFolders(false);
}

void Profiles::readFolders(bool repair) {
    namespace fs = platform::fs;
    const std::string base = profilesPath();
    profiles_.clear();
    std::vector<int> numbers;
    for (const std::string& name : fs::listDirs(base)) {
        // Leftovers of an add or a removal a kill interrupted.
        if (name.starts_with(kAddingPrefix) || name.starts_with(kRemovingPrefix)) {
            if (repair) fs::removeTree(base + "/" + name);
            continue;
        }
        if (isNumberName(name)) numbers.push_back(std::stoi(name));
    }
    std::sort(numbers.begin(), numbers.end());
    for (int number : numbers) {
        Profile p;
        p.number = number;
        const std::string folder = base + "/" + std::to_string(number);
        const std::string file = folder + "/" + kProfileFile;
        bool whole = false;
        {
            const platform::IniFile ini(file);
            p.name = trimmedName(ini.readString(kSection, "Imie", ""));
            p.picture = ini.readString(kSection, "Obrazek", "");
            whole = ini.valueExists(kSection, "Imie") && nameProblem(p.name, profiles_).empty();
        }
        if (!validPicture(p.picture)) p.picture.clear();
        if (!whole) {
            // A damaged description is kept aside and the name rebuilt; the child's files stay. A folder
            // without one (made by hand, or by an older copy) just gets the name.
            const bool damaged = fs::exists(file) || fs::dirExists(file);
            for (int n = number;; ++n) {
                p.name = "Dziecko " + std::to_string(n);
                if (nameProblem(p.name, profiles_).empty()) break;
            }
            if (!repair) {
                profiles_.push_back(p);
                continue;
            }
            const std::string aside = damaged ? fs::moveAside(file) : std::string();
            std::string error;
            writeProfile(folder, p, &error);
            if (damaged) {
                if (!notes_.empty()) notes_ += "\n";
                notes_ += "Dane dziecka w katalogu \u201e" + folder + "\u201d były uszkodzone" +
                          (aside.empty() ? std::string() : " (zachowano je jako \u201e" + aside + "\u201d)") +
                          "; wyniki i nagrania zostały, a dziecko nazywa się teraz \u201e" + p.name +
                          "\u201d.";
            }
        }
        profiles_.push_back(p);
    }
}

void Profiles::open(const StepHook& afterStep) {
    notes_.clear();
    profiles_.clear();
    if (!moveIn(afterStep)) return;
    readFolders(true);
    if (profiles_.empty()) {
        const std::string problem = add(kFirstName, "");
        if (!problem.empty()) {
            if (!notes_.empty()) notes_ += "\n";
            notes_ += problem;
        }
    }
}

std::string Profiles::add(std::string_view rawName, std::string_view picture, int* number) {
    namespace fs = platform::fs;
    std::string problem = nameProblem(rawName, profiles_);
    if (!problem.empty()) return problem;
    if (!validPicture(picture)) return "Nieprawidłowy obrazek.";
    Profile p;
    p.number = nextNumber();
    p.name = trimmedName(rawName);
    p.picture = picture;
    const std::string base = profilesPath();
    const std::string building = base + "/" + kAddingPrefix + std::to_string(p.number);
    const std::string target = base + "/" + std::to_string(p.number);
    const std::string failure =
        "Nie udało się dodać dziecka: nie można zapisać w katalogu \u201e" + base + "\u201d.";
    fs::removeTree(building);
    if (!fs::createPrivateDir(building)) return failure;
    if (!writeProfile(building, p, &problem) || !fs::renameNew(building, target)) {
        fs::removeTree(building);
        return problem.empty() ? failure : problem;
    }
    profiles_.push_back(p);
    if (number) *number = p.number;
    return {};
}

std::string Profiles::rename(int number, std::string_view rawName) {
    auto it = std::find_if(profiles_.begin(), profiles_.end(),
                           [&](const Profile& p) { return p.number == number; });
    if (it == profiles_.end()) return "Nie ma takiego dziecka.";
    const std::string problem = nameProblem(rawName, profiles_, number);
    if (!problem.empty()) return problem;
    Profile changed = *it;
    changed.name = trimmedName(rawName);
    std::string error;
    if (!writeProfile(userPath(changed.folder()), changed, &error)) return error;
    *it = changed;
    return {};
}

std::string Profiles::setPicture(int number, std::string_view picture) {
    auto it = std::find_if(profiles_.begin(), profiles_.end(),
                           [&](const Profile& p) { return p.number == number; });
    if (it == profiles_.end()) return "Nie ma takiego dziecka.";
    if (!validPicture(picture)) return "Nieprawidłowy obrazek.";
    Profile changed = *it;
    changed.picture = picture;
    std::string error;
    if (!writeProfile(userPath(changed.folder()), changed, &error)) return error;
    *it = changed;
    return {};
}

std::string Profiles::remove(int number) {
    namespace fs = platform::fs;
    auto it = std::find_if(profiles_.begin(), profiles_.end(),
                           [&](const Profile& p) { return p.number == number; });
    if (it == profiles_.end()) return "Nie ma takiego dziecka.";
    const std::string base = profilesPath();
    const std::string folder = base + "/" + std::to_string(number);
    const std::string removing = base + "/" + kRemovingPrefix + std::to_string(number);
    fs::removeTree(removing);
    // Out of the list in one step; what is left of the folder after a kill goes at the next start.
    if (fs::dirExists(folder) && !fs::renameNew(folder, removing))
        return "Nie udało się usunąć danych dziecka z katalogu \u201e" + folder + "\u201d.";
    profiles_.erase(it);
    if (!fs::removeTree(removing))
        return "Dziecko usunięto z listy, ale części plików w katalogu \u201e" + removing +
               "\u201d nie udało się skasować.";
    return {};
}
