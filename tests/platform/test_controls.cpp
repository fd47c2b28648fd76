// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// Controls on forms: clicks, capture, double clicks, hover, message procedures, painting, edits.
#include "platform/backends/HeadlessBackend.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Control.hpp"
#include "platform/windows/Dialogs.hpp"
#include "platform/windows/Edit.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "platform/windows/Label.hpp"
#include "tests/support/TestDriver.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;
using platform::testing::Driver;

namespace {

// Records what reached a control, in order.
struct Recorder {
    std::vector<std::string> events;
    void attach(Control& c, const std::string& name) {
        c.name = name;
        c.onClick = [this, name] { events.push_back(name + " click"); };
        c.onDblClick = [this, name] { events.push_back(name + " dblclick"); };
        c.onMouseDown = [this, name](MouseButton, ShiftState s, int x, int y) {
            events.push_back(name + " down " + std::to_string(x) + "," + std::to_string(y) +
                             ((s & kDouble) ? " double" : ""));
        };
        c.onMouseUp = [this, name](MouseButton, ShiftState, int x, int y) {
            events.push_back(name + " up " + std::to_string(x) + "," + std::to_string(y));
        };
        c.onMouseMove = [this, name](MouseButton, ShiftState s, int x, int y) {
            events.push_back(name + " move " + std::to_string(x) + "," + std::to_string(y) +
                             ((s & kLeftButton) ? " held" : ""));
        };
        c.onMouseEnter = [this, name] { events.push_back(name + " enter"); };
        c.onMouseLeave = [this, name] { events.push_back(name + " leave"); };
    }
    std::vector<std::string> take() { return std::exchange(events, {}); }
};

using Lines = std::vector<std::string>;

} // namespace

TEST(Clicks, AClickIsAPressAndAReleaseOnTheSameControl) {
    Recorder r;
    Driver d([&] {
        Form main("Main", Rect::fromSize(0, 0, 400, 300));
        ImageControl a(main), b(main);
        a.setBounds(10, 10, 50, 50);
        b.setBounds(100, 10, 50, 50);
        r.attach(a, "a");
        r.attach(b, "b");
        main.show();
        app().run();
    });
    d.move(20, 20);
    r.take();
    d.press(20, 20);
    d.release(30, 40);
    EXPECT_EQ(r.take(), (Lines{"a down 10,10", "a move 20,30 held", "a click", "a up 20,30"}));

    // Pressed on a, released on b: the release goes to a (it has the mouse) and nobody clicks.
    d.press(20, 20);
    d.release(110, 20);
    EXPECT_EQ(r.take(), (Lines{"a move 10,10", "a down 10,10", "a leave", "a move 100,10 held", "a up 100,10",
                               "b enter"}));
}

TEST(Clicks, CaptureSendsMovesAndTheReleaseToThePressedControlOutsideIt) {
    Recorder r;
    Driver d([&] {
        Form main("Main", Rect::fromSize(0, 0, 400, 300));
        ImageControl a(main), b(main);
        a.setBounds(10, 10, 50, 50);
        b.setBounds(100, 10, 50, 50);
        r.attach(a, "a");
        r.attach(b, "b");
        main.show();
        app().run();
    });
    d.press(20, 20);
    r.take();
    d.move(120, 20); // over b
    d.move(5, 300);  // off the form
    d.release(5, 300);
    const Lines got = r.take();
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[0], "a leave");
    EXPECT_EQ(got[1], "a move 110,10 held");
    EXPECT_NE(std::find(got.begin(), got.end(), "a move -5,290 held"), got.end());
    EXPECT_NE(std::find(got.begin(), got.end(), "a up -5,290"), got.end());
    for (const auto& line : got) {
        EXPECT_EQ(line.find("b "), std::string::npos);
        EXPECT_EQ(line.find("click"), std::string::npos);
    }
}

TEST(Clicks, DoubleClickOnAControlThatAcceptsThem) {
    Recorder r;
    Driver d([&] {
        Form main("Main", Rect::fromSize(0, 0, 400, 300));
        ImageControl a(main);
        a.setBounds(10, 10, 50, 50);
        r.attach(a, "a");
        main.show();
        app().run();
    });
    d.move(20, 20);
    r.take();
    d.dblClick(20, 20);
    // One click, then the second press is the double click: no click of its own.
    EXPECT_EQ(r.take(), (Lines{"a down 10,10", "a click", "a up 10,10", "a dblclick", "a down 10,10 double",
                               "a up 10,10"}));
}

