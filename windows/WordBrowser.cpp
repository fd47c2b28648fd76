// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/WordBrowser.hpp"

#include "core/ProgramContext.hpp"
#include "core/Speech.hpp"
#include "core/WordChoice.hpp"
#include "core/WordVoices.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Application.hpp"
#include "windows/ChildChooser.hpp"
#include "windows/OwnWordWindow.hpp"
#include "windows/VoiceWindow.hpp"
#include "words/Catalogue.hpp"

#include <algorithm>

namespace {

constexpr platform::Color kCream = platform::rgb(255, 250, 230);
constexpr platform::Color kOn = platform::rgb(41, 128, 185);
constexpr platform::Color kOff = platform::rgb(170, 170, 170);

struct Named {
    std::uint16_t flag;
    const char* name;
};
constexpr Named kSounds[WordBrowser::kSoundFilters] = {
    {kSoundSz, "SZ"}, {kSoundZz, "Ż/RZ"}, {kSoundCz, "CZ"}, {kSoundDzz, "DŻ"},
    {kSoundS, "S"},   {kSoundZ, "Z"},     {kSoundC, "C"},   {kSoundDz, "DZ"}};
constexpr Named kPositions[WordBrowser::kPositionFilters] = {
    {kPositionNaglos, "nagłos"}, {kPositionSrodglos, "śródgłos"}, {kPositionWyglos, "wygłos"}};

} // namespace

std::string wordSoundAndPosition(std::uint16_t flags) {
    std::string text;
    for (const Named& s : kSounds)
        if (flags & s.flag) text += (text.empty() ? "" : "/") + std::string(s.name);
    for (const Named& p : kPositions)
        if (flags & p.flag) text += ", " + std::string(p.name);
    return text;
}

WordBrowser::WordBrowser(ProgramContext& context) : Form("Słowa"), context_(context) {
    name = "FormSlowa";
    const platform::Size screen = platform::app().screenSize();
    setBounds(0, 0, screen.width, screen.height);
    const int X0 = context_.layout.offsetX(), Y0 = context_.layout.offsetY();
    const int W = context_.layout.areaWidth();
    const int H = context_.layout.areaHeight();
    const int step = W / 13, wide = W / 10, filterH = large() ? 40 : 32;
    for (int i = 0; i < kSoundFilters; ++i) {
        auto& b = soundFilters[std::size_t(i)];
        b = std::make_unique<TextButton>(*this, std::string("gloska") + std::to_string(i + 1),
                                         kSounds[i].name, kOn);
        b->setBounds(X0 + W / 40 + i * step, Y0 + H * 9 / 100, step - 6, filterH);
        b->font.height = large() ? 17 : 14;
        b->onClick = [this, i] {
            sounds_ ^= kSounds[i].flag;
            applyFilters();
        };
    }
    for (int i = 0; i < kPositionFilters; ++i) {
        auto& b = positionFilters[std::size_t(i)];
        b = std::make_unique<TextButton>(*this, std::string("pozycja") + std::to_string(i + 1),
                                         kPositions[i].name, kOn);
        b->setBounds(X0 + W / 40 + kSoundFilters * step + W / 60 + i * wide, Y0 + H * 9 / 100, wide - 6,
                     filterH);
        b->font.height = large() ? 16 : 13;
        b->onClick = [this, i] {
            positions_ ^= kPositions[i].flag;
            applyFilters();
        };
    }
    for (int i = 0; i < kPerPage; ++i) {
        auto& cell = cells[std::size_t(i)];
        cell = std::make_unique<platform::ImageControl>(*this);
        cell->name = "slowo" + std::to_string(i + 1);
        cell->setCursor(platform::kCursorHand);
        cell->setBounds(cellRect(i));
        cell->onClick = [this, i] { select(page_ * kPerPage + i); };
        cell->onDblClick = [this, i] {
            select(page_ * kPerPage + i);
            listen.onClick();
        };
    }
    const int bottom = Y0 + H - (large() ? 62 : 50), buttonH = large() ? 50 : 40;
    previous.setBounds(X0 + W / 40, bottom, 50, buttonH);
    next.setBounds(X0 + W / 40 + 60, bottom, 50, buttonH);
    listen.setBounds(X0 + W * 27 / 100, bottom, W * 15 / 100, buttonH);
    voice.setBounds(X0 + W * 43 / 100, bottom, W * 15 / 100, buttonH);
    onOff.setBounds(X0 + W * 59 / 100, bottom, W * 22 / 100, buttonH);
    done.setBounds(X0 + W - W / 40 - W * 15 / 100, bottom, W * 15 / 100, buttonH);
    addWord.setBounds(X0 + W - W / 40 - W * 15 / 100, Y0 + 10, W * 15 / 100, large() ? 40 : 34);
    editWord.setBounds(X0 + W / 40, Y0 + 10, W * 15 / 100, large() ? 40 : 34);
    addWord.onClick = [this] { editOwnWord(false); };
    editWord.onClick = [this] { editOwnWord(true); };
    for (TextButton* b : {&addWord, &editWord})
        b->font.height = large() ? 16 : 13;
    for (TextButton* b : {&listen, &voice, &onOff, &done, &previous, &next})
        b->font.height = large() ? 18 : 15;
    listen.onClick = [this] {
        if (selected_ < 0) return;
        const Word& word = context_.catalogue->table()[shown_[std::size_t(selected_)]];
        if (!playWord(word.stem))
            status_ = "Brak nagrania słowa \u201e" + writtenWord(word.spelling) + "\u201d.";
        invalidate();
    };
    onOff.onClick = [this] { toggleSelected(); };
    voice.onClick = [this] { editVoice(); };
    wirePageButtons(previous, next, page_, [this] { showPage(); });
    done.onClick = [this] { setModalResult(platform::kModalOk); };
    applyFilters();
}

