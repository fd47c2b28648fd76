// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "widgets/TextButton.hpp"

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A simple list of the sound files (or pictures) in the user's home, music (or pictures) and desktop
// folders, for an adult to choose one; no system dialog, so it looks and works the same everywhere and in
// the headless runs.
class FilePicker : public platform::Form {
public:
    enum class Kind { Sound, Picture };
    static constexpr int kRows = 8;
    explicit FilePicker(Kind kind);
    // The file chosen (native path), after a kModalOk.
    const std::string& chosen() const { return chosen_; }
    const std::vector<std::string>& files() const { return files_; }
    void openFolder(int index);

    std::vector<std::unique_ptr<TextButton>> folderButtons;
    std::array<std::unique_ptr<platform::ImageControl>, kRows> rows;
    TextButton previous{*this, "poprzednie", "<", platform::rgb(41, 128, 185)};
    TextButton next{*this, "nastepne", ">", platform::rgb(41, 128, 185)};
    TextButton choose{*this, "wybierz", "Wybierz", platform::rgb(39, 174, 96)};
    TextButton cancel{*this, "anuluj", "Anuluj", platform::rgb(192, 57, 43)};

protected:
    void paintEvent() override;
    void showEvent() override;
    void keyPressEvent(int charCode) override;

private:
    Kind kind_;
    std::vector<std::pair<std::string, std::string>> folders_; // caption, native path
    int folder_ = -1;
    std::vector<std::string> files_; // bare names in the folder
    int page_ = 0;
    int selected_ = -1;
    std::string chosen_;

    void showPage();
    platform::Rect rowRect(int slot) const;
};