TEST(Clicks, WithoutDoubleClicksTheSecondPressIsAnOrdinaryPress) {
    Recorder r;
    Driver d([&] {
        Form main("Main", Rect::fromSize(0, 0, 400, 300));
        ImageControl a(main);
        a.setBounds(10, 10, 50, 50);
        a.acceptsDoubleClicks = false;
        r.attach(a, "a");
        main.show();
        app().run();
    });
    d.move(20, 20);
    r.take();
    d.dblClick(20, 20);
    EXPECT_EQ(r.take(),
              (Lines{"a down 10,10", "a click", "a up 10,10", "a down 10,10", "a click", "a up 10,10"}));
}

TEST(MessageProcedures, AHookSeesMessagesFirstAndCanDropDoubleClicks) {
    Recorder r;
    std::vector<std::string> seen;
    ImageControl* control = nullptr;
    Control::Procedure saved;
    Driver d([&] {
        Form main("Main", Rect::fromSize(0, 0, 400, 300));
        ImageControl a(main);
        control = &a;
        a.setBounds(10, 10, 50, 50);
        r.attach(a, "a");
        // The way a picture button takes over its hit area: save, install, forward.
        saved = a.windowProcedure();
        a.setWindowProcedure([&](Message& m) {
            if (m.kind != MessageKind::Paint) seen.push_back(messageName(m.kind));
            if (m.kind == MessageKind::LButtonDblClk) return;
            if (m.kind == MessageKind::LButtonUp) r.events.push_back("hook sees up");
            saved(m);
        });
        main.show();
        app().run();
    });
    d.move(20, 20);
    d.dblClick(20, 20);
    EXPECT_EQ(seen,
              (Lines{"MouseEnter", "MouseMove", "LButtonDown", "LButtonUp", "LButtonDblClk", "LButtonUp"}));
    // The dropped second press leaves the second release without a click.
    EXPECT_EQ(r.take(), (Lines{"a enter", "a move 10,10", "a down 10,10", "hook sees up", "a click",
                               "a up 10,10", "hook sees up", "a up 10,10"}));

    control->setWindowProcedure(saved);
    seen.clear();
    d.click(20, 20);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(r.take(), (Lines{"a down 10,10", "a click", "a up 10,10"})); // straight to the default handling
}

TEST(MessageProcedures, VisibilityChangesArriveAsMessagesAndHiddenControlsAreNotHit) {
    std::vector<std::string> seen;
    int clicks = 0, formDowns = 0;
    ImageControl* control = nullptr;
    struct Main : Form {
        int* downs;
        Main(int* d) : Form("Main", Rect::fromSize(0, 0, 400, 300)), downs(d) {}
        void mouseDownEvent(MouseButton, ShiftState, int, int) override { ++*downs; }
    };
    Driver d([&] {
        Main main(&formDowns);
        ImageControl a(main);
        control = &a;
        a.setBounds(10, 10, 50, 50);
        a.onClick = [&] { ++clicks; };
        auto base = a.windowProcedure();
        a.setWindowProcedure([&, base](Message& m) {
            if (m.kind == MessageKind::VisibleChanged) seen.push_back(a.visible() ? "shown" : "hidden");
            base(m);
        });
        main.show();
        app().run();
    });
    control->hide();
    d.click(20, 20);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(formDowns, 1); // the press fell through to the form
    control->show();
    d.click(20, 20);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seen, (Lines{"hidden", "shown"}));
}

TEST(Hover, EnterAndLeaveReachAControlOnlyWhileItsFormIsActive) {
    Recorder r;
    Driver d([&] {
        Form main("Main", Rect::fromSize(0, 0, 400, 300));
        Form other("Other", Rect::fromSize(500, 0, 200, 200));
        ImageControl a(main);
        a.setBounds(10, 10, 50, 50);
        r.attach(a, "a");
        a.onMouseMove = nullptr;
        main.show();
        other.show(); // the active form now
        app().run();
    });
    d.move(20, 20);
    EXPECT_TRUE(r.take().empty());
    EXPECT_EQ(d.application().activeForm(), d.form("Other"));
    d.click(600, 100); // still other
    d.move(20, 20);
    EXPECT_TRUE(r.take().empty());
    d.press(300, 200); // a press on main activates it
    d.release(300, 200);
    d.move(20, 20);
    EXPECT_EQ(r.take(), (Lines{"a enter"}));
    d.move(300, 200);
    EXPECT_EQ(r.take(), (Lines{"a leave"}));
    d.move(20, 20);
    EXPECT_EQ(r.take(), (Lines{"a enter"}));
    d.click(600, 100); // other becomes active: the hovered control is left
    EXPECT_EQ(r.take(), (Lines{"a leave"}));
}

