// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/MainMenu.hpp"

#include "core/FatalError.hpp"
#include "core/GameSettings.hpp"
#include "core/ProgramContext.hpp"
#include "core/ScreenLayout.hpp"
#include "pictures/AlphaPicture.hpp"
#include "pictures/PictureFiles.hpp"
#include "platform/graphics/Canvas.hpp"
#include "platform/system/Fs.hpp"
#include "platform/windows/Application.hpp"
#include "recorder/Recordings.hpp"
#include "report/Report.hpp"
#include "widgets/Buttons.hpp"
#include "widgets/Caption.hpp"
#include "widgets/ScrollBar.hpp"
#include "widgets/TextButton.hpp"
#include "widgets/ToggleButton.hpp"
#include "widgets/TwoStatePicture.hpp"
#include "windows/AboutWindow.hpp"
#include "windows/AdultGate.hpp"
#include "windows/ChildChooser.hpp"
#include "windows/MessageWindow.hpp"
#include "windows/ProgramWindows.hpp"
#include "windows/WordBrowser.hpp"
#include "words/Catalogue.hpp"

#include <exception>
#include <string>
#include <utility>

namespace {

constexpr const char* kSpec = "Data\\Intf\\Spec\\";

// Indexes of the check buttons.
enum : int { kMalo, kSrednio, kDuzo, kSz, kZz, kCz, kDzz, kNaglos, kSrodglos, kWyglos };

constexpr std::uint16_t kSounds[4] = {kSoundSz, kSoundZz, kSoundCz, kSoundDzz};

struct Band {
    int from, toY;
};
// Bands of the tab strip per tab, mode 2 and mode 4.
constexpr Band kBands2[5] = {{6, 105}, {110, 190}, {200, 270}, {280, 345}, {360, 435}};
constexpr Band kBands4[5] = {{12, 140}, {150, 250}, {260, 350}, {360, 450}, {460, 570}};

} // namespace

MainMenu::MainMenu(ProgramWindows& windows)
    : Form("Wesołe Wirowanki Cz.I Demo"), windows_(windows), context_(windows.context()) {
    name = "FormMain";
    const platform::Size screen = platform::app().screenSize();
    setBounds(0, 0, screen.width, screen.height);
    platform::app().setTitle("Wirowanki Cz.I Demo");

    auto action = [](platform::Action& a, const char* actionName, auto handler) {
        a.name = actionName;
        a.onExecute = handler;
    };
    action(A_Stop, "A_Stop", [this] { close(); });
    action(A_Start, "A_Start", [this] { A_StartExecute(); });
    action(A_About, "A_Oprogramie", [this] {
        if (platform::Form* o = windows_.about()) o->showModal();
    });
    action(A_Rec_Rec, "A_Rec_Rec", [this] { A_Rec_RecExecute(); });
    action(A_Rec_Play, "A_Rec_Play", [this] { A_Rec_PlayExecute(); });
    action(MPStop, "MPStop", [this] { MPStopExecute(); });
    action(A_Malo, "A_Malo", [this] { A_LevelExecute(kQuantityMalo); });
    action(A_Srednio, "A_Srednio", [this] { A_LevelExecute(kQuantitySrednio); });
    action(A_Duzo, "A_Duzo", [this] { A_LevelExecute(kQuantityDuzo); });
    action(A_Naglos, "A_Naglos", [this] { A_PositionExecute(kPositionNaglos); });
    action(A_Srodglos, "A_Srodglos", [this] { A_PositionExecute(kPositionSrodglos); });
    action(A_Wyglos, "A_Wyglos", [this] { A_PositionExecute(kPositionWyglos); });
    action(A_S, "A_S", [this] { A_SoundExecute(A_S.tag); });
    action(A_Z, "A_Z", [this] { A_SoundExecute(A_Z.tag); });
    action(A_C, "A_C", [this] { A_SoundExecute(A_C.tag); });
    action(A_DZ, "A_DZ", [this] { A_SoundExecute(A_DZ.tag); });
    A_S.tag = 1, A_Z.tag = 2, A_C.tag = 3, A_DZ.tag = 4;
    A_S.category = A_Z.category = A_C.category = A_DZ.category = "Gloski";
    action(A_Tab, "A_Zakladka", [this] { A_TabExecute(); });
    action(A_Speaker, "A_Glosnik", [this] { A_SpeakerExecute(); });
    action(A_Report, "A_Raport", [this] {
        const Profile* child = context_.currentChild();
        report::openReport(this, child ? child->name : std::string());
    });
    action(A_Words, "A_Slowa", [this] {
        if (busy_ || !context_.catalogue || !AdultGate::ask("Przeglądanie słów i wybór słów dziecka."))
            return;
        closeRecorder();
        WordBrowser browser(context_);
        browser.showModal();
    });
    action(A_Child, "A_Dziecko", [this] {
        if (busy_) return;
        context_.changeChild = true;
        close();
    });

    g_Menu.name = "g_Menu";
    g_Menu.onMouseDown = [this](platform::MouseButton, platform::ShiftState, int, int y) {
        g_MenuMouseDown(y);
    };

    splashTimer_.setInterval(2000);
    splashTimer_.onTimer = [this] {
        splashTimer_.stop();
        windows_.removeSplash();
    };

    try {
        build();
    } catch (const FatalError&) {
        throw;
    } catch (const std::exception&) {
        throw FatalError(1);
    }
}