WordBrowser::~WordBrowser() = default;

bool WordBrowser::large() const {
    return context_.layout.mode() == kMode1024;
}

platform::Rect WordBrowser::cellRect(int slot) const {
    const int X0 = context_.layout.offsetX(), Y0 = context_.layout.offsetY();
    const int W = context_.layout.areaWidth(), H = context_.layout.areaHeight();
    const int top = Y0 + H * 17 / 100, gap = W / 80;
    const int cellW = (W - W / 20 - (kColumns - 1) * gap) / kColumns;
    const int cellH = (H * 68 / 100 - (kRows - 1) * gap) / kRows;
    return platform::Rect::fromSize(X0 + W / 40 + (slot % kColumns) * (cellW + gap),
                                    top + (slot / kColumns) * (cellH + gap), cellW, cellH);
}

bool WordBrowser::switchedOff(const Word& word) const {
    return context_.catalogue->switchedOff().count(word.stem) != 0;
}

void WordBrowser::applyFilters() {
    shown_.clear();
    const auto& table = context_.catalogue->table();
    for (std::size_t i = 0; i < table.size(); ++i)
        if ((table[i].flags & sounds_) != 0 && (table[i].flags & positions_) != 0) shown_.push_back(i);
    for (int i = 0; i < kSoundFilters; ++i)
        soundFilters[std::size_t(i)]->setColour((sounds_ & kSounds[i].flag) ? kOn : kOff);
    for (int i = 0; i < kPositionFilters; ++i)
        positionFilters[std::size_t(i)]->setColour((positions_ & kPositions[i].flag) ? kOn : kOff);
    page_ = 0;
    selected_ = shown_.empty() ? -1 : 0;
    showPage();
}