namespace {

// Remembers each area it was asked to paint, and paints white.
class PaintProbe : public Form {
public:
    PaintProbe(Rect bounds, std::vector<std::string>& log) : Form("Probe", bounds), log_(log) {}
    std::vector<Rect> areas;

protected:
    void paintEvent() override {
        areas.push_back(paintArea());
        log_.push_back("form");
        canvas().setBrushColor(kWhite);
        canvas().fillRect(clientRect());
    }

private:
    std::vector<std::string>& log_;
};

// Paints itself in one colour and logs that it did.
class Swatch : public ImageControl {
public:
    Swatch(Form& f, std::string n, Color c, std::vector<std::string>& log)
        : ImageControl(f), colour(c), log_(log) {
        name = std::move(n);
    }
    Color colour;

protected:
    void paint(Canvas& canvas, const Rect&) override {
        log_.push_back(name);
        canvas.setBrushColor(colour);
        canvas.fillRect(bounds());
    }

private:
    std::vector<std::string>& log_;
};

} // namespace

TEST(Painting, TheFormPaintsFirstThenItsControlsInZOrder) {
    std::vector<std::string> log;
    PaintProbe* form = nullptr;
    Swatch* lower = nullptr;
    Driver d([&] {
        PaintProbe main(Rect::fromSize(0, 0, 300, 200), log);
        form = &main;
        Swatch a(main, "a", kRed, log), b(main, "b", kLime, log);
        lower = &a;
        a.setBounds(10, 10, 40, 40);
        b.setBounds(30, 30, 40, 40);
        main.show();
        app().run();
    });
    EXPECT_EQ(log, (Lines{"form", "a", "b"}));
    EXPECT_EQ(d.pixel(35, 35), kLime); // b is painted over a
    EXPECT_EQ(d.pixel(15, 15), kRed);
    EXPECT_EQ(d.pixel(100, 100), kWhite);
    log.clear();
    lower->bringToFront();
    d.wait(1);
    EXPECT_EQ(log, (Lines{"form", "b", "a"}));
    EXPECT_EQ(d.pixel(35, 35), kRed);
    (void)form;
}

TEST(Painting, MovingAControlRepaintsExactlyItsOldAndNewRectangles) {
    std::vector<std::string> log;
    PaintProbe* form = nullptr;
    Swatch* swatch = nullptr;
    Driver d([&] {
        PaintProbe main(Rect::fromSize(100, 50, 300, 200), log);
        form = &main;
        Swatch a(main, "a", kRed, log);
        swatch = &a;
        a.setBounds(10, 10, 20, 20);
        main.show();
        app().run();
    });
    form->areas.clear();
    swatch->setPosition(200, 100);
    d.wait(1);
    EXPECT_EQ(form->areas, (std::vector<Rect>{{10, 10, 30, 30}, {200, 100, 220, 120}}));
    // Only those two rectangles went to the screen, at the form's position.
    EXPECT_EQ(d.backend().lastPresented(), (std::vector<Rect>{{110, 60, 130, 80}, {300, 150, 320, 170}}));
    EXPECT_EQ(d.pixel(115, 65), kWhite);
    EXPECT_EQ(d.pixel(305, 155), kRed);

    // A one-pixel step: old and new overlap and are painted as one rectangle.
    form->areas.clear();
    swatch->setPosition(200, 101);
    d.wait(1);
    EXPECT_EQ(form->areas, (std::vector<Rect>{{200, 100, 220, 121}}));
}

TEST(Painting, DrawingOnTheCanvasOutsidePaintReachesTheScreen) {
    Form* form = nullptr;
    Driver d([&] {
        Form main("Main", Rect::fromSize(10, 10, 100, 100));
        form = &main;
        Timer t(100, true);
        t.onTimer = [&] {
            t.stop();
            main.canvas().setBrushColor(kYellow);
            main.canvas().fillRect({0, 0, 10, 10});
            app().sleep(500); // what was drawn is on the screen while the program blocks
        };
        main.show();
        app().run();
    });
    EXPECT_EQ(d.pixel(12, 12), kBlack); // a form that paints nothing keeps a black store
    d.wait(100);
    EXPECT_EQ(d.pixel(12, 12), kYellow);
    EXPECT_EQ(d.pixel(25, 25), kBlack);
    EXPECT_EQ(d.now(), 600);
    (void)form;
}

