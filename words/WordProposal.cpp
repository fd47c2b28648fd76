// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "words/WordProposal.hpp"

#include "words/Catalogue.hpp"
#include "words/LetterTiles.hpp"

#include <algorithm>
#include <array>

namespace {

constexpr std::uint16_t kTrained = kSoundSz | kSoundZz | kSoundCz | kSoundDzz;

// Upper-case Polish letters and their lower-case forms, in UTF-8.
constexpr std::pair<std::string_view, std::string_view> kCases[] = {
    {"Ą", "ą"}, {"Ć", "ć"}, {"Ę", "ę"}, {"Ł", "ł"}, {"Ń", "ń"},
    {"Ó", "ó"}, {"Ś", "ś"}, {"Ź", "ź"}, {"Ż", "ż"},
};

// The word's letters, lower-case, one UTF-8 character each; false for anything but letters.
bool letters(std::string_view text, std::vector<std::string>& out, std::string& bad) {
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t n = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        n = std::min(n, text.size() - i);
        std::string c(text.substr(i, n));
        i += n;
        if (c.size() == 1 && c[0] >= 'A' && c[0] <= 'Z') c[0] = char(c[0] - 'A' + 'a');
        for (const auto& [upper, lower] : kCases)
            if (c == upper) c = lower;
        if (!hasTile(c) || c.size() > 2) {
            bad = c;
            return false;
        }
        out.push_back(std::move(c));
    }
    return true;
}

std::vector<std::string> joinDigraphs(const std::vector<std::string>& ls) {
    std::vector<std::string> units;
    for (std::size_t i = 0; i < ls.size(); ++i) {
        if (i + 1 < ls.size()) {
            const std::string pair = ls[i] + ls[i + 1];
            if (pair == "sz" || pair == "cz" || pair == "rz" || pair == "ch" || pair == "dż" ||
                pair == "dź" || pair == "dz") {
                units.push_back(pair);
                ++i;
                continue;
            }
        }
        units.push_back(ls[i]);
    }
    return units;
}

struct SoundOf {
    std::string_view unit;
    std::uint16_t sound;
    std::string_view partner; // how it sounds when its voicing flips
};
constexpr SoundOf kSounds[] = {
    {"sz", kSoundSz, "ż"},  {"ż", kSoundZz, "sz"},   {"rz", kSoundZz, "sz"},
    {"cz", kSoundCz, "dż"}, {"dż", kSoundDzz, "cz"}, {"s", kSoundS, "z"},
    {"z", kSoundZ, "s"},    {"c", kSoundC, "dz"},    {"dz", kSoundDz, "c"},
};

bool isVoiceless(const std::string& u) {
    static constexpr std::string_view kVoiceless[] = {"p",  "t", "k", "f",  "s",  "ś",
                                                      "sz", "c", "ć", "cz", "ch", "h"};
    return std::find(std::begin(kVoiceless), std::end(kVoiceless), u) != std::end(kVoiceless);
}

// Voiced consonants that make a voiceless one before them voiced (w and rz do not: "swetr", "przy").
bool voicesThePrevious(const std::string& u) {
    static constexpr std::string_view kVoicing[] = {"b", "d", "g", "z", "ź", "ż", "dz", "dź", "dż"};
    return std::find(std::begin(kVoicing), std::end(kVoicing), u) != std::end(kVoicing);
}

bool voiced(std::uint16_t sound) {
    return (sound & (kSoundZz | kSoundDzz | kSoundZ | kSoundDz)) != 0;
}

std::string quotedWord(const std::string& w) {
    return "\u00bb" + w + "\u00ab";
}

} // namespace

const char* soundName(std::uint16_t sound) {
    switch (sound) {
    case kSoundSz:
        return "SZ";
    case kSoundZz:
        return "Ż/RZ";
    case kSoundCz:
        return "CZ";
    case kSoundDzz:
        return "DŻ";
    case kSoundS:
        return "S";
    case kSoundZ:
        return "Z";
    case kSoundC:
        return "C";
    case kSoundDz:
        return "DZ";
    default:
        return "";
    }
}

const char* positionName(std::uint16_t position) {
    return position == kPositionNaglos ? "nagłos" : position == kPositionSrodglos ? "śródgłos" : "wygłos";
}

std::string asciiStem(std::string_view word) {
    static constexpr std::pair<std::string_view, char> kPlain[] = {
        {"ą", 'a'}, {"ć", 'c'}, {"ę", 'e'}, {"ł", 'l'}, {"ń", 'n'},
        {"ó", 'o'}, {"ś", 's'}, {"ź", 'z'}, {"ż", 'z'},
    };
    std::string stem;
    for (std::size_t i = 0; i < word.size();) {
        bool done = false;
        for (const auto& [letter, plain] : kPlain)
            if (word.substr(i, letter.size()) == letter) {
                stem += plain;
                i += letter.size();
                done = true;
                break;
            }
        if (done) continue;
        const char c = word[i++];
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) stem += c;
    }
    return stem;
}