void WordBrowser::showPage() {
    const int total = int(shown_.size());
    settlePage(page_, total, kPerPage, previous, next);
    pictures_.clear();
    ownVoices_.clear();
    for (int i = 0; i < kPerPage; ++i) {
        const int index = page_ * kPerPage + i;
        cells[std::size_t(i)]->setVisible(index < total);
        ownVoices_.push_back(index < total &&
                             hasOwnVoice(context_.catalogue->table()[shown_[std::size_t(index)]].stem));
        pictures_.push_back(
            index < total ? loadCardPicture(context_.catalogue->table()[shown_[std::size_t(index)]].stem)
                          : platform::Bitmap());
    }
    if (selected_ >= 0 && (selected_ < page_ * kPerPage || selected_ >= (page_ + 1) * kPerPage))
        selected_ = std::min(total - 1, page_ * kPerPage);
    updateButtons();
}

void WordBrowser::select(int index) {
    if (index < 0 || index >= int(shown_.size())) return;
    selected_ = index;
    const int page = index / kPerPage;
    status_.clear();
    if (page != page_) {
        page_ = page;
        showPage();
        return;
    }
    updateButtons();
}

void WordBrowser::updateButtons() {
    const bool any = selected_ >= 0;
    listen.setEnabled(any);
    voice.setEnabled(any);
    editWord.setVisible(any && context_.catalogue->table()[shown_[std::size_t(selected_)]].own);
    onOff.setEnabled(any && context_.currentChild());
    if (any) {
        const bool off = switchedOff(context_.catalogue->table()[shown_[std::size_t(selected_)]]);
        onOff.setCaption(off ? "Włącz dla dziecka" : "Wyłącz dla dziecka");
        onOff.setColour(off ? platform::rgb(39, 174, 96) : platform::rgb(192, 57, 43));
    }
    invalidate();
}

void WordBrowser::toggleSelected() {
    if (selected_ < 0 || !context_.currentChild()) return;
    const Word& word = context_.catalogue->table()[shown_[std::size_t(selected_)]];
    std::set<std::string> off = context_.catalogue->switchedOff();
    if (!off.erase(word.stem)) off.insert(word.stem);
    std::string error;
    if (!saveWordChoice(off, &error)) {
        status_ = error;
        invalidate();
        return;
    }
    context_.catalogue->setSwitchedOff(std::move(off));
    status_.clear();
    updateButtons();
}

void WordBrowser::editVoice(const std::string& droppedFile) {
    if (selected_ < 0) return;
    const Word& word = context_.catalogue->table()[shown_[std::size_t(selected_)]];
    VoiceWindow window(word.stem, writtenWord(word.spelling), word.own);
    if (!droppedFile.empty()) window.takeFromFile(droppedFile);
    window.showModal();
    status_.clear();
    showPage();
}

void WordBrowser::editOwnWord(bool selected) {
    std::string stem;
    if (selected) {
        if (selected_ < 0) return;
        const Word& word = context_.catalogue->table()[shown_[std::size_t(selected_)]];
        if (!word.own) return;
        stem = word.stem;
    }
    OwnWordWindow window(*context_.catalogue, stem);
    if (window.showModal() != platform::kModalOk) return;
    // The table changed: show the new word (or what follows the removed one) among all words.
    sounds_ = 0x00FF;
    positions_ = 0x7000;
    applyFilters();
    if (!window.proposal().word.empty())
        for (std::size_t i = 0; i < shown_.size(); ++i)
            if (context_.catalogue->table()[shown_[i]].own &&
                writtenWord(context_.catalogue->table()[shown_[i]].spelling) == window.proposal().word)
                select(int(i));
}

void WordBrowser::dropFileEvent(const std::string& nativePath, int x, int y) {
    for (int i = 0; i < kPerPage; ++i)
        if (cells[std::size_t(i)]->visible() && cellRect(i).contains(x, y)) select(page_ * kPerPage + i);
    editVoice(nativePath);
}

void WordBrowser::keyPressEvent(int charCode) {
    if (charCode == 27) setModalResult(platform::kModalOk);
    if (charCode == ' ') toggleSelected();
    if (charCode == 13) listen.onClick();
}

