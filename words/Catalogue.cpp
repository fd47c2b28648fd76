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

struct TableEntry {
    const char* stem;
    const char* spelling;
    std::uint16_t flags;
};

// The order matters: grouped draws rely on each sound's words lying in one run.
constexpr TableEntry kTable[] = {
    {"sakiewka", "_s,a,k,i,e,w,k,a,", kSoundS | kPositionNaglos},
    {"samochod", "_s,a,m,o,ch,ó,d,", kSoundS | kPositionNaglos},
    {"sanki", "_s,a,n,k,i,", kSoundS | kPositionNaglos},
    {"sep", "_s,ę,p,", kSoundS | kPositionNaglos},
    {"sum", "_s,u,m,", kSoundS | kPositionNaglos},
    {"szachy", "_sz,a,ch,y,", kSoundSz | kPositionNaglos},
    {"szampan", "_sz,a,m,p,a,n,", kSoundSz | kPositionNaglos},
    {"szelki", "_sz,e,l,k,i,", kSoundSz | kPositionNaglos},
    {"szopa", "_sz,o,p,a,", kSoundSz | kPositionNaglos},
    {"szuflada", "_sz,u,f,l,a,d,a,", kSoundSz | kPositionNaglos},
};

void reshuffle() {
    platform::random::seed(static_cast<std::uint32_t>(platform::localSeconds()));
}

std::string picturePath(const Word& s, const std::string& suffix) {
    return wordPicturePath(s.stem, suffix);
}
std::string thumbnailPath(const Word& s) {
    return wordThumbnailPath(s.stem);
}

// The sizes the games draw word pictures at; a larger file is decoded down to them.
struct PictureSize {
    const char* suffix;
    int w, h;
};
constexpr PictureSize kSizes[] = {{"_ups.xji", 252, 252}, {"_upb.xji", 320, 320}};
constexpr int kThumbnailW = 70, kThumbnailH = 94;

std::shared_ptr<platform::Bitmap> load(const std::string& path, int w, int h) {
    auto bitmap = std::make_shared<platform::Bitmap>();
    if (w > 0)
        loadJpeg(*bitmap, path, w, h);
    else
        loadJpeg(*bitmap, path);
    return bitmap;
}

std::shared_ptr<platform::Bitmap> loadLarge(const std::string& path, const std::string& suffix) {
    for (const PictureSize& r : kSizes)
        if (suffix == r.suffix) return load(path, r.w, r.h);
    return load(path, 0, 0);
}

} // namespace

Catalogue::Catalogue() {
    table_.reserve(std::size(kTable));
    for (const TableEntry& w : kTable) {
        Word s;
        s.stem = w.stem;
        s.flags = w.flags;
        s.soundFile = "Data\\Smd\\" + s.stem + ".pw";
        s.spelling = w.spelling;
        table_.push_back(std::move(s));
    }
}

Catalogue::Catalogue(std::vector<Word> table) : table_(std::move(table)) {}

std::string ownWordFolder(const std::string& stem) {
    return platform::fs::resolveInUserDir(std::string(kOwnWordsFolder) + "\\" + stem);
}

std::string wordPicturePath(const std::string& stem, const std::string& suffix) {
    const std::string own = ownWordFolder(stem) + "/" + stem + suffix;
    return platform::fs::exists(own) ? own : "Data\\Bio\\" + stem + suffix;
}

std::string wordThumbnailPath(const std::string& stem) {
    const std::string own = ownWordFolder(stem) + "/s" + stem + ".xji";
    return platform::fs::exists(own) ? own : "Data\\Sio\\s" + stem + ".xji";
}

void Catalogue::setOwnWords(std::vector<Word> words) {
    clearChoice();
    filter_.clear();
    std::erase_if(table_, [](const Word& w) { return w.own; });
    for (Word& w : words) {
        w.own = true;
        table_.push_back(std::move(w));
    }
}

Catalogue::~Catalogue() = default;

void Catalogue::filter(const WordFilter& settings) {
    clearChoice();
    filter_.clear();
    switchedOffMatches_ = 0;
    for (const Word& s : table_) {
        if ((s.flags & settings.positions) == 0 || (s.flags & settings.sounds) == 0) continue;
        if (switchedOff_.count(s.stem))
            ++switchedOffMatches_;
        else
            filter_.push_back(s);
    }
}

void Catalogue::clearChoice() {
    choice_.clear(); // the last references to the pictures go with the selection
    for (Word& s : filter_)
        s.flags &= static_cast<std::uint16_t>(~kWordChosen);
}

