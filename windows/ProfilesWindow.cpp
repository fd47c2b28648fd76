// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/ProfilesWindow.hpp"

#include "core/ProgramContext.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Dialogs.hpp"
#include "report/ChildExport.hpp"
#include "windows/ChildChooser.hpp"
#include "words/Catalogue.hpp"

#include <algorithm>
#include <utility>

namespace {

const platform::Font kTextFont{
    .family = "DejaVu Sans", .height = 16, .bold = false, .color = platform::kBlack};
const platform::Font kProblemFont{
    .family = "DejaVu Sans", .height = 15, .bold = true, .color = platform::rgb(192, 57, 43)};

} // namespace

// ---- the name

NameDialog::NameDialog(std::string title, std::string initial,
                       std::function<std::string(const std::string&)> check)
    : Form(title), title_(std::move(title)), check_(std::move(check)) {
    name = "FormImie";
    setSize(520, 250);
    edit.name = "imie";
    edit.setBounds(40, 70, 440, 36);
    edit.setFont({.family = "DejaVu Sans", .height = 20, .bold = false, .color = platform::kBlack});
    // Longer than any accepted name, so that a paste shows why it is refused instead of being cut.
    edit.maxLength = 200;
    edit.setText(std::move(initial));
    edit.setCaretPos(edit.length());
    ok.setBounds(90, 178, 150, 52);
    cancel.setBounds(280, 178, 150, 52);
    ok.onClick = [this] { accept(); };
    cancel.onClick = [this] { setModalResult(platform::kModalCancel); };
    edit.onChange = [this] {
        if (problem_.empty()) return;
        problem_.clear();
        invalidate();
    };
}

void NameDialog::accept() {
    problem_ = check_ ? check_(edit.text()) : std::string();
    if (problem_.empty()) {
        setModalResult(platform::kModalOk);
        return;
    }
    invalidate();
}

void NameDialog::showEvent() {
    centreOnScreen(*this);
    setFocusedControl(&edit);
}

void NameDialog::keyPressEvent(int charCode) {
    if (charCode == 13) accept();
    if (charCode == 27) setModalResult(platform::kModalCancel);
}

void NameDialog::paintEvent() {
    paintPanel(*this, title_);
    platform::Canvas& c = canvas();
    c.setFont(kProblemFont);
    c.textRect({30, 114, width() - 30, 172}, problem_, platform::TextAlign::Center, true);
}

// ---- the picture

PictureDialog::PictureDialog(const Catalogue& catalogue) : Form("Obrazek dziecka") {
    name = "FormObrazek";
    setSize(700, 540);
    for (const Word& w : catalogue.table()) {
        stems_.push_back(w.stem);
        captions_.push_back(writtenWord(w.spelling));
    }
    for (int i = 0; i < kPerPage; ++i) {
        auto& cell = cells[std::size_t(i)];
        cell = std::make_unique<platform::ImageControl>(*this);
        cell->name = "obrazek" + std::to_string(i + 1);
        cell->setCursor(platform::kCursorHand);
        cell->setBounds(40 + (i % kColumns) * 105, 60 + (i / kColumns) * 130, 95, 120);
        cell->onClick = [this, i] {
            const std::size_t index = std::size_t(page_ * kPerPage + i);
            if (index >= stems_.size()) return;
            chosen_ = stems_[index];
            setModalResult(platform::kModalOk);
        };
    }
    previous.setBounds(40, 470, 60, 52);
    next.setBounds(600, 470, 60, 52);
    cancel.setBounds(275, 470, 150, 52);
    wirePageButtons(previous, next, page_, [this] { showPage(); });
    cancel.onClick = [this] { setModalResult(platform::kModalCancel); };
    showPage();
}

void PictureDialog::showPage() {
    settlePage(page_, int(stems_.size()), kPerPage, previous, next);
    pictures_.clear();
    for (int i = 0; i < kPerPage; ++i) {
        const std::size_t index = std::size_t(page_ * kPerPage + i);
        cells[std::size_t(i)]->setVisible(index < stems_.size());
        pictures_.push_back(index < stems_.size() ? loadCardPicture(stems_[index]) : platform::Bitmap());
    }
    invalidate();
}

