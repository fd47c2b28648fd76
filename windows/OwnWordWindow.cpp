// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/OwnWordWindow.hpp"

#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/graphics/Photo.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Dialogs.hpp"
#include "windows/FilePicker.hpp"
#include "windows/VoiceWindow.hpp"
#include "words/Catalogue.hpp"

#include <algorithm>
#include <exception>

namespace {

const platform::Font kTextFont{
    .family = "DejaVu Sans", .height = 15, .bold = false, .color = platform::kBlack};
const platform::Font kProblemFont{
    .family = "DejaVu Sans", .height = 15, .bold = true, .color = platform::rgb(192, 57, 43)};
constexpr platform::Color kChosen = platform::rgb(41, 128, 185);
constexpr platform::Color kOther = platform::rgb(170, 170, 170);
// The photo is kept at this short side, so the crop can be zoomed in well before the pictures blur.
constexpr int kPhotoSide = 3 * kPhotoWorkingSide;
constexpr platform::Rect kPreview{500, 60, 752, 312};

} // namespace

OwnWordWindow::OwnWordWindow(Catalogue& catalogue, std::string editing)
    : Form(editing.empty() ? "Nowe słowo" : "Własne słowo"), catalogue_(catalogue),
      editing_(std::move(editing)) {
    name = "FormSlowo";
    setSize(776, 540);
    edit.name = "slowo";
    edit.setBounds(24, 66, 440, 38);
    edit.setFont({.family = "DejaVu Sans", .height = 22, .bold = true, .color = platform::kBlack});
    edit.maxLength = 100;
    edit.onChange = [this] { readWord(); };
    message.name = "stan";
    message.setAutoSize(false);
    message.setBounds(24, 112, 440, 150);
    message.setWordWrap(true);
    message.setTransparent(true);
    message.setFont(kTextFont);
    for (int i = 0; i < kMaxOccurrences; ++i) {
        auto& b = occurrenceButtons[std::size_t(i)];
        b = std::make_unique<TextButton>(*this, "glosko" + std::to_string(i + 1), "", kOther);
        b->setBounds(24 + i * 112, 272, 104, 44);
        b->font.height = 14;
        b->onClick = [this, i] { chooseOccurrence(i); };
    }
    const char* arrows[6][2] = {{"lewo", "←"}, {"prawo", "→"},  {"gora", "↑"},
                                {"dol", "↓"},  {"blizej", "+"}, {"dalej", "−"}};
    for (int i = 0; i < 6; ++i) {
        auto& b = cropButtons[std::size_t(i)];
        b = std::make_unique<TextButton>(*this, arrows[i][0], arrows[i][1], platform::rgb(41, 128, 185));
        b->setBounds(500 + i * 43, 322, 38, 38);
        b->font.height = 20;
        const int dx = i == 0 ? -1 : i == 1 ? 1 : 0, dy = i == 2 ? -1 : i == 3 ? 1 : 0;
        const int zoom = i == 4 ? -1 : i == 5 ? 1 : 0;
        b->onClick = [this, dx, dy, zoom] { moveCrop(dx, dy, zoom); };
    }
    photo.setBounds(500, 372, 252, 48);
    voice.setBounds(24, 372, 200, 48);
    ok.setBounds(24 + 466, 468, 130, 52);
    cancel.setBounds(24 + 606, 468, 122, 52);
    for (TextButton* b : {&photo, &voice, &ok, &cancel})
        b->font.height = 17;
    photo.onClick = [this] {
        FilePicker picker(FilePicker::Kind::Picture);
        if (picker.showModal() == platform::kModalOk) takePhoto(picker.chosen());
    };
    voice.onClick = [this] {
        VoiceWindow window(editing_.empty() ? std::string() : editing_, proposal_.word);
        window.keeper = [this](const VoiceTake& take) {
            voice_ = take;
            hasVoice_ = true;
            return std::string();
        };
        window.showModal();
        readWord();
    };
    ok.onClick = [this] {
        if (save()) setModalResult(platform::kModalOk);
    };
    cancel.onClick = [this] { setModalResult(platform::kModalCancel); };
    remove.setBounds(24, 468, 200, 52);
    remove.font.height = 17;
    remove.setVisible(!editing_.empty());
    remove.onClick = [this] {
        if (removeWord()) setModalResult(platform::kModalOk);
    };

    if (!editing_.empty()) {
        // An own word as it is: its spelling, its sound, its pictures and voice as they are kept.
        for (const Word& w : catalogue_.table()) {
            if (w.stem != editing_) continue;
            edit.setText(writtenWord(w.spelling));
            readWord();
            const auto units = splitSounds(w.spelling);
            for (std::size_t k = 0; k < proposal_.occurrences.size(); ++k)
                if (units[std::size_t(proposal_.occurrences[k].unit)].isMarked) occurrence_ = int(k);
        }
        const auto names = wordPictureNames(editing_);
        platform::Bitmap* targets[5] = {&pictures_.small, &pictures_.memorySmall, &pictures_.memoryBig,
                                        &pictures_.labelSmall, &pictures_.labelBig};
        try {
            for (std::size_t i = 0; i < names.size(); ++i)
                loadJpeg(*targets[i], ownWordFolder(editing_) + "/" + names[i]);
            hasPictures_ = true;
        } catch (const std::exception&) {
            hasPictures_ = false;
        }
        try {
            voice_.wav = platform::fs::readFile(ownVoicePath(editing_), 16u << 20);
            hasVoice_ = true;
        } catch (const std::exception&) {
            hasVoice_ = false;
        }
    }
    readWord();
}

