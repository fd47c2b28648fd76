// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/ChildChooser.hpp"

#include "core/ProgramContext.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "words/Catalogue.hpp"

#include <algorithm>
#include <exception>

namespace {

constexpr const char* kBackground = "Data\\Intf\\Spec\\mT_m0";
constexpr platform::Color kCream = platform::rgb(255, 250, 230);
constexpr platform::Color kCardColours[] = {platform::rgb(52, 152, 219), platform::rgb(155, 89, 182),
                                            platform::rgb(26, 188, 156), platform::rgb(46, 204, 113),
                                            platform::rgb(231, 76, 60),  platform::rgb(241, 196, 15)};

// The first character of a UTF-8 name.
std::string initial(const std::string& name) {
    std::size_t n = 1;
    while (n < name.size() && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80)
        ++n;
    return name.substr(0, n);
}

} // namespace

platform::Bitmap loadCardPicture(const std::string& stem) {
    platform::Bitmap picture;
    if (stem.empty()) return picture;
    const std::string path = wordPicturePath(stem, "_ms.xji");
    try {
        if (platform::fs::exists(path)) loadJpeg(picture, path);
    } catch (const std::exception&) {
        picture = platform::Bitmap();
    }
    return picture;
}

void drawChildCard(platform::Canvas& c, const platform::Rect& card, const Profile& child,
                   const platform::Bitmap* picture, bool large) {
    c.setBrushColor(platform::rgb(120, 120, 120));
    fillRoundedRect(c, card, 18);
    c.setBrushColor(platform::kWhite);
    fillRoundedRect(c, {card.left + 3, card.top + 3, card.right - 3, card.bottom - 3}, 16);
    const int nameHeight = large ? 50 : 42;
    const int side = std::min(card.width() - 24, card.height() - nameHeight - 16);
    const platform::Rect place =
        platform::Rect::fromSize(card.left + (card.width() - side) / 2, card.top + 10, side, side);
    if (picture && picture->width() > 0) {
        c.stretchDraw(place, *picture);
    } else {
        // No picture: the name's first letter on the child's own colour.
        c.setBrushColor(kCardColours[std::size_t(child.number) % std::size(kCardColours)]);
        fillRoundedRect(c, place, side / 2);
        c.setFont({.family = "DejaVu Sans", .height = side / 2, .bold = true, .color = platform::kWhite});
        c.textRect({place.left, place.top + side / 5, place.right, place.bottom}, initial(child.name),
                   platform::TextAlign::Center, false);
    }
    drawFittedText(
        c, {card.left + 6, place.bottom + 2, card.right - 6, card.bottom - 4}, child.name,
        {.family = "DejaVu Sans", .height = large ? 24 : 19, .bold = true, .color = platform::kBlack},
        large ? 14 : 12, platform::TextAlign::Center);
}

ChildChooser::ChildChooser(ProgramContext& context) : Form("Kto dziś ćwiczy?"), context_(context) {
    name = "FormDzieci";
    const platform::Size screen = platform::app().screenSize();
    setBounds(0, 0, screen.width, screen.height);
    try {
        context_.layout.drawBackground(background_,
                                       std::string(kBackground) + context_.layout.suffix() + ".xji");
    } catch (const std::exception&) {
        background_ = platform::Bitmap();
    }
    for (int i = 0; i < kPerPage; ++i) {
        cards[std::size_t(i)] = std::make_unique<platform::ImageControl>(*this);
        cards[std::size_t(i)]->name = "dziecko" + std::to_string(i + 1);
        cards[std::size_t(i)]->setCursor(platform::kCursorHand);
        cards[std::size_t(i)]->onClick = [this, i] { choose(i); };
    }
    const int X0 = context_.layout.offsetX(), Y0 = context_.layout.offsetY();
    const int W = context_.layout.areaWidth(), H = context_.layout.areaHeight();
    const bool large = W >= 1024;
    quit.setBounds(X0 + W - (large ? 180 : 150), Y0 + H - (large ? 80 : 64), large ? 150 : 124,
                   large ? 56 : 46);
    manage.setBounds(X0 + 30, Y0 + H - (large ? 80 : 64), large ? 290 : 240, large ? 56 : 46);
    manage.font.height = large ? 18 : 15;
    previous.setBounds(X0 + 20, Y0 + H / 2 - 30, 50, 60);
    next.setBounds(X0 + W - 70, Y0 + H / 2 - 30, 50, 60);
    manage.onClick = [this] {
        if (onManage) onManage();
    };
    quit.onClick = [this] { close(); };
    wirePageButtons(previous, next, page_, [this] { showPage(); });
    refresh();
}