MainMenu::~MainMenu() = default;

void MainMenu::build() {
    const int X0 = context_.layout.offsetX(), Y0 = context_.layout.offsetY();
    const int W = context_.layout.areaWidth(), H = context_.layout.areaHeight();
    const bool large = context_.layout.mode() == kMode1024;
    const std::string sfx = context_.layout.suffix();
    platform::Canvas& screen = canvas();

    context_.layout.drawBackground(background_, std::string(kSpec) + "mT_m0" + sfx + ".xji");
    for (int i = 0; i < 5; ++i)
        loadBmp(tabs_[i], std::string(kSpec) + "mT_m" + std::to_string(i + 1) + sfx + ".xbi");
    g_Menu.setBounds(X0 + (large ? 705 : 551), Y0 + (large ? 95 : 74), tabs_[0].width(), tabs_[0].height());

    // The decoration is made for the 1280-wide design and resampled to this mode's size.
    {
        AlphaPicture logo;
        logo.loadFromPairJpeg(std::string(kSpec) + "RU_mnlz1B.xji", std::string(kSpec) + "RU_mnlz1W.xji");
        int w = logo.width(), h = logo.height();
        context_.layout.scale(kMode1280, w, h);
        if (w != logo.width() || h != logo.height()) {
            AlphaPicture scaled;
            scaled.scaleFrom(logo, w, h, true);
            logo.takeOver(scaled);
        }
        const int x = context_.layout.scale(kMode1280, 16) + X0,
                  y = context_.layout.scale(kMode1280, 267) + Y0;
        logo.drawOnBitmap(&background_, x, y, 255, &background_, x, y, {0, 0, w, h});
    }

    const int e = large ? 0 : 5;
    taskCountCaption_ = std::make_unique<Caption>("nap_ilzadan" + sfx);
    soundsCaption_ = std::make_unique<Caption>("nap_gloski" + sfx);
    positionCaption_ = std::make_unique<Caption>("nap_pozycja" + sfx);
    taskCountCaption_->placeAt(X0 + W / 2 - soundsCaption_->width() + e, Y0 + H / 4);
    soundsCaption_->placeAt(X0 + W / 2 - soundsCaption_->width() + e, Y0 + H / 2 - H / 16);
    positionCaption_->placeAt(X0 + W / 2 - positionCaption_->width() + e, Y0 + H / 10 + H / 2);
    for (Caption* n : {taskCountCaption_.get(), soundsCaption_.get(), positionCaption_.get()})
        n->saveBackground(background_.canvas());

    platform::Canvas& background = background_.canvas();
    auto button = [&](const char* n, int x, int y, platform::Action* a) {
        return std::make_unique<MenuButton>(*this, n, screen, background, x, y, a);
    };
    const int bottomY = H + Y0 - H / 7;
    about_ = button("oprogramie", W / 2 + X0 - 155, bottomY, &A_About);
    quit_ = button("wyjdz", W / 2 + X0 - 55, bottomY, &A_Stop);
    start_ = button("start", W / 2 + X0 + 35, bottomY, &A_Start);
    // The report stands left of the about button, one button step further.
    report_ = button("raport", W / 2 + X0 - 255, bottomY, &A_Report);
    report_->name = "raport";
    const int rec = H * 10 / 14 + Y0;
    rrec_ = button("rrec", W / 2 + X0 - 15, rec, &A_Rec_Rec);
    rplay_ = button("rodtworz", W / 2 + X0 - 95, rec, &A_Rec_Play);
    rstop_ = button("rstop", W / 2 + X0 - 55, rec, &MPStop);
    up_ = button("up", X0 + 240, H / 70 * 22 + Y0 - 32, nullptr);
    down_ = button("down", X0 + 240, H / 70 * 22 + Y0 + 256, nullptr);
    up_->onMouseUp = [this](platform::MouseButton, platform::ShiftState, int, int) { list_->scrollUp(); };
    down_->onMouseUp = [this](platform::MouseButton, platform::ShiftState, int, int) { list_->scrollDown(); };
    scroll_ = std::make_unique<ScrollBar>(*this, 0, 0, screen, background);
    for (auto [b, n] : {std::pair{about_.get(), "oprogramie"},
                        {quit_.get(), "wyjdz"},
                        {start_.get(), "start"},
                        {rrec_.get(), "rrec"},
                        {rplay_.get(), "rodtworz"},
                        {rstop_.get(), "rstop"},
                        {up_.get(), "up"},
                        {down_.get(), "down"}})
        b->name = n;
    scroll_->thumb().name = "scroll";

    const std::string p = large ? "b_" : "s_";
    struct Descriptor {
        const char* name;
        int x, y;
        platform::Action* action;
    };
    const Descriptor descriptors[10] = {
        {"malo", W / 5 + X0, H / 3 + Y0, &A_Malo},
        {"srednio_g", W / 5 + W / 6 + X0, H / 3 + Y0, &A_Srednio},
        {"duzo_g", W / 5 + W / 3 + X0, H / 3 + Y0, &A_Duzo},
        {"SZ", W / 3 + X0 - W / 8, H / 2 + Y0, &A_S},
        {"ZZ_g", W / 3 + X0, H / 2 + Y0, &A_Z},
        {"CZ_g", W / 3 + W / 8 + X0, H / 2 + Y0, &A_C},
        {"DZZ_g", W / 3 + W / 4 + X0, H / 2 + Y0, &A_DZ},
        {"naglos", W / 5 + X0, H + Y0 - H / 3, &A_Naglos},
        {"srodglos_g", W / 5 + W / 6 + X0, H + Y0 - H / 3, &A_Srodglos},
        {"wyglos_g", W / 5 + W / 3 + X0, H + Y0 - H / 3, &A_Wyglos},
    };
    for (int i = 0; i < 10; ++i) {
        checki_[i] =
            std::make_unique<TwoStatePicture>(*this, p + descriptors[i].name, screen, descriptors[i].x,
                                              descriptors[i].y, descriptors[i].action);
        checki_[i]->control().name = p + descriptors[i].name;
    }

    // The speaker toggle sits in the content area's bottom-right corner; it is built but never shown.
    speaker_ = std::make_unique<ToggleButton>(*this, "", screen, 0, 0, &A_Speaker,
                                              std::string(kSpec) + context_.layout.prefix1() + "_glos");
    speaker_->control().name = "glosnik";
    const int margin = large ? 5 : 4;
    speaker_->placeAt(X0 + W - margin - speaker_->control().width(),
                      Y0 + H - margin - speaker_->control().height());

    const platform::Font header{
        .family = "Arial Black", .height = 15, .bold = false, .color = platform::kBlack};
    for (platform::Label* l : {&vL_Name, &vL_Data}) {
        l->setTransparent(true);
        l->setFont(header);
        l->hide();
    }
    vL_Name.name = "vL_Nazwisko";
    vL_Data.name = "vL_Data";
    list_ = std::make_unique<RecordingList>(*this, screen, vL_Name, vL_Data, *up_, *down_, *scroll_,
                                            context_.layout);
    recorder_ = std::make_unique<VoiceRecorder>(context_.speaker);
    recorder_->onRecorded = [this] { MPStop.execute(); };
    recorder_->onPlayed = [this] { MPStop.execute(); };

    // The child who plays, and the way back to the choice of child (and, for adults, to the list).
    const bool several = context_.profiles.all().size() >= 2;
    child_ = std::make_unique<TextButton>(*this, "dzieci", several ? "Zmień dziecko" : "Dzieci",
                                          platform::rgb(127, 140, 141));
    const int buttonW = large ? 190 : 150, buttonH = large ? 44 : 36;
    child_->setBounds(X0 + W * 21 / 100, Y0 + H * 15 / 100, buttonW, buttonH);
    child_->font.height = large ? 18 : 15;
    child_->onClick = [this] { A_Child.execute(); };
    words_ = std::make_unique<TextButton>(*this, "slowa", "Słowa", platform::rgb(142, 68, 173));
    words_->setBounds(W / 2 + X0 - 355, bottomY, large ? 84 : 70, large ? 64 : 54);
    words_->font.height = large ? 17 : 14;
    words_->onClick = [this] { A_Words.execute(); };
    if (const Profile* child = context_.currentChild(); child && several) {
        childPicture_ = loadCardPicture(child->picture);
        childBadge_ = platform::Rect::fromSize(child_->bounds().right + 14, child_->top() - 4,
                                               X0 + W * 68 / 100 - child_->bounds().right - 14, buttonH + 8);
    }

    hideRecordingsPanel();
    for (auto& c : checki_)
        c->hide();
}