void Catalogue::choose(int r) {
    const int m = static_cast<int>(filter_.size());
    while (filter_[r].flags & kWordChosen)
        r = (r + 1) % m;
    filter_[r].flags |= kWordChosen;
    choice_.push_back(filter_[r]);
}

bool Catalogue::drawRandom(int n) {
    clearChoice();
    const int m = static_cast<int>(filter_.size());
    if (m < n) return false;
    reshuffle();
    choice_.reserve(m);
    for (int k = 0; k < n; ++k)
        choose(platform::random::below(m));
    return true;
}

bool Catalogue::drawRandomGroups(int n, const WordFilter& /*settings: the filter already chose the sounds*/) {
    clearChoice();
    const int m = static_cast<int>(filter_.size());
    if (m < n) return false;
    reshuffle();
    choice_.reserve(m);
    // One group per sound of the filtered list (a chosen sound and its contrast sound are two), in the order
    // the sounds first appear, so the draws alternate between the trained and the contrasting words.
    std::vector<std::uint16_t> sounds;
    std::vector<std::vector<int>> groups;
    for (int i = 0; i < m; ++i) {
        const std::uint16_t soundFile = filter_[i].flags & 0x00FF;
        const auto it = std::find(sounds.begin(), sounds.end(), soundFile);
        if (it == sounds.end()) {
            sounds.push_back(soundFile);
            groups.push_back({i});
        } else {
            groups[it - sounds.begin()].push_back(i);
        }
    }
    std::vector<int> remaining;
    for (const auto& g : groups)
        remaining.push_back(static_cast<int>(g.size()));
    const int g = static_cast<int>(groups.size());
    int d = 0;
    for (int k = 0; k < n; ++k) {
        // A group with no word left hands its turn on; m >= n keeps one word somewhere.
        while (remaining[d] == 0)
            d = (d + 1) % g;
        const std::vector<int>& group = groups[d];
        const int q = static_cast<int>(group.size());
        int r = platform::random::below(q);
        while (filter_[group[r]].flags & kWordChosen)
            r = (r + 1) % q;
        filter_[group[r]].flags |= kWordChosen;
        choice_.push_back(filter_[group[r]]);
        --remaining[d];
        d = (d + 1) % g;
    }
    return true;
}

bool Catalogue::loadPictures(const std::string& suffix) {
    bool all = true;
    for (Word& s : choice_) {
        s.picture = std::make_shared<platform::Bitmap>();
        s.thumbnail = std::make_shared<platform::Bitmap>();
        const std::string large = picturePath(s, suffix);
        const std::string small = thumbnailPath(s);
        if (!platform::fs::exists(large) || !platform::fs::exists(small)) {
            all = false;
            continue;
        }
        s.picture = loadLarge(large, suffix);
        s.thumbnail = load(small, kThumbnailW, kThumbnailH);
    }
    return all;
}

bool Catalogue::loadLargePictures(const std::string& suffix) {
    bool all = true;
    for (Word& s : choice_) {
        s.picture = std::make_shared<platform::Bitmap>();
        const std::string large = picturePath(s, suffix);
        if (!platform::fs::exists(large)) {
            all = false;
            continue;
        }
        s.picture = loadLarge(large, suffix);
    }
    return all;
}

bool Catalogue::loadThumbnails() {
    bool all = true;
    for (Word& s : choice_) {
        s.thumbnail = std::make_shared<platform::Bitmap>();
        const std::string small = thumbnailPath(s);
        if (!platform::fs::exists(small)) {
            all = false;
            continue;
        }
        s.thumbnail = load(small, kThumbnailW, kThumbnailH);
    }
    return all;
}

std::string writtenWord(const std::string& spelling) {
    std::string text;
    for (const SoundUnit& unit : splitSounds(spelling))
        text += unit.text;
    return text;
}

std::vector<SoundUnit> splitSounds(const std::string& spelling) {
    std::vector<SoundUnit> units;
    std::size_t p = 0;
    while (p < spelling.size()) {
        const std::size_t comma = spelling.find(',', p);
        const std::size_t k = (comma == std::string::npos ? spelling.size() : comma) - p;
        if (k == 0) {
            ++p;
            continue;
        }
        const bool isMarked = spelling[p] == '_';
        std::string text = isMarked ? spelling.substr(p + 1, k - 1) : spelling.substr(p, k);
        p += k;
        if (!text.empty()) units.push_back({std::move(text), isMarked});
    }
    return units;
}