std::string WordProposal::spelling(int occurrence) const {
    const int marked = occurrence >= 0 && occurrence < int(occurrences.size())
                           ? occurrences[std::size_t(occurrence)].unit
                           : -1;
    std::string text;
    for (std::size_t i = 0; i < units.size(); ++i)
        text += (i ? "," : "") + std::string(int(i) == marked ? "_" : "") + units[i];
    return text;
}

WordProposal proposeWord(std::string_view typed) {
    WordProposal p;
    while (!typed.empty() && (typed.front() == ' ' || typed.front() == '\t'))
        typed.remove_prefix(1);
    while (!typed.empty() && (typed.back() == ' ' || typed.back() == '\t'))
        typed.remove_suffix(1);
    if (typed.empty()) {
        p.problem = "Wpisz słowo.";
        return p;
    }
    if (typed.size() > 80) {
        p.problem = "To za długie jak na jedno słowo.";
        return p;
    }
    if (typed.find_first_of(" \t-") != std::string_view::npos) {
        p.problem = "Wpisz jedno słowo, bez spacji i łączników.";
        return p;
    }
    if (typed.find_first_of("0123456789") != std::string_view::npos) {
        p.problem = "Słowo może zawierać tylko litery, bez cyfr.";
        return p;
    }
    std::vector<std::string> ls;
    std::string bad;
    if (!letters(typed, ls, bad)) {
        p.problem =
            "Znaku \u201e" + bad + "\u201d nie ma wśród polskich liter, więc nie ma dla niego kafelka.";
        return p;
    }
    for (const std::string& l : ls)
        p.word += l;
    p.units = joinDigraphs(ls);
    const int n = int(p.units.size());
    if (n > kMaxSounds) {
        p.problem = "Słowo " + quotedWord(p.word) + " ma " + std::to_string(n) +
                    " głosek, a gry mieszczą najwyżej " + std::to_string(kMaxSounds) + ".";
        return p;
    }
    for (int i = 0; i < n; ++i) {
        const std::string& u = p.units[std::size_t(i)];
        const auto it = std::find_if(std::begin(kSounds), std::end(kSounds),
                                     [&](const SoundOf& s) { return s.unit == u; });
        if (it == std::end(kSounds)) continue;
        const std::string next = i + 1 < n ? p.units[std::size_t(i) + 1] : "";
        const std::string prev = i > 0 ? p.units[std::size_t(i) - 1] : "";
        // Before i, s z c dz spell the soft sounds ś ź ć dź: another sound altogether.
        if ((it->sound & (kSoundS | kSoundZ | kSoundC | kSoundDz)) && next == "i") continue;
        SoundOccurrence o;
        o.unit = i;
        o.sound = it->sound;
        o.position = i == 0 ? kPositionNaglos : i == n - 1 ? kPositionWyglos : kPositionSrodglos;
        const std::string in = "W wyrazie " + quotedWord(p.word) + " " + u;
        if (voiced(o.sound) && i == n - 1)
            o.problem = in + " na końcu brzmi jak " + std::string(it->partner) + ".";
        else if (voiced(o.sound) && (isVoiceless(next) || (isVoiceless(prev) && (u == "rz" || u == "ż"))))
            o.problem = in + (isVoiceless(next) ? " przed " + next : " po " + prev) + " brzmi jak " +
                        std::string(it->partner) + ".";
        else if (!voiced(o.sound) && voicesThePrevious(next))
            o.problem = in + " przed " + next + " brzmi jak " + std::string(it->partner) + ".";
        p.occurrences.push_back(std::move(o));
    }
    auto first = [&](std::uint16_t kinds) {
        for (std::size_t k = 0; k < p.occurrences.size(); ++k)
            if ((p.occurrences[k].sound & kinds) && p.occurrences[k].usable()) return int(k);
        return -1;
    };
    p.proposed = first(kTrained);
    if (p.proposed < 0) p.proposed = first(std::uint16_t(~kTrained));
    if (p.proposed < 0) {
        for (const SoundOccurrence& o : p.occurrences)
            if (!o.usable()) {
                p.problem = o.problem;
                return p;
            }
        p.problem = "W słowie " + quotedWord(p.word) +
                    " nie ma żadnej ćwiczonej głoski (sz, ż/rz, cz, dż) ani s, z, c, dz.";
        return p;
    }
    const auto trained = std::count_if(p.occurrences.begin(), p.occurrences.end(),
                                       [](const SoundOccurrence& o) { return (o.sound & kTrained) != 0; });
    if (trained > 1)
        p.note = "W słowie " + quotedWord(p.word) + " są " + std::to_string(trained) +
                 " ćwiczone głoski; lepiej wybierać słowa z jedną.";
    else
        for (const SoundOccurrence& o : p.occurrences)
            if (!o.usable()) {
                p.note = o.problem;
                break;
            }
    return p;
}