TEST(Painting, ARoundedRegionHidesAndUnhitsTheCorners) {
    std::vector<std::string> log;
    int downs = 0;
    struct Round : PaintProbe {
        int* downs;
        Round(std::vector<std::string>& l, int* d)
            : PaintProbe(Rect::fromSize(0, 0, 200, 100), l), downs(d) {}
        void mouseDownEvent(MouseButton, ShiftState, int, int) override { ++*downs; }
    };
    Driver d([&] {
        Round main(log, &downs);
        main.setRoundRegion({5, 5, 200, 100}, 50, 50);
        main.show();
        app().run();
    });
    EXPECT_EQ(d.pixel(2, 50), kBlack);   // left of the region
    EXPECT_EQ(d.pixel(6, 6), kBlack);    // cut corner
    EXPECT_EQ(d.pixel(198, 98), kBlack); // cut corner
    EXPECT_EQ(d.pixel(6, 50), kWhite);
    EXPECT_EQ(d.pixel(100, 5), kWhite);
    EXPECT_EQ(d.pixel(30, 6), kWhite); // past the corner ellipse along the top edge
    d.click(6, 6);
    EXPECT_EQ(downs, 0);
    d.click(100, 50);
    EXPECT_EQ(downs, 1);
}

TEST(Forms, CaptionDragMovesTheFormUntilRelease) {
    int ups = 0;
    struct Draggable : Form {
        int* ups;
        Draggable(int* u) : Form("Drag", Rect::fromSize(100, 100, 200, 100)), ups(u) {}
        void mouseDownEvent(MouseButton b, ShiftState, int, int) override {
            if (b == MouseButton::Left) beginCaptionDrag();
        }
        void mouseUpEvent(MouseButton, ShiftState, int, int) override { ++*ups; }
    };
    Driver d([&] {
        Form main("Main", Rect::fromSize(0, 0, 1024, 768));
        Draggable drag(&ups);
        main.show();
        drag.show();
        app().run();
    });
    d.drag(150, 150, 250, 200);
    EXPECT_EQ(d.form("Drag")->bounds(), Rect::fromSize(200, 150, 200, 100));
    EXPECT_EQ(ups, 0);
    d.move(400, 400); // released: no longer follows
    EXPECT_EQ(d.form("Drag")->bounds(), Rect::fromSize(200, 150, 200, 100));
    EXPECT_EQ(d.pixel(120, 120), kBlack);
}

TEST(Forms, CursorsFollowTheControlThenTheFormUnderThePointer) {
    Driver d([&] {
        Form main("Main", Rect::fromSize(0, 0, 400, 300));
        main.setCursor(kCursorHelp);
        ImageControl a(main);
        a.setBounds(10, 10, 50, 50);
        a.setCursor(kCursorHand);
        main.show();
        app().run();
    });
    d.move(20, 20);
    EXPECT_EQ(d.backend().cursor(), kCursorHand);
    d.move(200, 200);
    EXPECT_EQ(d.backend().cursor(), kCursorHelp);
    d.move(600, 600);
    EXPECT_EQ(d.backend().cursor(), kCursorArrow);
    ASSERT_NE(cursorImage(kCursorHelp), nullptr);
    EXPECT_EQ(cursorImage(kCursorHelp)->image.size(), (Size{32, 32}));
}

TEST(Forms, RegisteredColourCursorKeepsItsTransparency) {
    Bitmap sight(32, 32);
    sight.fill(0);
    sight.setPixel(16, 16, kRed);
    registerCursor(5, sight, {16, 16}, kBlack);
    const CursorImage* c = cursorImage(5);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->hotSpot, (Point{16, 16}));
    EXPECT_EQ(c->image.scanline(16)[16 * 4 + 2], 255); // red
    EXPECT_EQ(c->image.scanline(16)[16 * 4 + 3], 255); // opaque
    EXPECT_EQ(c->image.scanline(0)[3], 0);             // black is see-through
}

TEST(Dialogs, HeadlessMessageBoxesAreLoggedAndAnsweredFromTheScript) {
    std::vector<MessageResult> answers;
    Form* main = nullptr;
    Driver d([&] {
        Form m("Main", Rect::fromSize(0, 0, 100, 100));
        main = &m;
        ImageControl a(m);
        a.setBounds(0, 0, 100, 100);
        a.onClick = [&] {
            answers.push_back(messageBox(&m, "Zapisać?\nTak czy nie", "Pytanie", MessageIcon::Question,
                                         MessageButtons::YesNo));
        };
        m.show();
        app().run();
    });
    d.click(50, 50);
    d.answer(7);
    d.click(50, 50);
    d.answer(1); // not a button of a yes/no box: the default answer
    d.click(50, 50);
    EXPECT_EQ(answers,
              (std::vector<MessageResult>{MessageResult::Yes, MessageResult::No, MessageResult::Yes}));
    EXPECT_TRUE(d.logged("message-box Pytanie | Zapisać?\\nTak czy nie"));
    (void)main;
}

