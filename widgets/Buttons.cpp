// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/Buttons.hpp"

#include "core/FatalError.hpp"
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

// Hover is for the window the user works in, not for one lying under a modal message.
bool obcyNajazd(const Message& m, const platform::Form& okno) {
    return m.kind == MessageKind::MouseEnter && platform::app().activeForm() != &okno;
}

} // namespace

// ---- MenuButton ----

MenuButton::MenuButton(platform::Form& okno, const std::string& nazwa, Canvas& ekran, Canvas& tlo, int left,
                       int top, platform::Action* akcja)
    : platform::ImageControl(okno), ekran_(&ekran), tlo_(&tlo) {
    try {
        aktywny_ = zasob(nazwa + "_A");
        normalny_ = zasob(nazwa + "_D");
        maska_ = zasob(nazwa + "_M");
        wcisniety_ = zasob(nazwa + "_");
        setBounds(left, top, maska_->width(), maska_->height());
        if (akcja) onClick = [akcja] { akcja->execute(); };
        bufor_ = std::make_unique<Bitmap>(width(), height(), ekran.bitmap().format());
        bufor_->palette() = ekran.bitmap().palette();
        przeliczGranice();
    } catch (...) {
        // Members and the control itself are released on the way out.
        throw FatalError(1);
    }
    gotowy_ = true;
}

MenuButton::~MenuButton() {
    // No drawing from here on: the control is going away.
    gotowy_ = false;
}

void MenuButton::przeliczGranice() {
    granice_ = Rect::fromSize(left(), top(), width(), height());
    lokalny_ = Rect{0, 0, width(), height()};
}

void MenuButton::ustawPozycje(int left, int top) {
    setPosition(left >= 0 ? left : this->left(), top >= 0 ? top : this->top());
    przeliczGranice();
}

void MenuButton::rysujNa(Canvas& kanwa, int left, int top) {
    if (left == -999 && top == -999) {
        left = this->left();
        top = this->top();
    }
    rysujZMaska(kanwa, left, top, *maska_, *normalny_);
}

void MenuButton::komponuj(const Bitmap& obraz) {
    przeliczGranice(); // the window may have moved the control without ustawPozycje
    Canvas& bufor = bufor_->canvas();
    bufor.setCopyMode(CopyMode::SrcCopy);
    bufor.copyRect(lokalny_, *tlo_, granice_);
    rysujZMaska(bufor, 0, 0, *maska_, obraz);
    ekran_->setCopyMode(CopyMode::SrcCopy);
    ekran_->copyRect(granice_, bufor, lokalny_);
}

void MenuButton::windowProc(Message& m) {
    if (obcyNajazd(m, form())) return;
    if (!gotowy_) return;
    if (visible()) {
        switch (m.kind) {
        case MessageKind::Paint:
        case MessageKind::MouseLeave:
            komponuj(*normalny_);
            break;
        case MessageKind::LButtonDown:
            komponuj(*wcisniety_);
            break;
        case MessageKind::LButtonUp:
        case MessageKind::MouseEnter:
            komponuj(*aktywny_);
            break;
        default:
            break;
        }
    }
    if (m.kind == MessageKind::VisibleChanged) {
        // Not passed on: the button shows or erases itself instead of having the window repaint.
        if (visible()) {
            komponuj(*normalny_);
        } else {
            przeliczGranice();
            ekran_->setCopyMode(CopyMode::SrcCopy);
            ekran_->copyRect(granice_, *tlo_, granice_);
        }
        return;
    }
    platform::ImageControl::windowProc(m);
}

// ---- GameButton ----

GameButton::GameButton(platform::Form& okno, const std::string& nazwa, Canvas& kanwa, int left, int top,
                       platform::Action* akcja)
    : kanwa_(&kanwa), okno_(&okno) {
    try {
        normalny_ = zasob(nazwa + "_D");
        aktywny_ = zasob(nazwa + "_A");
        maska_ = zasob(nazwa + "_M");
        wcisniety_ = zasob(nazwa + "_");
        biezacy_ = normalny_.get();
        kontrolka_ = std::make_unique<platform::ImageControl>(okno);
        // Named after its picture, so that scripts and tests click it by name.
        kontrolka_->name = nazwa;
        kontrolka_->setBounds(left, top, kSzerokosc, kWysokosc);
        if (akcja) kontrolka_->onClick = [akcja] { akcja->execute(); };
        poprzednia_ = kontrolka_->windowProcedure();
        kontrolka_->setWindowProcedure([this](Message& m) { procedura(m); });
    } catch (...) {
        throw FatalError(1);
    }
}

GameButton::~GameButton() {
    kontrolka_->setWindowProcedure(poprzednia_);
    kontrolka_->onClick = nullptr;
}

void GameButton::rysuj() {
    rysujZMaska(*kanwa_, kontrolka_->left(), kontrolka_->top(), *maska_, *biezacy_);
}

void GameButton::pokaz() {
    kontrolka_->show();
    rysuj();
}

void GameButton::ukryj() {
    kontrolka_->hide();
}

void GameButton::procedura(Message& m) {
    if (obcyNajazd(m, *okno_)) return;
    // A quick second click must not become a double click: its press is dropped, so its release
    // does not click either.
    if (m.kind == MessageKind::LButtonDblClk) return;
    if (kontrolka_->visible()) {
        const Bitmap* nowy = nullptr;
        switch (m.kind) {
        case MessageKind::LButtonUp:
        case MessageKind::MouseEnter:
            nowy = aktywny_.get();
            break;
        case MessageKind::Paint:
        case MessageKind::MouseLeave:
            nowy = normalny_.get();
            break;
        case MessageKind::LButtonDown:
            nowy = wcisniety_.get();
            break;
        default:
            break;
        }
        if (nowy) {
            biezacy_ = nowy;
            rysuj();
            const Rect r = kontrolka_->bounds();
            Canvas& ekran = okno_->canvas();
            ekran.setCopyMode(CopyMode::SrcCopy);
            ekran.copyRect(r, *kanwa_, r);
        }
    }
    // A copy: the saved procedure must survive a handler that destroys this button.
    auto dalej = poprzednia_;
    dalej(m);
}