void MainMenu::drawChildBadge() {
    const Profile* child = context_.currentChild();
    if (!child || childBadge_.empty()) return;
    platform::Canvas& c = canvas();
    const int side = childBadge_.height();
    const platform::Rect place = platform::Rect::fromSize(childBadge_.left, childBadge_.top, side, side);
    if (childPicture_.width() > 0) {
        c.stretchDraw(place, childPicture_);
    }
    const bool large = context_.layout.mode() == kMode1024;
    drawFittedText(c, {place.right + 8, childBadge_.top, childBadge_.right, childBadge_.bottom}, child->name,
                   {.family = "DejaVu Sans",
                    .height = large ? 24 : 19,
                    .bold = true,
                    .color = platform::rgb(120, 60, 20)},
                   large ? 13 : 11, platform::TextAlign::Left);
}

int MainMenu::tabAt(int y, int mode) {
    const Band* bands = mode == kMode1024 ? kBands4 : kBands2;
    for (int i = 0; i < 5; ++i)
        if (y >= bands[i].from && y <= bands[i].toY) return i + 1;
    return 0;
}

GameSettings& MainMenu::tabSettings() {
    // The recorder's tab shows no settings; the falling game's stand in for it.
    GameSettings* settings = context_.settings.game(context_.settings.tab);
    return settings ? *settings : context_.settings.falling;
}

