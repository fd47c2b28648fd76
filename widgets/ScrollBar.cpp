// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/ScrollBar.hpp"

#include "core/ResourcePictures.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/windows/Application.hpp"

using platform::Bitmap;
using platform::Canvas;
using platform::CopyMode;
using platform::Message;
using platform::MessageKind;
using platform::Rect;

namespace {

std::unique_ptr<Bitmap> zasob(const std::string& nazwa) {
    auto b = std::make_unique<Bitmap>();
    OtworzBMP(nazwa, *b);
    return b;
}

// The number of list rows the thumb's travel is divided into.
constexpr int kWierszy = 22;

} // namespace

// ---- ScrollThumb ----

// A failure anywhere leaves the members and the control to their destructors and lets the original
// exception through.
ScrollThumb::ScrollThumb(platform::Form& okno, const std::string& nazwa, Canvas& ekran, Canvas& tlo, int left,
                         int top, platform::Action* akcja)
    : platform::ImageControl(okno), obraz_(zasob(nazwa + "_D")), maska_(zasob(nazwa + "_M")), ekran_(&ekran),
      tlo_(&tlo) {
    setBounds(left, top, maska_->width(), maska_->height());
    if (akcja) onClick = [akcja] { akcja->execute(); };
    bufor_ = std::make_unique<Bitmap>(width(), height(), ekran.bitmap().format());
    bufor_->palette() = ekran.bitmap().palette();
    przeliczGranice();
    gotowy_ = true;
}

ScrollThumb::~ScrollThumb() {
    gotowy_ = false;
}

void ScrollThumb::przeliczGranice() {
    granice_ = Rect::fromSize(left(), top(), width(), height());
    lokalny_ = Rect{0, 0, width(), height()};
}

void ScrollThumb::ustawPozycje(int left, int top) {
    setPosition(left >= 0 ? left : this->left(), top >= 0 ? top : this->top());
    przeliczGranice();
}

void ScrollThumb::odrysuj() {
    przeliczGranice(); // the window may have moved the control without ustawPozycje
    Canvas& bufor = bufor_->canvas();
    bufor.setCopyMode(CopyMode::SrcCopy);
    bufor.copyRect(lokalny_, *tlo_, granice_);
    rysujZMaska(bufor, 0, 0, *maska_, *obraz_);
    ekran_->setCopyMode(CopyMode::SrcCopy);
    ekran_->copyRect(granice_, bufor, lokalny_);
}

void ScrollThumb::windowProc(Message& m) {
    if (m.kind == MessageKind::MouseEnter && platform::app().activeForm() != &form()) return;
    if (!gotowy_) return;
    if (visible()) {
        switch (m.kind) {
        case MessageKind::LButtonDown:
            wcisniety_ = 1;
            odrysuj();
            break;
        case MessageKind::LButtonUp:
            wcisniety_ = 0;
            odrysuj();
            break;
        case MessageKind::MouseMove:
            if (wcisniety_) odrysuj();
            break;
        case MessageKind::Paint:
        case MessageKind::MouseEnter:
        case MessageKind::MouseLeave:
            odrysuj();
            break;
        default:
            break;
        }
    }
    if (m.kind == MessageKind::VisibleChanged) {
        if (visible()) {
            odrysuj();
        } else {
            przeliczGranice();
            ekran_->setCopyMode(CopyMode::SrcCopy);
            ekran_->copyRect(granice_, *tlo_, granice_);
        }
        return;
    }
    platform::ImageControl::windowProc(m);
}

// ---- ScrollBar ----

ScrollBar::ScrollBar(platform::Form& okno, int x, int y, Canvas& ekran, Canvas& tlo)
    : x_(x), y_(y), ekran_(&ekran) {
    // The thumb's click does nothing; the temporary action only lives through the construction.
    auto akcja = std::make_unique<platform::Action>([] {});
    kciuk_ = std::make_unique<ScrollThumb>(okno, "scroll", ekran, tlo, x, y, akcja.get());
    kciuk_->onClick = [] {};
}

ScrollBar::~ScrollBar() {
    ekran_ = nullptr;
}

void ScrollBar::pokaz() {
    kciuk_->show();
}

void ScrollBar::ukryj() {
    kciuk_->hide();
}

void ScrollBar::ustawZakres(int x, int top, int bottom) {
    x_ = x;
    y_ = top;
    kciuk_->ustawPozycje(x_, y_);
    krok_ = (bottom - top) / kWierszy;
}

void ScrollBar::krokWDol() {
    y_ += krok_;
    kciuk_->ustawPozycje(x_, y_);
    pokaz();
}

void ScrollBar::krokWGore() {
    y_ -= krok_;
    kciuk_->ustawPozycje(x_, y_);
    pokaz();
}