ChildChooser::~ChildChooser() = default;

platform::Rect ChildChooser::cardRect(int slot) const {
    const int X0 = context_.layout.offsetX(), Y0 = context_.layout.offsetY();
    const int W = context_.layout.areaWidth(), H = context_.layout.areaHeight();
    const int count = std::min<int>(kPerPage, int(context_.profiles.all().size()) - page_ * kPerPage);
    const int columns = count <= 3 ? std::max(count, 1) : 4;
    const int rows = count <= 4 ? 1 : 2;
    const int cardW = W * (rows == 1 ? 22 : 19) / 100, cardH = cardW * 115 / 100, gap = W / 40;
    const int left = X0 + (W - columns * cardW - (columns - 1) * gap) / 2;
    const int top = Y0 + H * 25 / 100 + (rows == 1 ? cardH / 3 : 0);
    return platform::Rect::fromSize(left + (slot % columns) * (cardW + gap),
                                    top + (slot / columns) * (cardH + gap), cardW, cardH);
}

void ChildChooser::refresh() {
    pictures_.clear();
    for (const Profile& p : context_.profiles.all())
        pictures_.push_back(loadCardPicture(p.picture));
    showPage();
}

void ChildChooser::showPage() {
    const int total = int(context_.profiles.all().size());
    settlePage(page_, total, kPerPage, previous, next);
    for (int i = 0; i < kPerPage; ++i) {
        const bool used = page_ * kPerPage + i < total;
        cards[std::size_t(i)]->setVisible(used);
        if (used) cards[std::size_t(i)]->setBounds(cardRect(i));
    }
    invalidate();
}

void ChildChooser::choose(int slot) {
    const std::size_t index = std::size_t(page_ * kPerPage + slot);
    if (index >= context_.profiles.all().size()) return;
    chosen_ = context_.profiles.all()[index].number;
    setModalResult(platform::kModalOk);
}

void ChildChooser::keyPressEvent(int charCode) {
    if (charCode == 27) close();
    // The digits choose the cards of the page in order, for a keyboard-only start.
    if (charCode >= '1' && charCode < '1' + kPerPage) choose(charCode - '1');
}

void ChildChooser::closeEvent() {
    if (modalResult() != platform::kModalOk) chosen_ = 0;
}

void ChildChooser::paintEvent() {
    platform::Canvas& c = canvas();
    c.setCopyMode(platform::CopyMode::SrcCopy);
    if (background_.width() > 0) {
        c.draw(0, 0, background_);
    } else {
        c.setBrushColor(platform::rgb(135, 206, 235));
        c.fillRect(clientRect());
    }
    const int X0 = context_.layout.offsetX(), Y0 = context_.layout.offsetY();
    const int W = context_.layout.areaWidth(), H = context_.layout.areaHeight();
    const bool large = W >= 1024;
    c.setBrushColor(kCream);
    fillRoundedRect(c, {X0 + W / 12, Y0 + H / 9, X0 + W - W / 12, Y0 + H * 17 / 20}, 30);
    c.setFont({.family = "DejaVu Sans",
               .height = large ? 44 : 34,
               .bold = true,
               .color = platform::rgb(192, 57, 43)});
    c.textRect({X0, Y0 + H / 9 + (large ? 20 : 14), X0 + W, Y0 + H / 4}, "Kto dziś ćwiczy?",
               platform::TextAlign::Center, false);
    const auto& all = context_.profiles.all();
    for (int i = 0; i < kPerPage; ++i) {
        const std::size_t index = std::size_t(page_ * kPerPage + i);
        if (index >= all.size()) break;
        drawChildCard(c, cardRect(i), all[index], &pictures_[index], large);
    }
}