void OwnWordWindow::say(std::string text, bool problem) {
    message.setFont(problem ? kProblemFont : kTextFont);
    message.setCaption(std::move(text));
    updateButtons();
}

std::string OwnWordWindow::describe() const {
    if (occurrence_ < 0) return {};
    const SoundOccurrence& o = proposal_.occurrences[std::size_t(occurrence_)];
    std::string units;
    for (std::size_t i = 0; i < proposal_.units.size(); ++i)
        units += (i ? "-" : "") + proposal_.units[i];
    return "Głoski: " + units + ". Ćwiczona głoska: " + soundName(o.sound) + ", " + positionName(o.position) +
           ".";
}

void OwnWordWindow::readWord() {
    const int before = occurrence_;
    const std::string previous = proposal_.word;
    proposal_ = proposeWord(edit.text());
    if (proposal_.word != previous || before < 0 || before >= int(proposal_.occurrences.size()) ||
        !proposal_.occurrences[std::size_t(before)].usable())
        occurrence_ = proposal_.proposed;
    if (edit.text().empty()) {
        say("Wpisz słowo; program sam podzieli je na głoski i zaproponuje ćwiczoną głoskę.", false);
        return;
    }
    if (!proposal_.ok()) {
        say(proposal_.problem, true);
        return;
    }
    if (std::string exists = existingWordProblem(proposal_.word, catalogue_.table(), editing_);
        !exists.empty()) {
        say(describe() + " " + exists, true);
        return;
    }
    std::string text = describe();
    if (!proposal_.note.empty()) text += " " + proposal_.note;
    if (!hasPictures_) text += " Brakuje jeszcze obrazka.";
    if (!hasVoice_) text += " Brakuje jeszcze głosu.";
    say(text, false);
}

void OwnWordWindow::chooseOccurrence(int index) {
    if (index < 0 || index >= int(proposal_.occurrences.size()) ||
        !proposal_.occurrences[std::size_t(index)].usable())
        return;
    occurrence_ = index;
    readWord();
}

void OwnWordWindow::updateButtons() {
    for (int i = 0; i < kMaxOccurrences; ++i) {
        TextButton& b = *occurrenceButtons[std::size_t(i)];
        const bool there = proposal_.ok() && i < int(proposal_.occurrences.size());
        b.setVisible(there);
        if (!there) continue;
        const SoundOccurrence& o = proposal_.occurrences[std::size_t(i)];
        b.setCaption(proposal_.units[std::size_t(o.unit)] + " · " + positionName(o.position));
        b.setEnabled(o.usable());
        b.setColour(i == occurrence_ ? kChosen : kOther);
    }
    for (auto& b : cropButtons)
        b->setEnabled(photo_.width() > 0);
    voice.setCaption(hasVoice_ ? "Głos ✓" : "Głos…");
    invalidate();
}

void OwnWordWindow::takePhoto(const std::string& nativePath) {
    try {
        photo_ = platform::image::loadPhotoFile(nativePath, kPhotoSide);
    } catch (const platform::image::PhotoFailure& e) {
        say(std::string(e.what()) + " Obrazek słowa się nie zmienił.", true);
        return;
    } catch (const std::exception&) {
        say("Nie udało się odczytać zdjęcia. Obrazek słowa się nie zmienił.", true);
        return;
    }
    crop_ = defaultCrop(photo_.size());
    remakePictures();
    readWord();
}

