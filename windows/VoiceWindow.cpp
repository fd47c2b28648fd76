// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/VoiceWindow.hpp"

#include "core/Speech.hpp"
#include "platform/audio/Sound.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "windows/ChildChooser.hpp"
#include "windows/FilePicker.hpp"

#include <algorithm>
#include <exception>

namespace {

const platform::Font kTextFont{
    .family = "DejaVu Sans", .height = 16, .bold = false, .color = platform::kBlack};
const platform::Font kProblemFont{
    .family = "DejaVu Sans", .height = 16, .bold = true, .color = platform::rgb(192, 57, 43)};

std::string seconds(int ms) {
    const int tenths = (ms + 50) / 100;
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " s";
}

} // namespace

VoiceWindow::VoiceWindow(std::string stem, std::string caption, bool ownWord)
    : Form("Głos słowa"), stem_(std::move(stem)), caption_(std::move(caption)), ownWord_(ownWord) {
    name = "FormGlos";
    setSize(640, 420);
    picture_ = loadCardPicture(stem_);
    message.name = "stan";
    message.setAutoSize(false);
    message.setBounds(236, 66, width() - 260, 184);
    message.setWordWrap(true);
    message.setTransparent(true);
    message.setFont(kTextFont);
    const int x0 = 24, w = 186, gap = 14, row1 = 266, row2 = 336, h = 52;
    record.setBounds(x0, row1, w, h);
    fromFile.setBounds(x0 + w + gap, row1, w, h);
    listen.setBounds(x0 + 2 * (w + gap), row1, w, h);
    keep.setBounds(x0, row2, w, h);
    shipped.setBounds(x0 + w + gap, row2, w, h);
    close.setBounds(x0 + 2 * (w + gap), row2, w, h);
    for (TextButton* b : {&record, &fromFile, &listen, &keep, &shipped, &close})
        b->font.height = 17;
    record.onClick = [this] { startOrStopRecording(); };
    fromFile.onClick = [this] {
        if (recorder_.recording()) return;
        FilePicker picker(FilePicker::Kind::Sound);
        if (picker.showModal() == platform::kModalOk) takeFromFile(picker.chosen());
    };
    listen.onClick = [this] {
        if (recorder_.recording()) return;
        if (take_.ok())
            playTake();
        else if (!playWord(stem_))
            say("To słowo nie ma jeszcze nagrania.", true);
    };
    keep.onClick = [this] { keepTake(); };
    shipped.onClick = [this] { backToShipped(); };
    close.onClick = [this] { finish(); };
    recorder_.onComplete = [this] {
        if (!recorder_.recording()) finishRecording();
    };
}

VoiceWindow::~VoiceWindow() {
    recorder_.close();
    platform::fs::remove(takePath());
}

bool VoiceWindow::ownVoice() const {
    return hasOwnVoice(stem_);
}

std::string VoiceWindow::takePath() const {
    return platform::fs::resolveInUserDir(std::string(kVoicesFolder) + "\\.proba.pw");
}

void VoiceWindow::say(std::string text, bool problem) {
    message.setFont(problem ? kProblemFont : kTextFont);
    message.setCaption(std::move(text));
    updateButtons();
}

void VoiceWindow::updateButtons() {
    const bool busy = recorder_.recording();
    record.setCaption(busy ? "Zatrzymaj" : "Nagraj");
    fromFile.setEnabled(!busy);
    listen.setEnabled(!busy);
    keep.setEnabled(!busy && take_.ok());
    shipped.setVisible(!keeper && !ownWord_);
    shipped.setEnabled(!busy && ownVoice());
    close.setEnabled(!busy);
    invalidate();
}

void VoiceWindow::startOrStopRecording() {
    if (recorder_.recording()) {
        recorder_.stop();
        finishRecording();
        return;
    }
    take_ = {};
    recorder_.close();
    platform::fs::remove(takePath());
    if (!platform::fs::createPrivateDir(platform::fs::resolveInUserDir(kVoicesFolder)) ||
        !recorder_.open(takePath())) {
        say("Nie można przygotować miejsca na nagranie (może brak miejsca na dysku).", true);
        return;
    }
    if (!recorder_.record(kRecordMs)) {
        recorder_.close();
        say("Nie można nagrywać: mikrofon jest niedostępny. Można wybrać plik dźwiękowy.", true);
        return;
    }
    say("Nagrywanie… Proszę powiedzieć słowo wyraźnie, a potem kliknąć „Zatrzymaj”.", false);
}

