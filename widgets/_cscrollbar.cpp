// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/_cscrollbar.hpp"

#include "app/_dllengine.hpp"
#include "gfx/Loadcorrectbitmap.hpp"
#include "platform/Application.hpp"

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

// ---- CScrollBut ----

// A failure anywhere leaves the members and the control to their destructors and lets the original
// exception through.
CScrollBut::CScrollBut(platform::Form& okno, const std::string& nazwa, Canvas& ekran, Canvas& tlo, int left,
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

CScrollBut::~CScrollBut() {
    gotowy_ = false;
}

void CScrollBut::przeliczGranice() {
    granice_ = Rect::fromSize(left(), top(), width(), height());
    lokalny_ = Rect{0, 0, width(), height()};
}

void CScrollBut::ustawPozycje(int left, int top) {
    setPosition(left >= 0 ? left : this->left(), top >= 0 ? top : this->top());
    przeliczGranice();
}

void CScrollBut::odrysuj() {
    przeliczGranice(); // the window may have moved the control without ustawPozycje
    Canvas& bufor = bufor_->canvas();
    bufor.setCopyMode(CopyMode::SrcCopy);
    bufor.copyRect(lokalny_, *tlo_, granice_);
    rysujZMaska(bufor, 0, 0, *maska_, *obraz_);
    ekran_->setCopyMode(CopyMode::SrcCopy);
    ekran_->copyRect(granice_, bufor, lokalny_);
}

void CScrollBut::windowProc(Message& m) {
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

// ---- CScrollBar ----

CScrollBar::CScrollBar(platform::Form& okno, int x, int y, Canvas& ekran, Canvas& tlo)
    : x_(x), y_(y), ekran_(&ekran) {
    // The thumb's click does nothing; the temporary action only lives through the construction.
    auto akcja = std::make_unique<platform::Action>([] {});
    kciuk_ = std::make_unique<CScrollBut>(okno, "scroll", ekran, tlo, x, y, akcja.get());
    kciuk_->onClick = [] {};
}

CScrollBar::~CScrollBar() {
    ekran_ = nullptr;
}

void CScrollBar::pokaz() {
    kciuk_->show();
}

void CScrollBar::ukryj() {
    kciuk_->hide();
}

void CScrollBar::ustawZakres(int x, int top, int bottom) {
    x_ = x;
    y_ = top;
    kciuk_->ustawPozycje(x_, y_);
    krok_ = (bottom - top) / kWierszy;
}

void CScrollBar::krokWDol() {
    y_ += krok_;
    kciuk_->ustawPozycje(x_, y_);
    pokaz();
}

void CScrollBar::krokWGore() {
    y_ -= krok_;
    kciuk_->ustawPozycje(x_, y_);
    pokaz();
}
