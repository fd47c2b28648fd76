// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/VoiceWindow.hpp"

#include "core/Speech.hpp"
#include "platform/audio/Sound.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "windows/ChildChooser.hpp"

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

VoiceWindow::VoiceWindow(std::string stem, std::string caption)
    : Form("Głos słowa"), stem_(std::move(stem)), caption_(std::move(caption)) {
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
        SoundFilePicker picker;
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
    say(ownVoice() ? "Teraz słowo ma głos nagrany przez dorosłego." : "Teraz słowo ma głos programu.", false);
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
    const std::string error = keepOwnVoice(stem_, take_.wav);
    if (!error.empty()) {
        say(error, true);
        return;
    }
    take_ = {};
    platform::fs::remove(takePath());
    say("Zachowano: gry mówią teraz to słowo nagranym głosem.", false);
}

void VoiceWindow::backToShipped() {
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

// ---- the file list

namespace {

constexpr const char* kSoundMasks[] = {"*.wav", "*.flac", "*.ogg", "*.oga", "*.opus", "*.mp3"};

} // namespace

SoundFilePicker::SoundFilePicker() : Form("Plik dźwiękowy") {
    name = "FormPlik";
    setSize(640, 520);
    const std::string home = platform::fs::homeDir();
    if (!home.empty()) folders_.emplace_back("Katalog domowy", home);
    if (std::string music = platform::fs::userFolder("MUSIC", {"Muzyka", "Music"}); !music.empty())
        folders_.emplace_back("Muzyka", music);
    if (std::string desk = platform::fs::userFolder("DESKTOP", {"Pulpit", "Desktop"}); !desk.empty())
        folders_.emplace_back("Pulpit", desk);
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        auto b = std::make_unique<TextButton>(*this, "folder" + std::to_string(i + 1), folders_[i].first,
                                              platform::rgb(41, 128, 185));
        b->setBounds(24 + int(i) * 200, 58, 186, 42);
        b->font.height = 16;
        b->onClick = [this, i] { openFolder(int(i)); };
        folderButtons.push_back(std::move(b));
    }
    for (int i = 0; i < kRows; ++i) {
        auto& row = rows[std::size_t(i)];
        row = std::make_unique<platform::ImageControl>(*this);
        row->name = "plik" + std::to_string(i + 1);
        row->setCursor(platform::kCursorHand);
        row->setBounds(rowRect(i));
        row->onClick = [this, i] {
            selected_ = page_ * kRows + i;
            invalidate();
        };
        row->onDblClick = [this, i] {
            selected_ = page_ * kRows + i;
            choose.onClick();
        };
    }
    previous.setBounds(24, 450, 50, 48);
    next.setBounds(84, 450, 50, 48);
    choose.setBounds(300, 450, 150, 48);
    cancel.setBounds(466, 450, 150, 48);
    previous.onClick = [this] {
        page_ = std::max(0, page_ - 1);
        showPage();
    };
    next.onClick = [this] {
        ++page_;
        showPage();
    };
    choose.onClick = [this] {
        if (folder_ < 0 || selected_ < 0 || selected_ >= int(files_.size())) return;
        chosen_ = folders_[std::size_t(folder_)].second + "/" + files_[std::size_t(selected_)];
        setModalResult(platform::kModalOk);
    };
    cancel.onClick = [this] { setModalResult(platform::kModalCancel); };
    openFolder(folders_.size() > 1 ? 1 : 0);
}

platform::Rect SoundFilePicker::rowRect(int slot) const {
    return platform::Rect::fromSize(24, 112 + slot * 40, width() - 48, 36);
}

void SoundFilePicker::openFolder(int index) {
    files_.clear();
    folder_ = index >= 0 && index < int(folders_.size()) ? index : -1;
    if (folder_ >= 0) {
        for (const char* mask : kSoundMasks)
            for (std::string& f : platform::fs::list(folders_[std::size_t(folder_)].second, mask))
                if (!f.empty() && f[0] != '.') files_.push_back(std::move(f));
        std::sort(files_.begin(), files_.end());
        files_.erase(std::unique(files_.begin(), files_.end()), files_.end());
    }
    for (std::size_t i = 0; i < folderButtons.size(); ++i)
        folderButtons[i]->setColour(int(i) == folder_ ? platform::rgb(41, 128, 185)
                                                      : platform::rgb(170, 170, 170));
    page_ = 0;
    selected_ = files_.empty() ? -1 : 0;
    showPage();
}

void SoundFilePicker::showPage() {
    const int total = int(files_.size());
    const int pages = std::max(1, (total + kRows - 1) / kRows);
    page_ = std::clamp(page_, 0, pages - 1);
    for (int i = 0; i < kRows; ++i)
        rows[std::size_t(i)]->setVisible(page_ * kRows + i < total);
    previous.setVisible(page_ > 0);
    next.setVisible(page_ + 1 < pages);
    choose.setEnabled(total > 0);
    invalidate();
}

void SoundFilePicker::showEvent() {
    centreOnScreen(*this);
}

void SoundFilePicker::keyPressEvent(int charCode) {
    if (charCode == 27) setModalResult(platform::kModalCancel);
    if (charCode == 13) choose.onClick();
}

void SoundFilePicker::paintEvent() {
    paintPanel(*this, "Wybierz plik z nagraniem słowa");
    platform::Canvas& c = canvas();
    const int total = int(files_.size());
    for (int i = 0; i < kRows; ++i) {
        const int index = page_ * kRows + i;
        if (index >= total) break;
        const platform::Rect r = rowRect(i);
        c.setBrushColor(index == selected_ ? platform::rgb(41, 128, 185) : platform::rgb(235, 235, 235));
        fillRoundedRect(c, r, 8);
        drawFittedText(c, {r.left + 12, r.top, r.right - 12, r.bottom}, files_[std::size_t(index)],
                       {.family = "DejaVu Sans",
                        .height = 16,
                        .bold = index == selected_,
                        .color = index == selected_ ? platform::kWhite : platform::kBlack},
                       11, platform::TextAlign::Left);
    }
    if (total == 0) {
        c.setFont(kTextFont);
        c.textRect({24, 112, width() - 24, 200},
                   folder_ < 0 ? "Nie znaleziono katalogu domowego."
                               : "W tym katalogu nie ma plików dźwiękowych (WAV, FLAC, Ogg, Opus, MP3).",
                   platform::TextAlign::Center, true);
    }
}
