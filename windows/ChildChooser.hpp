// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/core/Bitmap.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "widgets/TextButton.hpp"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct ProgramContext;
struct Profile;

// A child's card: the picture the child knows, the name below it.
void drawChildCard(platform::Canvas& canvas, const platform::Rect& card, const Profile& child,
                   const platform::Bitmap* picture, bool large);
// The picture of a catalogue word for a card; an empty bitmap when the word has none.
platform::Bitmap loadCardPicture(const std::string& stem);

// "Kto dziś ćwiczy?": one big card per child, so that a child who cannot read finds their own. It is the
// shown modally at start-up: kModalOk when a child was chosen (chosen()), else the program is left.
class ChildChooser : public platform::Form {
public:
    static constexpr int kPerPage = 8;

    explicit ChildChooser(ProgramContext& context);
    ~ChildChooser() override;

    // The profile number chosen, 0 while none is.
    int chosen() const { return chosen_; }
    // Builds the cards again after the children changed.
    void refresh();
    // Opens the adults' management of the children (behind the gate); set by start-up.
    std::function<void()> onManage;

    std::array<std::unique_ptr<platform::ImageControl>, kPerPage> cards;
    TextButton manage{*this, "dorosli", "Dzieci (dla dorosłych)", platform::rgb(127, 140, 141)};
    TextButton quit{*this, "wyjdz", "Wyjdź", platform::rgb(230, 126, 34)};
    TextButton previous{*this, "poprzednie", "<", platform::rgb(41, 128, 185)};
    TextButton next{*this, "nastepne", ">", platform::rgb(41, 128, 185)};

protected:
    void paintEvent() override;
    void keyPressEvent(int charCode) override;
    void closeEvent() override;

private:
    ProgramContext& context_;
    platform::Bitmap background_;
    std::vector<platform::Bitmap> pictures_;
    int page_ = 0;
    int chosen_ = 0;

    platform::Rect cardRect(int slot) const;
    void choose(int slot);
    void showPage();
};