void PictureDialog::showEvent() {
    centreOnScreen(*this);
}

void PictureDialog::keyPressEvent(int charCode) {
    if (charCode == 27) setModalResult(platform::kModalCancel);
}

void PictureDialog::paintEvent() {
    paintPanel(*this, "Wybierz obrazek dziecka");
    platform::Canvas& c = canvas();
    for (int i = 0; i < kPerPage; ++i) {
        if (!cells[std::size_t(i)]->visible()) continue;
        const platform::Rect r = cells[std::size_t(i)]->bounds();
        c.setBrushColor(platform::kWhite);
        c.fillRect(r);
        if (pictures_[std::size_t(i)].width() > 0)
            c.stretchDraw(platform::Rect::fromSize(r.left + 2, r.top + 2, 91, 91), pictures_[std::size_t(i)]);
        c.setFont({.family = "DejaVu Sans", .height = 12, .bold = false, .color = platform::kBlack});
        c.textRect({r.left, r.top + 96, r.right, r.bottom}, captions_[std::size_t(page_ * kPerPage + i)],
                   platform::TextAlign::Center, false);
    }
}

// ---- the children

ProfilesWindow::ProfilesWindow(ProgramContext& context) : Form("Dzieci"), context_(context) {
    name = "FormProfile";
    setSize(720, 560);
    for (int i = 0; i < kPerPage; ++i) {
        auto& row = rows[std::size_t(i)];
        row = std::make_unique<platform::ImageControl>(*this);
        row->name = "wiersz" + std::to_string(i + 1);
        row->setCursor(platform::kCursorHand);
        row->setBounds(rowRect(i));
        row->onClick = [this, i] {
            const std::size_t index = std::size_t(page_ * kPerPage + i);
            if (index < context_.profiles.all().size()) select(context_.profiles.all()[index].number);
        };
    }
    const int x = 500;
    add.setBounds(x, 70, 190, 50);
    rename.setBounds(x, 130, 190, 50);
    picture.setBounds(x, 190, 190, 50);
    remove.setBounds(x, 250, 190, 50);
    exportData.setBounds(x, 310, 190, 50);
    exportData.font.height = 15;
    done.setBounds(x, 480, 190, 56);
    previous.setBounds(30, 490, 50, 46);
    next.setBounds(400, 490, 50, 46);
    add.onClick = [this] { addChild(); };
    rename.onClick = [this] { renameChild(); };
    picture.onClick = [this] { changePicture(); };
    remove.onClick = [this] { removeChild(); };
    exportData.onClick = [this] { exportChild(); };
    done.onClick = [this] { setModalResult(platform::kModalOk); };
    wirePageButtons(previous, next, page_, [this] { showPage(); });
    refresh();
}

ProfilesWindow::~ProfilesWindow() = default;

platform::Rect ProfilesWindow::rowRect(int slot) const {
    return platform::Rect::fromSize(30, 64 + slot * 52, 440, 48);
}

void ProfilesWindow::refresh() {
    pictures_.clear();
    for (const Profile& p : context_.profiles.all())
        pictures_.push_back(loadCardPicture(p.picture));
    if (!context_.profiles.find(selected_))
        selected_ = context_.profiles.all().empty() ? 0 : context_.profiles.all().front().number;
    showPage();
}

void ProfilesWindow::showPage() {
    const int total = int(context_.profiles.all().size());
    settlePage(page_, total, kPerPage, previous, next);
    for (int i = 0; i < kPerPage; ++i)
        rows[std::size_t(i)]->setVisible(page_ * kPerPage + i < total);
    for (TextButton* b : {&rename, &picture, &remove, &exportData})
        b->setEnabled(selected_ != 0);
    invalidate();
}

void ProfilesWindow::select(int number) {
    selected_ = context_.profiles.find(number) ? number : 0;
    status_.clear();
    showPage();
}