void MainMenu::g_MenuMouseDown(int y) {
    if (busy_) return;
    previous_ = context_.settings.tab;
    if (const int z = tabAt(y, context_.layout.mode())) context_.settings.tab = z;
    if (context_.settings.tab != previous_) {
        A_Tab.execute();
        remember();
    }
    if (context_.settings.tab == kTabRecorder)
        if (const std::string t = list_->indexMessage(); !t.empty()) showMessage(t);
}

void MainMenu::A_TabExecute() {
    platform::Canvas& c = canvas();
    c.setCopyMode(platform::CopyMode::SrcCopy);
    if (context_.settings.tab >= 1 && context_.settings.tab <= 5)
        c.draw(g_Menu.left(), g_Menu.top(), tabs_[context_.settings.tab - 1]);
    if (context_.settings.tab == kTabRecorder) {
        for (auto& b : checki_)
            b->hide();
        for (Caption* n : {taskCountCaption_.get(), soundsCaption_.get(), positionCaption_.get()})
            n->drawBackground(c);
        showRecordingsPanel();
        if (recordingRefreshes_ > 0) {
            --recordingRefreshes_;
            invalidate();
        }
    } else {
        hideRecordingsPanel();
        start_->show();
        for (Caption* n : {taskCountCaption_.get(), soundsCaption_.get(), positionCaption_.get()})
            n->draw(c);
        showSettings();
        if (settingsRefreshes_ > 0) {
            --settingsRefreshes_;
            invalidate();
        }
    }
    speaker_->draw();
}