namespace {

struct Sound {
    std::string_view name;
    std::uint16_t flag;
    std::string_view unit;
    std::string_view unit2; // Ż/RZ may be spelled either way
};

constexpr Sound kSoundFiles[] = {
    {"sz", kSoundSz, "sz", ""},    {"ż", kSoundZz, "ż", ""},   {"rz", kSoundZz, "rz", ""},
    {"ż/rz", kSoundZz, "ż", "rz"}, {"cz", kSoundCz, "cz", ""}, {"dż", kSoundDzz, "dż", ""},
    {"s", kSoundS, "s", ""},       {"z", kSoundZ, "z", ""},    {"c", kSoundC, "c", ""},
    {"dz", kSoundDz, "dz", ""},
};

struct PositionEntry {
    std::string_view name;
    std::uint16_t flag;
};

constexpr PositionEntry kPositions[] = {
    {"nagłos", kPositionNaglos},     {"naglos", kPositionNaglos}, {"śródgłos", kPositionSrodglos},
    {"srodglos", kPositionSrodglos}, {"wygłos", kPositionWyglos}, {"wyglos", kPositionWyglos},
};

constexpr std::size_t kMaxSize = 1u << 20;

// Lower case for the letters the sound and position names use; other text comes back unchanged.
std::string male(std::string_view t) {
    std::string result(t);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    static constexpr std::pair<std::string_view, std::string_view> kPolishLetters[] = {
        {"Ż", "ż"}, {"Ś", "ś"}, {"Ł", "ł"}, {"Ó", "ó"}};
    for (const auto& [large, lower] : kPolishLetters)
        for (std::size_t p; (p = result.find(large)) != std::string::npos;)
            result.replace(p, large.size(), lower);
    return result;
}

// Well-formed UTF-8 without control characters other than the tab.
bool validText(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size()) {
        const auto c = static_cast<unsigned char>(t[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
            ++i;
            continue;
        }
        int continuationBytes = 0;
        std::uint32_t code = 0;
        if ((c & 0xE0) == 0xC0) {
            continuationBytes = 1;
            code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            continuationBytes = 2;
            code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            continuationBytes = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + continuationBytes >= t.size()) return false;
        for (int k = 1; k <= continuationBytes; ++k) {
            const auto n = static_cast<unsigned char>(t[i + k]);
            if ((n & 0xC0) != 0x80) return false;
            code = (code << 6) | (n & 0x3F);
        }
        static constexpr std::uint32_t kMinCodePoint[] = {0, 0x80, 0x800, 0x10000};
        if (code < kMinCodePoint[continuationBytes] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += continuationBytes + 1;
    }
    return true;
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> result;
    std::size_t p = 0;
    while (p < line.size()) {
        while (p < line.size() && (line[p] == ' ' || line[p] == '\t'))
            ++p;
        const std::size_t start = p;
        while (p < line.size() && line[p] != ' ' && line[p] != '\t')
            ++p;
        if (p > start) result.push_back(line.substr(start, p - start));
    }
    return result;
}

// A quoted field, cut to what a message box line holds so the file and line stay in view.
std::string quoted(std::string_view t) {
    constexpr std::size_t kMaxChars = 40;
    std::size_t chars = 0, i = 0;
    while (i < t.size() && chars < kMaxChars) {
        ++i;
        // Continuation bytes belong to the character before them.
        while (i < t.size() && (static_cast<unsigned char>(t[i]) & 0xC0) == 0x80)
            ++i;
        ++chars;
    }
    return "„" + std::string(t.substr(0, i)) + (i < t.size() ? "…" : "") + "”";
}

} // namespace

std::vector<Word> readCatalogue(std::string_view text, const std::string& fileName) {
    int rowNumber = 0;
    auto error = [&](const std::string& reason) {
        return CatalogueError("Plik " + fileName + ", wiersz " + std::to_string(std::max(rowNumber, 1)) +
                              ": " + reason + ".");
    };
    if (text.size() > kMaxSize) throw error("plik jest za duży (najwyżej 1 MB)");
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    std::vector<Word> words;
    std::set<std::string> names;
    std::size_t p = 0;
    while (p < text.size()) {
        std::size_t end = text.find('\n', p);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(p, end - p);
        p = end + 1;
        ++rowNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!validText(line)) throw error("niedozwolone znaki (plik musi być tekstem w kodowaniu UTF-8)");
        const auto hitArea = fields(line);
        if (hitArea.empty() || hitArea[0].front() == '#') continue;
        if (hitArea.size() != 4)
            throw error("oczekiwane 4 pola: nazwa, głoski, dźwięk, pozycja (jest " +
                        std::to_string(hitArea.size()) + ")");

        const std::string_view name = hitArea[0];
        if (name.size() > 40 || !std::all_of(name.begin(), name.end(), [](char c) {
                return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
            }))
            throw error("nazwa " + quoted(name) +
                        " może zawierać tylko małe litery a-z i cyfry (najwyżej 40)");
        if (!names.insert(std::string(name)).second) throw error("słowo " + quoted(name) + " już było");

        const std::string soundText = male(hitArea[2]);
        const Sound* soundFile = nullptr;
        for (const Sound& d : kSoundFiles)
            if (soundText == d.name) soundFile = &d;
        if (!soundFile)
            throw error("nieznany dźwięk " + quoted(hitArea[2]) +
                        " (dozwolone: SZ, Ż, RZ, CZ, DŻ, S, Z, C, DZ)");
        const std::string positionText = male(hitArea[3]);
        const PositionEntry* position = nullptr;
        for (const PositionEntry& z : kPositions)
            if (positionText == z.name) position = &z;
        if (!position)
            throw error("nieznana pozycja " + quoted(hitArea[3]) + " (dozwolone: nagłos, śródgłos, wygłos)");
        // A voiced sound at the end of a word is heard as its voiceless partner.
        if (position->flag == kPositionWyglos &&
            (soundFile->flag & (kSoundZz | kSoundDzz | kSoundZ | kSoundDz)))
            throw error("na końcu wyrazu głoska " + quoted(hitArea[2]) +
                        " brzmi bezdźwięcznie, wygłos jest niemożliwy");

        const std::string_view spellingText = hitArea[1];
        std::string spelling;
        int countWithNoun = 0;
        int markedCount = 0;
        std::string isMarked;
        std::size_t q = 0;
        while (q < spellingText.size()) {
            std::size_t comma = spellingText.find(',', q);
            if (comma == std::string_view::npos) comma = spellingText.size();
            std::string_view unit = spellingText.substr(q, comma - q);
            q = comma + 1;
            if (unit.empty()) throw error("pusta głoska między przecinkami w " + quoted(spellingText));
            const bool marked = unit.front() == '_';
            if (marked) unit.remove_prefix(1);
            if (unit.empty()) throw error("znak _ bez głoski w " + quoted(spellingText));
            if (!hasTile(std::string(unit)))
                throw error("nie ma kafelka z literą " + quoted(unit) + " (w " + quoted(spellingText) + ")");
            if (marked) {
                ++markedCount;
                isMarked = unit;
            }
            spelling += (marked ? "_" : "") + std::string(unit) + ",";
            ++countWithNoun;
        }
        if (markedCount == 0)
            throw error("w " + quoted(spellingText) + " brak ćwiczonej głoski oznaczonej znakiem _");
        if (markedCount > 1)
            throw error("w " + quoted(spellingText) + " więcej niż jedna głoska oznaczona znakiem _");
        if (countWithNoun > kMaxSounds)
            throw error("słowo " + quoted(spellingText) + " ma za dużo głosek (najwyżej " +
                        std::to_string(kMaxSounds) + ")");
        if (isMarked != soundFile->unit && isMarked != soundFile->unit2)
            throw error("oznaczona głoska " + quoted(isMarked) + " nie pasuje do dźwięku " +
                        quoted(hitArea[2]));

        Word s;
        s.stem = name;
        s.flags = soundFile->flag | position->flag;
        s.soundFile = "Data\\Smd\\" + s.stem + ".pw";
        s.spelling = std::move(spelling);
        words.push_back(std::move(s));
    }
    if (words.empty()) throw error("plik nie zawiera żadnego słowa");
    return words;
}

