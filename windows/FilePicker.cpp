// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/FilePicker.hpp"

#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"

#include <algorithm>

namespace {

const std::vector<const char*> kSoundMasks = {"*.wav", "*.flac", "*.ogg", "*.oga", "*.opus", "*.mp3"};
const std::vector<const char*> kPictureMasks = {"*.jpg", "*.jpeg", "*.png"};

const platform::Font kTextFont{
    .family = "DejaVu Sans", .height = 16, .bold = false, .color = platform::kBlack};

} // namespace

FilePicker::FilePicker(Kind kind) : Form(kind == Kind::Sound ? "Plik dźwiękowy" : "Zdjęcie"), kind_(kind) {
    name = "FormPlik";
    setSize(640, 520);
    const std::string home = platform::fs::homeDir();
    if (!home.empty()) folders_.emplace_back("Katalog domowy", home);
    if (kind == Kind::Sound) {
        if (std::string music = platform::fs::userFolder("MUSIC", {"Muzyka", "Music"}); !music.empty())
            folders_.emplace_back("Muzyka", music);
    } else if (std::string pictures = platform::fs::userFolder("PICTURES", {"Obrazy", "Pictures"});
               !pictures.empty()) {
        folders_.emplace_back("Obrazy", pictures);
    }
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
    wirePageButtons(previous, next, page_, [this] { showPage(); });
    choose.onClick = [this] {
        if (folder_ < 0 || selected_ < 0 || selected_ >= int(files_.size())) return;
        chosen_ = folders_[std::size_t(folder_)].second + "/" + files_[std::size_t(selected_)];
        setModalResult(platform::kModalOk);
    };
    cancel.onClick = [this] { setModalResult(platform::kModalCancel); };
    openFolder(folders_.size() > 1 ? 1 : 0);
}

platform::Rect FilePicker::rowRect(int slot) const {
    return platform::Rect::fromSize(24, 112 + slot * 40, width() - 48, 36);
}

void FilePicker::openFolder(int index) {
    files_.clear();
    folder_ = index >= 0 && index < int(folders_.size()) ? index : -1;
    if (folder_ >= 0) {
        for (const char* mask : kind_ == Kind::Sound ? kSoundMasks : kPictureMasks)
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

void FilePicker::showPage() {
    const int total = int(files_.size());
    settlePage(page_, total, kRows, previous, next);
    for (int i = 0; i < kRows; ++i)
        rows[std::size_t(i)]->setVisible(page_ * kRows + i < total);
    choose.setEnabled(total > 0);
    invalidate();
}

void FilePicker::showEvent() {
    centreOnScreen(*this);
}

void FilePicker::keyPressEvent(int charCode) {
    if (charCode == 27) setModalResult(platform::kModalCancel);
    if (charCode == 13) choose.onClick();
}

void FilePicker::paintEvent() {
    paintPanel(*this,
               kind_ == Kind::Sound ? "Wybierz plik z nagraniem słowa" : "Wybierz zdjęcie lub rysunek");
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
                   : kind_ == Kind::Sound
                       ? "W tym katalogu nie ma plików dźwiękowych (WAV, FLAC, Ogg, Opus, MP3)."
                       : "W tym katalogu nie ma zdjęć (JPEG, PNG).",
                   platform::TextAlign::Center, true);
    }
}
