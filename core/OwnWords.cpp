// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/OwnWords.hpp"

#include "core/WordVoices.hpp"
#include "platform/system/Fs.hpp"
#include "words/WordProposal.hpp"

#include <algorithm>
#include <exception>
#include <set>

namespace {

constexpr const char* kHeading = "# Własne słowa, dodane w programie: nazwa, głoski, dźwięk, pozycja.\n";

std::string ownFolder() {
    return platform::fs::resolveInUserDir(kOwnWordsFolder);
}

std::string cataloguePath() {
    return ownFolder() + "/" + kOwnCatalogueFile;
}

bool hasWords(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t' || line.front() == '\r'))
            line.remove_prefix(1);
        if (!line.empty() && line.front() != '#' && line.front() != '\r') return true;
    }
    return false;
}

bool complete(const Word& w) {
    if (!hasOwnVoice(w.stem)) return false;
    for (const std::string& name : wordPictureNames(w.stem))
        if (!platform::fs::exists(ownWordFolder(w.stem) + "/" + name)) return false;
    return true;
}

void writeCatalogue(const std::vector<Word>& words) {
    if (!platform::fs::createPrivateDir(ownFolder())) throw std::runtime_error("");
    std::string text = kHeading;
    for (const Word& w : words)
        text += catalogueLine(w) + "\n";
    platform::fs::writeFileAtomic(cataloguePath(),
                                  {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// Folders no word owns any more, with the voice of each: what a kill during a save or a removal left. A
// save writes the folder before the voice and a removal takes the voice before the folder, so a leftover
// voice always has its folder beside it; any other voice (a shipped word's, whatever catalogue this run
// has) is never touched.
void removeLeftovers(const std::vector<Word>& shipped, const std::vector<Word>& own) {
    std::set<std::string> stems;
    for (const Word& w : own)
        stems.insert(w.stem);
    for (const Word& w : shipped)
        stems.insert(w.stem);
    for (const std::string& dir : platform::fs::listDirs(ownFolder())) {
        if (stems.count(dir)) continue;
        if (dir[0] != '.') removeOwnVoice(dir);
        platform::fs::removeTree(ownFolder() + "/" + dir);
    }
}

} // namespace

std::string catalogueLine(const Word& w) {
    std::string spelling = w.spelling;
    if (!spelling.empty() && spelling.back() == ',') spelling.pop_back();
    const std::uint16_t sound = w.flags & 0x00FF;
    const std::uint16_t position = w.flags & (kPositionNaglos | kPositionSrodglos | kPositionWyglos);
    return w.stem + "\t" + spelling + "\t" + soundName(sound) + "\t" + positionName(position);
}

std::vector<Word> readOwnCatalogue() {
    if (!platform::fs::exists(cataloguePath())) return {};
    std::vector<std::uint8_t> bytes;
    try {
        bytes = platform::fs::readFile(cataloguePath(), 1 << 20);
    } catch (const std::exception& e) {
        throw CatalogueError(e.what());
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<Word> words;
    if (hasWords(text)) words = readCatalogue(text, cataloguePath());
    for (Word& w : words)
        w.own = true;
    return words;
}

OwnWords loadOwnWords(const std::vector<Word>& shipped, bool tidy) {
    OwnWords result;
    std::vector<Word> read;
    if (platform::fs::exists(cataloguePath())) {
        try {
            read = readOwnCatalogue();
        } catch (const std::exception& e) {
            const std::string aside = platform::fs::moveAside(cataloguePath());
            result.message =
                "Lista własnych słów była uszkodzona (" + std::string(e.what()) + ")" +
                (aside.empty() ? std::string() : "; zachowano ją jako \u201e" + aside + "\u201d") +
                ". Własne słowa nie są teraz dostępne.";
            return result;
        }
    }
    std::vector<std::string> left;
    for (Word& w : read) {
        w.own = true;
        // A replacement of its pictures stopped between its two renames: the earlier set is the word's again.
        const std::string aside = ownFolder() + "/." + w.stem + ".stare";
        if (tidy && !platform::fs::dirExists(ownWordFolder(w.stem)) && platform::fs::dirExists(aside))
            platform::fs::renameNew(aside, ownWordFolder(w.stem));
        const bool clash = std::any_of(shipped.begin(), shipped.end(), [&](const Word& s) {
            return s.stem == w.stem ||
                   platform::fs::sameIgnoringCase(writtenWord(s.spelling), writtenWord(w.spelling));
        });
        if (clash || !complete(w)) {
            left.push_back(writtenWord(w.spelling));
            continue;
        }
        result.words.push_back(std::move(w));
    }
    if (!left.empty()) {
        std::string names;
        for (const std::string& n : left)
            names += (names.empty() ? "" : ", ") + n;
        result.message =
            "Pominięto własne słowa, którym brakuje obrazka lub głosu albo które są już w katalogu: " +
            names + ".";
    } else if (tidy) {
        removeLeftovers(shipped, result.words);
    }
    return result;
}

std::string existingWordProblem(const std::string& word, const std::vector<Word>& all,
                                const std::string& exceptStem) {
    for (const Word& w : all)
        if (w.stem != exceptStem && platform::fs::sameIgnoringCase(writtenWord(w.spelling), word))
            return "Słowo \u00bb" + writtenWord(w.spelling) + "\u00ab już jest w katalogu" +
                   (w.own ? " (wśród własnych słów)." : ".");
    return {};
}

std::string freeStem(const std::string& word, const std::vector<Word>& all) {
    std::string base = asciiStem(word).substr(0, 36);
    if (base.empty()) base = "slowo";
    auto taken = [&](const std::string& s) {
        return std::any_of(all.begin(), all.end(), [&](const Word& w) { return w.stem == s; });
    };
    std::string stem = base;
    for (int n = 2; taken(stem); ++n)
        stem = base + std::to_string(n);
    return stem;
}

std::string saveOwnWord(const NewOwnWord& added, const std::vector<Word>& own, const OwnWordStep& afterStep) {
    const std::string& stem = added.word.stem;
    const bool replacing = std::any_of(own.begin(), own.end(), [&](const Word& w) { return w.stem == stem; });
    const auto step = [&](const char* name) {
        if (afterStep) afterStep(name);
    };
    try {
        if (!platform::fs::createPrivateDir(ownFolder())) throw WordPicturesError("");
        writeWordPictures(added.pictures, ownFolder(), stem);
    } catch (const std::exception&) {
        return "Nie udało się zapisać obrazków słowa (może brak miejsca na dysku); słowa nie dodano.";
    }
    step("obrazki");
    if (std::string error = keepOwnVoice(stem, added.voice); !error.empty()) {
        if (!replacing) platform::fs::removeTree(ownWordFolder(stem));
        return "Nie udało się zapisać głosu słowa (może brak miejsca na dysku); słowa nie dodano.";
    }
    step("glos");
    std::vector<Word> words;
    for (const Word& w : own)
        if (w.stem != stem) words.push_back(w);
    words.push_back(added.word);
    try {
        writeCatalogue(words);
    } catch (const std::exception&) {
        if (!replacing) {
            platform::fs::removeTree(ownWordFolder(stem));
            removeOwnVoice(stem);
        }
        return "Nie udało się zapisać listy własnych słów (może brak miejsca na dysku); słowa nie dodano.";
    }
    step("katalog");
    return {};
}

std::string removeOwnWord(const std::string& stem, const std::vector<Word>& own,
                          const OwnWordStep& afterStep) {
    std::vector<Word> words;
    for (const Word& w : own)
        if (w.stem != stem) words.push_back(w);
    try {
        writeCatalogue(words);
    } catch (const std::exception&) {
        return "Nie udało się usunąć słowa z listy własnych słów.";
    }
    if (afterStep) afterStep("katalog");
    // The word is gone with its line; its files follow, and a kill now leaves them for the next start.
    removeOwnVoice(stem);
    if (afterStep) afterStep("glos");
    platform::fs::removeTree(ownWordFolder(stem));
    return {};
}