void MainMenu::showRecordingsPanel() {
    // Every repaint passes here (typing in a name repaints too): the rows are reset and the focus cleared
    // only when the panel comes into view, not while the user works in it.
    if (!recordingsPanelShown_) {
        recordingsPanelShown_ = true;
        list_->show();
        setFocusedControl(nullptr);
    } else {
        list_->draw();
    }
    vL_Name.show();
    vL_Data.show();
    up_->show();
    down_->show();
    scroll_->show();
    // A repaint during a recording must keep the stop button, or the recording could not be stopped.
    rrec_->setVisible(!busy_);
    rplay_->setVisible(!busy_);
    rstop_->setVisible(busy_);
    start_->hide();
}

void MainMenu::hideRecordingsPanel() {
    recordingsPanelShown_ = false;
    if (list_) list_->hide();
    vL_Name.hide();
    vL_Data.hide();
    up_->hide();
    down_->hide();
    scroll_->hide();
    rrec_->hide();
    rplay_->hide();
    rstop_->hide();
}

void MainMenu::showSettings() {
    const GameSettings& u = tabSettings();
    const bool state[10] = {
        u.level == kQuantityMalo,       u.level == kQuantitySrednio,    u.level == kQuantityDuzo,
        u.hasSound(kSoundSz),           u.hasSound(kSoundZz),           u.hasSound(kSoundCz),
        u.hasSound(kSoundDzz),          u.hasPosition(kPositionNaglos), u.hasPosition(kPositionSrodglos),
        u.hasPosition(kPositionWyglos),
    };
    for (int i = 0; i < 10; ++i) {
        checki_[i]->show();
        checki_[i]->setState(state[i] ? 1 : 0);
    }
}

void MainMenu::A_StartExecute() {
    GameSettings& u = tabSettings();
    u.positions &= 0x7000;
    u.sounds &= 0x0FFF;
    switch (context_.settings.tab) {
    case kGameLabelling:
        if (!startGame(kGameLabelling, context_.settings.labelling, context_.settings.labelling.level * 5))
            return;
        break;
    case kGameMemory:
        if (!startGame(kGameMemory, context_.settings.memory, context_.settings.memory.level * 4)) return;
        break;
    case kGameCompletion: {
        // The completion game also draws the contrast sounds' words.
        GameSettings copy = context_.settings.completion;
        copy.addContrast();
        if (!startGame(kGameCompletion, copy, context_.settings.completion.level * 5)) return;
        break;
    }
    case kGameFalling:
        if (!startGame(kGameFalling, context_.settings.falling, context_.settings.falling.level * 5)) return;
        break;
    default:
        break;
    }
    closeRecorder();
    invalidate();
    platform::app().processMessages();
    invalidate();
}