void ProfilesWindow::addChild() {
    Profiles& profiles = context_.profiles;
    NameDialog dialog("Nowe dziecko", "",
                      [&profiles](const std::string& n) { return nameProblem(n, profiles.all()); });
    if (dialog.showModal() != platform::kModalOk) return;
    int number = 0;
    status_ = profiles.add(dialog.enteredName(), "", &number);
    if (status_.empty()) {
        selected_ = number;
        page_ = int(profiles.all().size() - 1) / kPerPage;
        status_ = "Dodano: " + trimmedName(dialog.enteredName()) + ". Wybierz jeszcze obrazek.";
    }
    refresh();
}

void ProfilesWindow::renameChild() {
    const Profile* child = context_.profiles.find(selected_);
    if (!child) return;
    Profiles& profiles = context_.profiles;
    const int number = child->number;
    NameDialog dialog("Nowe imię", child->name, [&profiles, number](const std::string& n) {
        return nameProblem(n, profiles.all(), number);
    });
    if (dialog.showModal() != platform::kModalOk) return;
    status_ = profiles.rename(number, dialog.enteredName());
    refresh();
}

void ProfilesWindow::changePicture() {
    if (!context_.profiles.find(selected_) || !context_.catalogue) return;
    PictureDialog dialog(*context_.catalogue);
    if (dialog.showModal() != platform::kModalOk) return;
    status_ = context_.profiles.setPicture(selected_, dialog.chosen());
    refresh();
}

void ProfilesWindow::removeChild() {
    const Profile* child = context_.profiles.find(selected_);
    if (!child) return;
    const std::string question = "Usunąć dziecko \u201e" + child->name +
                                 "\u201d razem z jego wynikami, ustawieniami, nagraniami i raportem?\n\n"
                                 "Tego nie można cofnąć.";
    if (platform::messageBox(this, question, "Usuwanie dziecka", platform::MessageIcon::Warning,
                             platform::MessageButtons::YesNo) != platform::MessageResult::Yes)
        return;
    const std::string removedName = child->name;
    status_ = context_.profiles.remove(selected_);
    if (status_.empty()) status_ = "Usunięto: " + removedName + ".";
    selected_ = 0;
    refresh();
}

void ProfilesWindow::exportChild() {
    const Profile* child = context_.profiles.find(selected_);
    if (!child) return;
    const report::ExportResult result =
        report::exportChild(child->folder(), child->name, platform::fs::homeDir());
    status_ = result.error.empty()
                  ? "Wyniki, nagrania i raport dziecka zapisano w katalogu:\n" + result.folder
                  : result.error;
    invalidate();
}

void ProfilesWindow::showEvent() {
    centreOnScreen(*this);
}

void ProfilesWindow::keyPressEvent(int charCode) {
    if (charCode == 27) setModalResult(platform::kModalOk);
}

void ProfilesWindow::paintEvent() {
    paintPanel(*this, "Dzieci");
    platform::Canvas& c = canvas();
    const auto& all = context_.profiles.all();
    for (int i = 0; i < kPerPage; ++i) {
        const std::size_t index = std::size_t(page_ * kPerPage + i);
        if (index >= all.size()) break;
        const platform::Rect r = rowRect(i);
        const bool chosen = all[index].number == selected_;
        c.setBrushColor(chosen ? platform::rgb(174, 214, 241) : platform::kWhite);
        fillRoundedRect(c, r, 10);
        const platform::Rect place = platform::Rect::fromSize(r.left + 6, r.top + 4, 40, 40);
        if (pictures_[index].width() > 0) {
            c.stretchDraw(place, pictures_[index]);
        } else {
            c.setBrushColor(platform::rgb(200, 200, 200));
            fillRoundedRect(c, place, 20);
        }
        drawFittedText(c, {r.left + 58, r.top + 2, r.right - 8, r.bottom - 2}, all[index].name,
                       {.family = "DejaVu Sans", .height = 19, .bold = chosen, .color = platform::kBlack}, 12,
                       platform::TextAlign::Left);
    }
    c.setFont(kTextFont);
    c.textRect({470, 372, width() - 16, 474}, status_, platform::TextAlign::Left, true);
}
