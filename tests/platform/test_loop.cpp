// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The event loop in virtual time: timers, blocking calls, modal windows, closing.
#include "platform/loop/Clock.hpp"
#include "platform/loop/Timer.hpp"
#include "platform/windows/Application.hpp"
#include "platform/windows/Control.hpp"
#include "platform/windows/Form.hpp"
#include "platform/windows/ImageControl.hpp"
#include "tests/support/TestDriver.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace platform;
using platform::testing::Driver;

namespace {

// A form that can be closed with Esc, like every window of the program.
class EscForm : public Form {
public:
    using Form::Form;

protected:
    void keyPressEvent(int code) override {
        if (code == 27) close();
    }
};

} // namespace

TEST(Timers, FireEveryIntervalOfVirtualTime) {
    std::vector<std::int64_t> fired;
    Driver d([&] {
        EscForm main("Main", Rect::fromSize(0, 0, 200, 100));
        Timer t(100, true);
        t.onTimer = [&] { fired.push_back(monotonicMs()); };
        main.show();
        app().run();
    });
    d.wait(450);
    EXPECT_EQ(fired, (std::vector<std::int64_t>{100, 200, 300, 400}));
    EXPECT_EQ(d.now(), 450);
    d.wait(50);
    EXPECT_EQ(fired.size(), 5u);
}

TEST(Timers, DoNotCatchUpAfterABlockingSleep) {
    std::vector<std::int64_t> fired;
    Driver d([&] {
        EscForm main("Main", Rect::fromSize(0, 0, 200, 100));
        Timer t(100, true);
        t.onTimer = [&] {
            fired.push_back(monotonicMs());
            if (fired.size() == 1) app().sleep(550); // blocks until 650: the ticks at 200-600 are lost
        };
        main.show();
        app().run();
    });
    d.wait(1000);
    EXPECT_EQ(fired, (std::vector<std::int64_t>{100, 650, 750, 850, 950}));
}

TEST(Timers, DisabledOrZeroIntervalTimersStayQuietAndTheLoopReportsIdle) {
    int n = 0;
    Driver d([&] {
        EscForm main("Main", Rect::fromSize(0, 0, 200, 100));
        Timer zero(0, true), off(10, false);
        zero.onTimer = off.onTimer = [&] { ++n; };
        main.show();
        app().run();
    });
    d.wait(5000);
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(d.logged("timer-idle"));
}

TEST(Timers, ATimerMayBeDestroyedInsideItsOwnHandler) {
    int fired = 0;
    int otherFired = 0;
    Driver d([&] {
        EscForm main("Main", Rect::fromSize(0, 0, 200, 100));
        auto t = std::make_unique<Timer>(100, true);
        Timer other(100, true); // due at the same moment, fires after the destroyed one
        t->onTimer = [&] {
            ++fired;
            t.reset();
        };
        other.onTimer = [&] { ++otherFired; };
        main.show();
        app().run();
    });
    d.wait(350);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(otherFired, 3);
}

TEST(Timers, RestartingResetsTheCountdown) {
    std::vector<std::int64_t> fired;
    Timer* timer = nullptr;
    Driver d([&] {
        EscForm main("Main", Rect::fromSize(0, 0, 200, 100));
        Timer t(1000, true);
        timer = &t;
        t.onTimer = [&] { fired.push_back(monotonicMs()); };
        main.show();
        app().run();
    });
    d.wait(700);
    timer->stop();
    timer->start(); // counts 1000 ms from 700
    d.wait(1500);
    EXPECT_EQ(fired, (std::vector<std::int64_t>{1700}));
}

namespace {

// A small modal window with an "again" (1) and a "stop" (2) area, like the results screen.
class ResultsForm : public EscForm {
public:
    ResultsForm() : EscForm("Results", Rect::fromSize(300, 200, 200, 100)), again(*this), stop(*this) {
        again.setBounds(10, 10, 50, 50);
        again.onClick = [this] { setModalResult(1); };
        stop.setBounds(100, 10, 50, 50);
        stop.onClick = [this] { setModalResult(2); };
    }
    ImageControl again, stop;
};

// A game whose one-shot end timer shows the results modally; "again" replaces the game, which destroys
// that timer while its handler is still running.
struct Game {
    explicit Game(int n, ResultsForm& results, std::unique_ptr<Game>& slot, std::vector<int>& log)
        : number(n), endTimer(200, true) {
        endTimer.onTimer = [this, n, &results, &slot, &log] {
            endTimer.stop();
            log.push_back(n);
            const int r = results.showModal();
            log.push_back(100 + r);
            if (r == 1) slot = std::make_unique<Game>(n + 1, results, slot, log); // destroys *this
        };
    }
    int number;
    Timer endTimer;
};

} // namespace