bool MainMenu::startGame(int tab, const GameSettings& wordFilter, int minimum) {
    context_.catalogue->filter(wordFilter);
    if (static_cast<int>(context_.catalogue->filtered().size()) < minimum) {
        // Cells no Polish word can fill get the reason, not an instruction that cannot help.
        // Other choices get the cells and counts that fall short, so the therapist knows what to add.
        std::string reason = emptyFieldsMessage(tabSettings());
        if (reason.empty())
            reason = tooFewWordsMessage(wordFilter, context_.catalogue->filtered().size(), minimum,
                                        context_.catalogue->switchedOffMatches());
        if (windows_.message()) {
            windows_.message()->vL_Message.setCaption(reason);
            windows_.message()->showModal();
        }
        return false;
    }
    closeRecorder();
    if (platform::Form* window = windows_.game(tab)) window->showModal();
    closeRecorder();
    return true;
}

void MainMenu::remember() {
    // A settings file that cannot be read or written is said once, on screen.
    if (!context_.settings.remember())
        if (const std::string t = context_.settings.takeMessage(); !t.empty()) showMessage(t);
}

void MainMenu::showMessage(int code) {
    if (!windows_.message()) return;
    windows_.message()->setMessage(static_cast<std::uint16_t>(code));
    windows_.message()->showModal();
}

void MainMenu::showMessage(const std::string& text) {
    if (!windows_.message()) return;
    windows_.message()->vL_Message.setCaption(text);
    windows_.message()->showModal();
    setFocusedControl(nullptr);
}

void MainMenu::A_LevelExecute(int level) {
    tabSettings().level = static_cast<std::int16_t>(level);
    showSettings();
    remember();
}

void MainMenu::A_SoundExecute(int tag) {
    if (tag < 1 || tag > 4) return;
    GameSettings& u = tabSettings();
    const std::uint16_t bit = kSounds[tag - 1];
    if (!u.hasSound(bit)) {
        u.sounds |= bit;
    } else if ((u.sounds & 0x000F) == bit) {
        // A game needs at least one sound: the last one stays chosen.
        showMessage(1);
    } else {
        u.sounds &= static_cast<std::uint16_t>(~bit);
    }
    showSettings();
    remember();
}

void MainMenu::A_PositionExecute(std::uint16_t position) {
    GameSettings& u = tabSettings();
    if (!u.hasPosition(position)) {
        u.positions |= position;
    } else if ((u.positions & 0x7000) == position) {
        showMessage(2);
    } else {
        u.positions &= static_cast<std::uint16_t>(~position);
    }
    showSettings();
    remember();
}

void MainMenu::A_SpeakerExecute() {
    speaker_->toggle();
    speaker_->draw();
    if (speaker_->state() == 0) {
        closeRecorder();
        context_.speaker = false;
    } else {
        context_.speaker = true;
        if (context_.settings.tab != kTabRecorder) closeRecorder();
    }
}

void MainMenu::closeRecorder() {
    if (recorder_) recorder_->closePeriod();
}

void MainMenu::A_Rec_RecExecute() {
    const int r = list_->chosenRow();
    // A name of blanks only counts as none.
    if (r < 0 || list_->rowName(r).empty()) {
        showMessage(r < 0 ? 10 : 11);
        setFocusedControl(nullptr);
        return;
    }
    enterBusy();
    const int p = list_->top() + r;
    const bool before = !list_->rowPath(r).empty();
    if (!recorder_->open(RecordingList::placeFile(p))) {
        MPStop.execute();
        showMessage(before ? recordingMessages::kSaveFailedPreviousKept : recordingMessages::kSaveFailed);
        return;
    }
    if (!recorder_->startRecording(60000)) {
        MPStop.execute();
        showMessage(recordingMessages::kMicrophone);
        return;
    }
    // The index learns of the take only once it is saved (MPStop).
    recordingPlace_ = p;
    previousRecording_ = before;
}

