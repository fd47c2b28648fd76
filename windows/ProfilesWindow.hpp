// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Edit.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "widgets/TextButton.hpp"

#include <array>
#include <memory>
#include <string>
#include <vector>

struct ProgramContext;
class Catalogue;

// Asks for a child's name: a text field, the reason a name is refused, OK and cancel.
class NameDialog : public platform::Form {
public:
    // check: the reason the name cannot be used, empty when it can.
    NameDialog(std::string title, std::string initial, std::function<std::string(const std::string&)> check);
    // The name entered, after a kModalOk.
    std::string enteredName() const { return edit.text(); }

    platform::Edit edit{*this};
    TextButton ok{*this, "ok", "OK", platform::rgb(39, 174, 96)};
    TextButton cancel{*this, "anuluj", "Anuluj", platform::rgb(192, 57, 43)};
    const std::string& problem() const { return problem_; }

protected:
    void paintEvent() override;
    void showEvent() override;
    void keyPressEvent(int charCode) override;

private:
    void accept();
    std::string title_;
    std::string problem_;
    std::function<std::string(const std::string&)> check_;
};

// Chooses a child's picture among the catalogue's word pictures, a page at a time.
class PictureDialog : public platform::Form {
public:
    static constexpr int kColumns = 6, kRows = 3, kPerPage = kColumns * kRows;
    explicit PictureDialog(const Catalogue& catalogue);
    // The stem chosen, after a kModalOk.
    const std::string& chosen() const { return chosen_; }

    std::array<std::unique_ptr<platform::ImageControl>, kPerPage> cells;
    TextButton previous{*this, "poprzednie", "<", platform::rgb(41, 128, 185)};
    TextButton next{*this, "nastepne", ">", platform::rgb(41, 128, 185)};
    TextButton cancel{*this, "anuluj", "Anuluj", platform::rgb(192, 57, 43)};

protected:
    void paintEvent() override;
    void showEvent() override;
    void keyPressEvent(int charCode) override;

private:
    void showPage();
    std::vector<std::string> stems_;
    std::vector<std::string> captions_;      // the words as they are written
    std::vector<platform::Bitmap> pictures_; // the page's
    int page_ = 0;
    std::string chosen_;
};

// The adults' window for the children: add, rename, change the picture, remove. It is reached through the
// adults' gate only.
class ProfilesWindow : public platform::Form {
public:
    static constexpr int kPerPage = 8;
    explicit ProfilesWindow(ProgramContext& context);
    ~ProfilesWindow() override;

    // The child selected in the list (profile number), 0 for none.
    int selected() const { return selected_; }
    void select(int number);

    std::array<std::unique_ptr<platform::ImageControl>, kPerPage> rows;
    TextButton add{*this, "dodaj", "Dodaj dziecko", platform::rgb(39, 174, 96)};
    TextButton rename{*this, "zmienimie", "Zmień imię", platform::rgb(41, 128, 185)};
    TextButton picture{*this, "obrazek", "Zmień obrazek", platform::rgb(142, 68, 173)};
    TextButton remove{*this, "usun", "Usuń", platform::rgb(192, 57, 43)};
    TextButton exportData{*this, "eksportuj", "Zapisz dla rodziców", platform::rgb(22, 160, 133)};
    TextButton done{*this, "gotowe", "Gotowe", platform::rgb(230, 126, 34)};
    TextButton previous{*this, "poprzednie", "<", platform::rgb(41, 128, 185)};
    TextButton next{*this, "nastepne", ">", platform::rgb(41, 128, 185)};

protected:
    void paintEvent() override;
    void showEvent() override;
    void keyPressEvent(int charCode) override;

private:
    ProgramContext& context_;
    std::vector<platform::Bitmap> pictures_;
    int page_ = 0;
    int selected_ = 0;
    std::string status_;

    void refresh();
    void showPage();
    platform::Rect rowRect(int slot) const;
    void addChild();
    void renameChild();
    void changePicture();
    void removeChild();
    void exportChild();
};