void OwnWordWindow::moveCrop(int dx, int dy, int zoom) {
    if (photo_.width() == 0) return;
    const int step = std::max(1, crop_.side / 10);
    crop_.centerX += dx * step;
    crop_.centerY += dy * step;
    if (zoom < 0) crop_.side = std::max(kPhotoWorkingSide / 2, crop_.side * 4 / 5);
    if (zoom > 0) crop_.side = crop_.side * 5 / 4 + 1;
    crop_ = clampCrop(crop_, photo_.size());
    remakePictures();
}

void OwnWordWindow::remakePictures() {
    pictures_ = makeWordPictures(photo_, crop_);
    hasPictures_ = true;
    invalidate();
}

bool OwnWordWindow::save() {
    readWord();
    if (!proposal_.ok() || occurrence_ < 0) return false;
    if (!existingWordProblem(proposal_.word, catalogue_.table(), editing_).empty()) return false;
    if (!hasPictures_ || !hasVoice_) {
        say(!hasPictures_ ? "Słowo potrzebuje obrazka: wybierz zdjęcie lub rysunek."
                          : "Słowo potrzebuje głosu: nagraj je albo wybierz plik z nagraniem.",
            true);
        return false;
    }
    std::vector<Word> own;
    for (const Word& w : catalogue_.table())
        if (w.own) own.push_back(w);
    NewOwnWord added;
    added.word.stem = editing_.empty() ? freeStem(proposal_.word, catalogue_.table()) : editing_;
    added.word.spelling = proposal_.spelling(occurrence_) + ",";
    const SoundOccurrence& o = proposal_.occurrences[std::size_t(occurrence_)];
    added.word.flags = o.sound | o.position;
    added.word.soundFile = ownVoicePath(added.word.stem);
    added.word.own = true;
    added.pictures = pictures_;
    added.voice = voice_.wav;
    if (std::string error = saveOwnWord(added, own, {}); !error.empty()) {
        say(error, true);
        return false;
    }
    std::erase_if(own, [&](const Word& w) { return w.stem == added.word.stem; });
    own.push_back(added.word);
    catalogue_.setOwnWords(std::move(own));
    return true;
}

bool OwnWordWindow::removeWord() {
    if (editing_.empty()) return false;
    if (platform::messageBox(this, "Usunąć słowo „" + proposal_.word + "” z obrazkiem i głosem?",
                             "Usuwanie słowa", platform::MessageIcon::Warning,
                             platform::MessageButtons::YesNo) != platform::MessageResult::Yes)
        return false;
    std::vector<Word> own;
    for (const Word& w : catalogue_.table())
        if (w.own) own.push_back(w);
    if (std::string error = removeOwnWord(editing_, own); !error.empty()) {
        say(error, true);
        return false;
    }
    std::erase_if(own, [&](const Word& w) { return w.stem == editing_; });
    catalogue_.setOwnWords(std::move(own));
    return true;
}

void OwnWordWindow::showEvent() {
    centreOnScreen(*this);
    setFocusedControl(&edit);
}

void OwnWordWindow::keyPressEvent(int charCode) {
    if (charCode == 27) setModalResult(platform::kModalCancel);
    if (charCode == 13 && save()) setModalResult(platform::kModalOk);
}

void OwnWordWindow::dropFileEvent(const std::string& nativePath, int, int) {
    takePhoto(nativePath);
}

void OwnWordWindow::paintEvent() {
    paintPanel(*this, editing_.empty() ? "Nowe słowo" : "Własne słowo \u201e" + proposal_.word + "\u201d");
    platform::Canvas& c = canvas();
    c.setBrushColor(platform::rgb(200, 200, 200));
    fillRoundedRect(c, {kPreview.left - 2, kPreview.top - 2, kPreview.right + 2, kPreview.bottom + 2}, 8);
    c.setBrushColor(platform::kWhite);
    c.fillRect(kPreview);
    if (hasPictures_ && pictures_.labelSmall.width() > 0) {
        c.stretchDraw(kPreview, pictures_.labelSmall);
    } else {
        c.setFont(kTextFont);
        c.textRect(kPreview, "Upuść tu zdjęcie albo kliknij „Zdjęcie…”.", platform::TextAlign::Center, true);
    }
}