TEST(Edits, TypingPolishLettersAndEditingKeysWorkOnWholeCharacters) {
    Edit* edit = nullptr;
    int changes = 0;
    Driver d([&] {
        Form main("Main", Rect::fromSize(0, 0, 400, 300));
        Edit e(main);
        edit = &e;
        e.setBounds(10, 10, 220, 26);
        e.onChange = [&] { ++changes; };
        main.show();
        app().run();
    });
    d.text("Żółć");
    EXPECT_EQ(edit->text(), ""); // not focused yet
    d.click(20, 20);
    EXPECT_TRUE(edit->focused());
    d.text("Żółć");
    EXPECT_EQ(edit->text(), "Żółć");
    EXPECT_EQ(edit->length(), 4);
    EXPECT_EQ(edit->caretPos(), 4);
    d.key(Key::Left);
    d.key(Key::Left);
    d.key(8); // Backspace takes "ó"
    EXPECT_EQ(edit->text(), "Żłć");
    EXPECT_EQ(edit->caretPos(), 1);
    d.key(Key::Delete); // takes "ł"
    EXPECT_EQ(edit->text(), "Żć");
    d.key(Key::Home);
    d.text("a");
    EXPECT_EQ(edit->text(), "aŻć");
    d.key(Key::End);
    EXPECT_EQ(edit->caretPos(), 3);
    d.key(Key::Right); // at the end: stays
    d.key(Key::Delete);
    EXPECT_EQ(edit->text(), "aŻć");
    d.key('x');
    EXPECT_EQ(edit->text(), "aŻćx");
    EXPECT_EQ(changes, 5);
    edit->setCaretPos(99);
    EXPECT_EQ(edit->caretPos(), 4);
    edit->setCaretPos(2);
    d.key(8);
    EXPECT_EQ(edit->text(), "aćx");
    // White inside, the caret after the text while focused.
    EXPECT_EQ(d.pixel(225, 30), kWhite);
}

TEST(Edits, MaxLengthCountsCharacters) {
    Edit* edit = nullptr;
    Driver d([&] {
        Form main("Main", Rect::fromSize(0, 0, 400, 300));
        Edit e(main);
        edit = &e;
        e.maxLength = 3;
        e.setBounds(10, 10, 220, 26);
        e.setFocus();
        main.show();
        app().run();
    });
    d.text("ĄęŚź");
    EXPECT_EQ(edit->text(), "ĄęŚ");
}

TEST(Labels, AutoSizeFollowsTheTextAndRightAlignedLabelsKeepTheirRightEdge) {
    Label* left = nullptr;
    Label* right = nullptr;
    Driver d([&] {
        Form main("Main", Rect::fromSize(0, 0, 600, 300));
        Label a(main), b(main);
        left = &a, right = &b;
        Font f;
        f.family = "Arial Black";
        f.height = 19;
        f.bold = true;
        a.setFont(f);
        b.setFont(f);
        a.setPosition(88, 177);
        a.setCaption("Czas gry:");
        b.setAlignment(TextAlign::Right);
        b.setBounds(400, 206, 22, 20);
        b.setCaption("12");
        main.show();
        app().run();
    });
    EXPECT_GT(left->width(), 40);
    EXPECT_EQ(left->left(), 88);
    EXPECT_EQ(right->bounds().right, 422);
    const int w2 = right->width();
    right->setCaption("1234");
    EXPECT_EQ(right->bounds().right, 422);
    EXPECT_GT(right->width(), w2);
}

TEST(Labels, OpaqueLabelsFillTheirBackgroundTransparentOnesDoNot) {
    Label* label = nullptr;
    Driver d([&] {
        PaintProbe* dummy = nullptr;
        (void)dummy;
        std::vector<std::string> log;
        PaintProbe main(Rect::fromSize(0, 0, 300, 200), log);
        Label l(main, "Ala");
        label = &l;
        l.setAutoSize(false);
        l.setBounds(10, 10, 100, 30);
        l.setColor(rgb(0, 0, 255));
        main.show();
        app().run();
    });
    EXPECT_EQ(d.pixel(100, 35), rgb(0, 0, 255));
    label->setTransparent(true);
    d.wait(1);
    EXPECT_EQ(d.pixel(100, 35), kWhite);
    EXPECT_EQ(label->text(), "Ala");
}