void VoiceWindow::finishRecording() {
    const bool failed = recorder_.saveFailed();
    recorder_.close();
    if (failed) {
        say("Nie udało się zapisać nagrania (może brak miejsca na dysku).", true);
        return;
    }
    std::vector<std::uint8_t> bytes;
    try {
        bytes = platform::fs::readFile(takePath(), 16u << 20);
    } catch (const std::exception&) {
        say("Nie udało się odczytać nagrania.", true);
        return;
    }
    take_ = voiceFromBytes(bytes);
    if (!take_.ok()) {
        say(take_.problem + " Słowo ma nadal swój dawny głos.", true);
        return;
    }
    try {
        platform::fs::writeFileAtomic(takePath(), take_.wav);
    } catch (const std::exception&) {
        take_ = {};
        say("Nie udało się zapisać nagrania (może brak miejsca na dysku).", true);
        return;
    }
    say("Nowe nagranie (" + seconds(take_.lengthMs) + "): posłuchaj i zachowaj albo nagraj jeszcze raz.",
        false);
    playTake();
}

void VoiceWindow::takeFromFile(const std::string& nativePath) {
    if (recorder_.recording()) return;
    recorder_.close();
    take_ = voiceFromFile(nativePath);
    if (!take_.ok()) {
        say(take_.problem + " Słowo ma nadal swój dawny głos.", true);
        return;
    }
    try {
        platform::fs::createPrivateDir(platform::fs::resolveInUserDir(kVoicesFolder));
        platform::fs::writeFileAtomic(takePath(), take_.wav);
    } catch (const std::exception&) {
        take_ = {};
        say("Nie udało się zapisać nagrania (może brak miejsca na dysku).", true);
        return;
    }
    const std::size_t slash = nativePath.find_last_of('/');
    say("Z pliku „" + nativePath.substr(slash == std::string::npos ? 0 : slash + 1) + "” (" +
            seconds(take_.lengthMs) + "): posłuchaj i zachowaj.",
        false);
}

void VoiceWindow::playTake() {
    invalidate();
    platform::sound::playSync(takePath());
}

void VoiceWindow::keepTake() {
    if (!take_.ok()) return;
    const std::string error = keeper ? keeper(take_) : keepOwnVoice(stem_, take_.wav);
    if (!error.empty()) {
        say(error, true);
        return;
    }
    take_ = {};
    platform::fs::remove(takePath());
    say(keeper ? "Zachowano: to będzie głos nowego słowa."
               : "Zachowano: gry mówią teraz to słowo nagranym głosem.",
        false);
}

void VoiceWindow::backToShipped() {
    if (ownWord_ || keeper) return; // an own word is never left without a voice
    const std::string error = removeOwnVoice(stem_);
    if (!error.empty()) {
        say(error, true);
        return;
    }
    say("Słowo ma znów głos programu.", false);
}

void VoiceWindow::finish() {
    if (recorder_.recording()) return;
    setModalResult(platform::kModalOk);
}

void VoiceWindow::showEvent() {
    centreOnScreen(*this);
    if (message.caption().empty())
        say(keeper       ? "Nagraj słowo albo wybierz plik z nagraniem."
            : ownVoice() ? "Teraz słowo ma głos nagrany przez dorosłego."
                         : "Teraz słowo ma głos programu.",
            false);
}

void VoiceWindow::keyPressEvent(int charCode) {
    if (charCode == 27) {
        if (recorder_.recording()) {
            recorder_.stop();
            finishRecording();
        } else {
            finish();
        }
    }
}

void VoiceWindow::dropFileEvent(const std::string& nativePath, int, int) {
    takeFromFile(nativePath);
}

void VoiceWindow::paintEvent() {
    paintPanel(*this, "Głos słowa \u201e" + caption_ + "\u201d");
    platform::Canvas& c = canvas();
    const platform::Rect place = platform::Rect::fromSize(24, 60, 190, 190);
    c.setBrushColor(platform::kWhite);
    fillRoundedRect(c, place, 12);
    if (picture_.width() > 0)
        c.stretchDraw({place.left + 8, place.top + 8, place.right - 8, place.bottom - 8}, picture_);
}