std::unique_ptr<Catalogue> createCatalogue() {
    if (!platform::fs::exists(kCatalogueFile)) return std::make_unique<Catalogue>();
    if (platform::fs::fileSize(kCatalogueFile) > kMaxSize)
        throw CatalogueError("Plik " + platform::fs::toNative(kCatalogueFile) +
                             ", wiersz 1: plik jest za duży (najwyżej 1 MB).");
    std::vector<std::uint8_t> bytes;
    try {
        bytes = platform::fs::readAll(kCatalogueFile, kMaxSize);
    } catch (const std::exception& e) {
        throw CatalogueError(std::string(e.what()) + ".");
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return std::make_unique<Catalogue>(readCatalogue(text, platform::fs::toNative(kCatalogueFile)));
}

std::string emptyFieldsMessage(const WordFilter& u) {
    const std::uint16_t sounds = u.sounds & (kSoundSz | kSoundZz | kSoundCz | kSoundDzz);
    const std::uint16_t positions = u.positions & (kPositionNaglos | kPositionSrodglos | kPositionWyglos);
    if (sounds == 0 || positions == 0) return {};
    for (std::uint16_t g : {kSoundSz, kSoundZz, kSoundCz, kSoundDzz}) {
        if (!(sounds & g)) continue;
        for (std::uint16_t p : {kPositionNaglos, kPositionSrodglos, kPositionWyglos}) {
            if (!(positions & p)) continue;
            const bool isBlank = (p == kPositionWyglos && (g == kSoundZz || g == kSoundDzz)) ||
                                 (p == kPositionSrodglos && g == kSoundDzz);
            if (!isBlank) return {};
        }
    }
    if (positions == kPositionWyglos) {
        if (sounds == (kSoundZz | kSoundDzz))
            return "Na końcu polskich słów Ż/RZ i DŻ brzmią jak SZ i CZ, więc nie ma słów z tymi głoskami w "
                   "wygłosie. Proszę wybrać inną pozycję.";
        if (sounds == kSoundZz)
            return "Na końcu polskich słów Ż/RZ brzmi jak SZ, więc nie ma słów z tą głoską w wygłosie. "
                   "Proszę "
                   "wybrać inną pozycję.";
        return "Na końcu polskich słów DŻ brzmi jak CZ, więc nie ma słów z tą głoską w wygłosie. Proszę "
               "wybrać "
               "inną pozycję.";
    }
    if (positions == kPositionSrodglos)
        return "W środku polskich słów głoska DŻ występuje bardzo rzadko, więc słów jest za mało do gry. "
               "Proszę "
               "wybrać nagłos.";
    return "Głoska DŻ w środku polskich słów występuje bardzo rzadko, a na końcu wcale. Proszę wybrać "
           "nagłos.";
}

namespace {

// "A", "A i B", "A, B i C".
std::string joinedList(const std::vector<std::string>& parts) {
    std::string s;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) s += i + 1 == parts.size() ? " i " : ", ";
        s += parts[i];
    }
    return s;
}

} // namespace