TEST(ModalWindows, AModalOpenedFromATimerThatTheResultDestroys) {
    std::vector<int> log;
    Driver d([&] {
        EscForm main("Main", Rect::fromSize(0, 0, 1024, 768));
        ResultsForm results;
        std::unique_ptr<Game> game;
        main.show();
        game = std::make_unique<Game>(1, results, game, log);
        app().run();
    });
    d.wait(200);
    EXPECT_TRUE(d.logged("form-shown Results"));
    EXPECT_EQ(log, (std::vector<int>{1}));
    d.wait(1000); // the modal loop keeps running; the stopped timer stays quiet
    EXPECT_EQ(log, (std::vector<int>{1}));
    d.click(320, 220); // "again"
    EXPECT_TRUE(d.logged("form-hidden Results"));
    EXPECT_EQ(log, (std::vector<int>{1, 101}));
    d.wait(200); // the new game's timer ends it in turn
    EXPECT_EQ(log, (std::vector<int>{1, 101, 2}));
    d.key(27); // Esc on the results: cancel
    EXPECT_EQ(log, (std::vector<int>{1, 101, 2, 102}));
    EXPECT_FALSE(d.finished());
}

TEST(ModalWindows, InputToTheFormBelowIsIgnoredUntilTheModalEnds) {
    int below = 0;
    int result = -1;
    Driver d([&] {
        EscForm main("Main", Rect::fromSize(0, 0, 1024, 768));
        ImageControl button(main);
        button.setBounds(10, 10, 50, 50);
        ResultsForm results;
        button.onClick = [&] {
            ++below;
            if (below == 1) result = results.showModal();
        };
        main.show();
        app().run();
    });
    d.click(20, 20);
    ASSERT_EQ(below, 1);
    EXPECT_EQ(d.application().modalForm(), d.form("Results"));
    EXPECT_EQ(d.application().activeForm(), d.form("Results"));
    d.click(20, 20); // below the modal window: ignored
    d.key('x');
    EXPECT_EQ(below, 1);
    EXPECT_EQ(result, -1);
    d.click(410, 220); // "stop"
    EXPECT_EQ(result, 2);
    EXPECT_EQ(d.application().activeForm(), d.form("Main"));
    d.click(20, 20);
    EXPECT_EQ(below, 2);
}

TEST(ModalWindows, ModalFormIsOnTopAndReturnsItsResult) {
    int result = -1;
    Driver d([&] {
        EscForm main("Main", Rect::fromSize(0, 0, 1024, 768));
        ResultsForm results;
        main.show();
        results.show(); // shown before, then made modal: still works
        main.show();    // main on top again
        result = results.showModal();
        app().run();
    });
    EXPECT_EQ(d.application().forms().back(), d.form("Results"));
    EXPECT_TRUE(d.form("Results")->modal());
    d.click(320, 220);
    EXPECT_EQ(result, 1);
    EXPECT_FALSE(d.form("Results")->visible());
}

TEST(Closing, ClosingTheMainFormEndsTheProgram) {
    bool closed = false;
    struct Main : EscForm {
        bool* flag;
        Main(bool* f) : EscForm("Main", Rect::fromSize(0, 0, 100, 100)), flag(f) {}
        void closeEvent() override { *flag = true; }
    };
    Driver d([&] {
        Main main(&closed);
        main.show();
        app().run();
    });
    EXPECT_FALSE(d.finished());
    d.key(27);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(d.finished());
    EXPECT_TRUE(d.error().empty());
}

TEST(Closing, TheDriverEndsAProgramStuckInAModalLoop) {
    int after = 0;
    {
        Driver d([&] {
            EscForm main("Main", Rect::fromSize(0, 0, 100, 100));
            ResultsForm results;
            main.show();
            results.showModal();
            ++after;
            results.showModal(); // the program is ending: returns at once
            ++after;
            app().run();
        });
        d.wait(100);
    }
    EXPECT_EQ(after, 2);
}

TEST(Posting, PostedWorkRunsOnTheLoop) {
    std::vector<int> order;
    Driver d([&] {
        EscForm main("Main", Rect::fromSize(0, 0, 100, 100));
        main.show();
        app().post([&] { order.push_back(1); });
        app().post([&] { order.push_back(2); });
        order.push_back(0);
        app().run();
    });
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
}
