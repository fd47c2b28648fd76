// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/ResultsWindow.hpp"

#include "core/FatalError.hpp"
#include "core/ProgramContext.hpp"
#include "core/StatisticsFile.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/windows/Application.hpp"
#include "widgets/Buttons.hpp"
#include "windows/ProgramWindows.hpp"

#include <exception>

namespace {

const platform::Font kFont{.family = "Arial Black", .height = 19, .bold = true, .color = platform::kBlack};

void setUpLabel(platform::Label& l, const char* name, const char* text, int left, int top) {
    l.name = name;
    l.setTransparent(true);
    l.setFont(kFont);
    l.setCaption(text);
    l.setPosition(left, top);
}

// Value labels grow to the left: their right edge stays where the layout puts it.
void setUpValue(platform::Label& l, const char* name, int right, int top) {
    l.name = name;
    l.setTransparent(true);
    l.setFont(kFont);
    l.setAlignment(platform::TextAlign::Right);
    l.setCaption("0");
    l.setPosition(right - l.width(), top);
}

const char* const kFileB = "Data\\Intf\\Spec\\mStatsB.xji";
const char* const kFileM = "Data\\Intf\\Spec\\mStatsM.xji";
const char* const kFileG = "Data\\Intf\\Spec\\mStatsG.xji";

} // namespace

ResultsWindow::ResultsWindow(ProgramContext& context) : Form("Koniec gry"), context_(context) {
    name = "fmKoniecGry";
    setSize(600, 450);
    A_Stop.name = "A_Stop";
    A_Stop.onExecute = [this] { setModalResult(kResultStop); };
    A_PlayAgain.name = "A_OdNowa";
    A_PlayAgain.onExecute = [this] { setModalResult(kResultPlayAgain); };

    setUpLabel(lbTime, "lbCzas", "Czas gry:", 88, 177);
    setUpLabel(lbCorrect, "lbDobre", "Poprawne rozwiązania:", 88, 206);
    setUpLabel(lbWrong, "lbZle", "Błędne rozwiązania:", 88, 237);
    setUpLabel(lbHints, "lbPodpowiedzi", "Liczba podpowiedzi:", 88, 270);
    setUpValue(vL_Time, "vL_Czas", 358, 177);
    setUpValue(vL_Correct, "vL_Dobre", 422, 206);
    setUpValue(vL_Wrong, "vL_Zle", 422, 237);
    setUpValue(vL_Hints, "vL_Podpowiedzi", 422, 270);
    vL_Note.name = "vL_Uwaga";
    vL_Note.setAutoSize(false);
    vL_Note.setBounds(60, 296, 480, 42);
    vL_Note.setAlignment(platform::TextAlign::Center);
    vL_Note.setWordWrap(true);
    vL_Note.setTransparent(true);
    vL_Note.setFont(
        {.family = "Arial", .height = 11, .bold = true, .color = platform::rgb(0xB0, 0x00, 0x00)});
    vL_Note.hide();

    try {
        // Read once here so a missing picture stops the window now; the one shown is read on showing.
        for (const char* file : {kFileB, kFileM, kFileG})
            loadJpeg(background_, file);
        background_ = platform::Bitmap();
        backgroundFile_ = kFileM;
        startButton_ = std::make_unique<MenuButton>(*this, "start", canvas(), background_.canvas(), 235, 340,
                                                    &A_PlayAgain);
        stopButton_ =
            std::make_unique<MenuButton>(*this, "stop", canvas(), background_.canvas(), 325, 340, &A_Stop);
        // Named after their captions, so that scripts and tests can find them.
        startButton_->name = "graj";
        stopButton_->name = "koniec";
    } catch (const std::exception&) {
        startButton_.reset();
        throw FatalError(1);
    }
    setRoundRegion({5, 5, 600, 450}, 50, 50);
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::showEvent() {
    // Centred on the main window (the whole screen when there is none yet).
    platform::Rect parentArea{0, 0, platform::app().screenSize().width, platform::app().screenSize().height};
    if (platform::Form* mainForm = platform::app().mainForm()) parentArea = mainForm->bounds();
    setPosition(parentArea.left + (parentArea.width() - width()) / 2,
                parentArea.top + (parentArea.height() - height()) / 2);

    if (context_.statistics) {
        vL_Time.setCaption(context_.statistics->timeText());
        vL_Correct.setCaption(context_.statistics->correct());
        vL_Wrong.setCaption(context_.statistics->wrong());
        vL_Hints.setCaption(context_.statistics->hints());
        vL_Note.setCaption(context_.statistics->message());
        vL_Note.setVisible(!context_.statistics->message().empty());
        switch (context_.statistics->rating()) {
        case 1:
            backgroundFile_ = kFileB;
            break;
        case 2:
            backgroundFile_ = kFileM;
            break;
        case 4:
            backgroundFile_ = kFileG;
            break;
        default:
            break;
        }
    }
    // A picture gone since start-up leaves the window black rather than not shown.
    try {
        loadJpeg(background_, backgroundFile_);
    } catch (const std::exception&) {
        background_ = platform::Bitmap(width(), height());
    }
    invalidate();
}

void ResultsWindow::hideEvent() {
    background_ = platform::Bitmap();
}

void ResultsWindow::paintEvent() {
    canvas().setCopyMode(platform::CopyMode::SrcCopy);
    canvas().draw(0, 0, background_);
}

void ResultsWindow::keyPressEvent(int charCode) {
    if (charCode == 27) A_Stop.execute();
}

void ResultsWindow::mouseDownEvent(platform::MouseButton button, platform::ShiftState, int, int) {
    if (button == platform::MouseButton::Left) beginCaptionDrag();
}