void MainMenu::A_Rec_PlayExecute() {
    const int r = list_->chosenRow();
    int message = 0;
    std::string path;
    if (r < 0) {
        message = 20;
    } else if (list_->rowName(r).empty()) {
        message = 21;
    } else {
        path = list_->rowPath(r);
        if (path.empty() || !platform::fs::exists(path)) message = 21;
    }
    if (message) {
        showMessage(message);
        setFocusedControl(nullptr);
        return;
    }
    enterBusy();
    if (!recorder_->open(path) || !recorder_->play()) {
        MPStop.execute();
        showMessage(recordingMessages::kDamagedRecording);
    }
}

void MainMenu::setPanelButtonsEnabled(bool enabled) {
    for (MenuButton* b : {about_.get(), quit_.get(), up_.get(), down_.get(), report_.get()})
        b->setEnabled(enabled);
    child_->setEnabled(enabled);
    words_->setEnabled(enabled);
    scroll_->thumb().setEnabled(enabled);
}

void MainMenu::enterBusy() {
    busy_ = true;
    rrec_->hide();
    rplay_->hide();
    rstop_->show();
    setPanelButtonsEnabled(false);
}

void MainMenu::MPStopExecute() {
    recorder_->stop();
    recorder_->closePeriod();
    busy_ = false;
    rstop_->hide();
    rrec_->show();
    rplay_->show();
    setPanelButtonsEnabled(true);
    const int p = std::exchange(recordingPlace_, -1);
    if (p < 0) return;
    if (recorder_->recordingResult() != VoiceRecorder::RecordingOutcome::Saved)
        showMessage(previousRecording_ ? recordingMessages::kSaveFailedPreviousKept
                                       : recordingMessages::kSaveFailed);
    else if (!list_->savePlace(p))
        showMessage(recordingMessages::kIndexSaveFailed);
}

void MainMenu::paintEvent() {
    canvas().setCopyMode(platform::CopyMode::SrcCopy);
    canvas().draw(0, 0, background_);
    A_TabExecute();
    drawChildBadge();
    // The device is closed when it is left open without use. A recording or playback started from the
    // panel is never cut off by a repaint: with the speaker switch off the device counts as busy at all
    // times, so the close on tab 5 would otherwise end every recording at the first repaint.
    if (busy_) return;
    if (recorder_->busy() == (context_.settings.tab == kTabRecorder)) closeRecorder();
}

void MainMenu::showEvent() {
    if (shown_) return;
    shown_ = true;
    if (windows_.splash()) splashTimer_.start();
}

void MainMenu::activateEvent() {
    // Coming back to the menu closes the device, unless the panel's own recording or playback runs.
    if (!busy_) closeRecorder();
}

void MainMenu::closeEvent() {
    // Closed while recording: the take is saved and indexed without asking anything.
    if (const int p = std::exchange(recordingPlace_, -1); p >= 0) {
        recorder_->stop();
        if (recorder_->recordingResult() == VoiceRecorder::RecordingOutcome::Saved) list_->savePlace(p);
    }
    setSize(width(), 1);
}

void MainMenu::keyPressEvent(int charCode) {
    if (charCode != 27) return;
    // Esc first ends what the panel is doing; the exit button is disabled meanwhile as well.
    if (busy_)
        MPStop.execute();
    else
        A_Stop.execute();
}

void MainMenu::mouseWheelEvent(int delta, platform::ShiftState, int, int) {
    if (context_.settings.tab != kTabRecorder) return;
    if (delta > 0 && up_->enabled()) list_->scrollUp();
    if (delta < 0 && down_->enabled()) list_->scrollDown();
}