std::string tooFewWordsMessage(const WordFilter& wordFilter, std::size_t available, int needed,
                               std::size_t switchedOff) {
    static constexpr std::pair<std::uint16_t, const char*> kSounds[] = {
        {kSoundSz, "SZ"}, {kSoundS, "S"}, {kSoundZz, "Ż/RZ"}, {kSoundZ, "Z"},
        {kSoundCz, "CZ"}, {kSoundC, "C"}, {kSoundDzz, "DŻ"},  {kSoundDz, "DZ"},
    };
    std::vector<std::string> sounds;
    for (const auto& [flag, name] : kSounds)
        if (wordFilter.sounds & flag) sounds.emplace_back(name);
    std::vector<std::string> positions;
    if (wordFilter.positions & kPositionNaglos) positions.emplace_back("nagłosie");
    if (wordFilter.positions & kPositionSrodglos) positions.emplace_back("śródgłosie");
    if (wordFilter.positions & kPositionWyglos) positions.emplace_back("wygłosie");
    if (sounds.empty() || positions.empty()) return "Proszę wybrać większą liczbę głosek lub pozycji.";
    const std::string where =
        positions.size() == 3 ? "we wszystkich pozycjach" : "w " + joinedList(positions);
    return std::string("Słów z ") + (sounds.size() == 1 ? "głoską " : "głoskami ") + joinedList(sounds) +
           " " + where + " jest " + std::to_string(available) + ", a ta gra potrzebuje " +
           std::to_string(needed) +
           (switchedOff == 0 ? std::string(".")
                             : "; " + countOfWords(switchedOff) + " wyłączono dla tego dziecka.");
}

std::string countOfWords(std::size_t n) {
    const char* noun = n == 1 ? "słowo" : n % 10 >= 2 && n % 10 <= 4 && n % 100 / 10 != 1 ? "słowa" : "słów";
    return std::to_string(n) + " " + noun;
}