void WordBrowser::keyDownEvent(platform::Key key, platform::ShiftState) {
    using K = platform::Key;
    const int moves[] = {0, -1, 1, -kColumns, kColumns};
    switch (key) {
    case K::Left:
    case K::Right:
    case K::Up:
    case K::Down:
        select(std::clamp(selected_ + moves[int(key)], 0, int(shown_.size()) - 1));
        break;
    case K::PageUp:
        select(std::max(0, selected_ - kPerPage));
        break;
    case K::PageDown:
        select(std::min(int(shown_.size()) - 1, selected_ + kPerPage));
        break;
    default:
        break;
    }
}

void WordBrowser::paintEvent() {
    platform::Canvas& c = canvas();
    const int X0 = context_.layout.offsetX(), Y0 = context_.layout.offsetY();
    const int W = context_.layout.areaWidth(), H = context_.layout.areaHeight();
    c.setBrushColor(platform::rgb(135, 206, 235));
    c.fillRect(clientRect());
    c.setBrushColor(kCream);
    fillRoundedRect(c, {X0 + 4, Y0 + 4, X0 + W - 4, Y0 + H - 4}, 24);
    const Profile* child = context_.currentChild();
    drawFittedText(c, {X0 + 20, Y0 + 10, X0 + W - 20, Y0 + H * 8 / 100},
                   child ? "Słowa – " + child->name : std::string("Słowa"),
                   {.family = "DejaVu Sans",
                    .height = large() ? 26 : 21,
                    .bold = true,
                    .color = platform::rgb(120, 60, 20)},
                   14, platform::TextAlign::Center);
    const auto& table = context_.catalogue->table();
    for (int i = 0; i < kPerPage; ++i) {
        const int index = page_ * kPerPage + i;
        if (index >= int(shown_.size())) break;
        const Word& word = table[shown_[std::size_t(index)]];
        const platform::Rect r = cellRect(i);
        const bool off = switchedOff(word);
        c.setBrushColor(index == selected_ ? platform::rgb(41, 128, 185) : platform::rgb(200, 200, 200));
        fillRoundedRect(c, r, 12);
        c.setBrushColor(off ? platform::rgb(225, 225, 225) : platform::kWhite);
        fillRoundedRect(c, {r.left + 3, r.top + 3, r.right - 3, r.bottom - 3}, 10);
        const int textH = large() ? 44 : 36;
        const int side = std::min(r.width() - 16, r.height() - textH - 10);
        const platform::Rect place =
            platform::Rect::fromSize(r.left + (r.width() - side) / 2, r.top + 6, side, side);
        if (pictures_[std::size_t(i)].width() > 0) c.stretchDraw(place, pictures_[std::size_t(i)]);
        drawFittedText(
            c, {r.left + 4, place.bottom, r.right - 4, place.bottom + textH / 2 + 2},
            writtenWord(word.spelling),
            {.family = "DejaVu Sans", .height = large() ? 17 : 14, .bold = true, .color = platform::kBlack},
            10, platform::TextAlign::Center);
        drawFittedText(c, {r.left + 4, place.bottom + textH / 2, r.right - 4, r.bottom - 3},
                       off                          ? std::string("wyłączone")
                       : ownVoices_[std::size_t(i)] ? wordSoundAndPosition(word.flags) + " · własny głos"
                                                    : wordSoundAndPosition(word.flags),
                       {.family = "DejaVu Sans",
                        .height = large() ? 13 : 11,
                        .bold = off,
                        .color = off ? platform::rgb(192, 57, 43) : platform::rgb(90, 90, 90)},
                       9, platform::TextAlign::Center);
    }
    const int total = int(shown_.size());
    const std::string count = countOfWords(std::size_t(total)) + ", strona " + std::to_string(page_ + 1) +
                              " z " + std::to_string(std::max(1, (total + kPerPage - 1) / kPerPage));
    drawFittedText(
        c, {X0 + W / 40 + 120, Y0 + H - (large() ? 62 : 50), X0 + W * 27 / 100 - 6, Y0 + H - 10},
        status_.empty() ? count : status_,
        {.family = "DejaVu Sans", .height = large() ? 14 : 12, .bold = false, .color = platform::kBlack}, 9,
        platform::TextAlign::Left);
}
