// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A word's own voice, given in the word browser: a dropped sound file, a recording, back to the program's.
#include "program_fixture.hpp"
#include "tests/support/RunningProgram.hpp"

#include "core/WordVoices.hpp"
#include "platform/audio/AudioDevice.hpp"
#include "platform/audio/SoundFile.hpp"
#include "platform/audio/Wav.hpp"
#include "platform/graphics/Image.hpp"
#include "platform/windows/Dialogs.hpp"
#include "words/Catalogue.hpp"

#include <algorithm>

using namespace wvtest;
using platform::testing::Driver;

namespace {

// 200 ms of silence, 800 ms of a square tone, 200 ms of silence: 44.1 kHz stereo, as a phone might give.
std::vector<std::uint8_t> toneFile() {
    const platform::wav::Format format{2, 44100, 16};
    std::vector<std::uint8_t> samples;
    for (int frame = 0; frame < 44100 * 12 / 10; ++frame) {
        const bool tone = frame >= 8820 && frame < 8820 + 35280;
        const std::int16_t v = tone ? ((frame / 50) % 2 ? 6000 : -6000) : 0;
        for (int ch = 0; ch < 2; ++ch) {
            samples.push_back(std::uint8_t(v & 0xFF));
            samples.push_back(std::uint8_t((v >> 8) & 0xFF));
        }
    }
    return platform::wav::build(format, samples);
}

} // namespace

TEST(WordVoices, ADroppedFileIsTheWordsVoiceOnceKeptBadFilesAndSilenceLeaveItAndTheProgramsVoiceComesBack) {
    Installation inst;
    const auto tone = toneFile();
    writeFile(inst.base() / "ton.wav", std::string(tone.begin(), tone.end()));
    writeFile(inst.base() / "notatki.wav", "To nie jest dźwięk.\n");
    const stdfs::path kept = inst.user() / "Glosy" / "mysz.pw";
    Outcome out;
    auto d = startProgram(out, {1024, 768});
    d->wait(2500);
    browseSzAtTheEnd(*d); // "mysz" comes first
    ASSERT_TRUE(shown(*d, "FormSlowa"));

    // Dropped onto the word: heard first, kept only with "Zachowaj".
    d->drop(25 + 90, 130 + 80, (inst.base() / "ton.wav").string());
    ASSERT_TRUE(shown(*d, "FormGlos"));
    EXPECT_NE(controlText(*d, "stan").find("Z pliku „ton.wav”"), std::string::npos)
        << controlText(*d, "stan");
    EXPECT_FALSE(stdfs::exists(kept));
    d->click("zachowaj");
    const std::string voice = readFile(kept);
    const auto decoded =
        platform::soundfile::decode({reinterpret_cast<const std::uint8_t*>(voice.data()), voice.size()});
    ASSERT_EQ(decoded.status, platform::soundfile::Status::Whole);
    // The recording format's header: one channel, 22 050 Hz, 16 bits.
    ASSERT_GE(voice.size(), 46u);
    EXPECT_EQ(voice.substr(22, 14),
              std::string("\x01\x00\x22\x56\x00\x00\x44\xAC\x00\x00\x02\x00\x10\x00", 14));
    // The tone with a little of the silence around it; the rest is trimmed.
    EXPECT_GE(decoded.pcm.lengthMs(), 800);
    EXPECT_LE(decoded.pcm.lengthMs(), 1000);

    // What cannot be a voice leaves the kept one as it was.
    d->drop(300, 200, (inst.base() / "notatki.wav").string());
    EXPECT_NE(controlText(*d, "stan").find("To nie jest plik dźwiękowy"), std::string::npos);
    d->click("nagraj"); // the headless microphone hears only silence
    d->wait(1000);
    d->click("nagraj");
    EXPECT_NE(controlText(*d, "stan").find("prawie nic nie słychać"), std::string::npos)
        << controlText(*d, "stan");
    platform::audio::simulateMissingMicrophone(true);
    d->click("nagraj");
    platform::audio::simulateMissingMicrophone(false);
    EXPECT_NE(controlText(*d, "stan").find("mikrofon jest niedostępny"), std::string::npos);
    d->click("zachowaj"); // nothing to keep
    EXPECT_EQ(readFile(kept), voice);
    d->click("posluchaj");
    EXPECT_TRUE(d->logged("sound " + kept.string()));

    d->click("glosprogramu");
    EXPECT_FALSE(stdfs::exists(kept));
    d->click("posluchaj");
    EXPECT_TRUE(d->logged("sound Data\\Smd\\mysz.pw"));
    d->click("zamknij");
    d->key(27);
    d->key(27);
    d->wait(100);
    EXPECT_TRUE(out.returned);
}

// A word of the adult's own: refused with the reason while it cannot be one, then saved with its photo and
// voice, and drawn for the child who has it on.
TEST(OwnWordWindow, TypedWordsAreReadAsHeardAndASavedOneIsPlayedInTheChildsGame) {
    Installation inst;
    platform::Bitmap photo(900, 600, platform::PixelFormat::Bgr24);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 900; ++x)
            photo.setPixel(x, y, x < 450 ? platform::rgb(200, 40, 40) : platform::rgb(40, 40, 200));
    const auto jpeg = platform::image::encodeJpeg(photo);
    writeFile(inst.base() / "pies.jpg", std::string(jpeg.begin(), jpeg.end()));
    writeFile(inst.base() / "notatki.jpg", "To nie jest zdjęcie.\n");
    const auto tone = toneFile();
    writeFile(inst.base() / "ton.wav", std::string(tone.begin(), tone.end()));
    // Memory, SZ at the end, few: four words, and the child has three of the shipped ones on.
    writeFile(inst.user() / "Dzieci" / "1" / "dziecko.ini", "[Dziecko]\r\nImie=Ola\r\nObrazek=zaba\r\n");
    writeFile(inst.user() / "Dzieci" / "1" / "ustawienia.ini",
              "[DaneProgramu]\r\nZakladka=2\r\n\r\n[Memory]\r\nGloski=1\r\nPoziom=1\r\nPozycja=16384\r\n");
    writeFile(inst.user() / "Dzieci" / "1" / "wylaczone_slowa.txt",
              "kapelusz\nkalosz\nlistonosz\npioropusz\ntusz\nklawisz\nafisz\nklosz\ngulasz\nbambosz\nratusz\n"
              "kamasz\n");
    Outcome out;
    auto d = startProgram(out, {1024, 768});
    d->wait(2500);
    d->click("slowa");
    holdAdultGate(*d);
    d->click("dodajslowo");
    ASSERT_TRUE(shown(*d, "FormSlowo"));
    const struct {
        const char* typed;
        const char* status;
    } typed[] = {
        {"nóż", "W wyrazie »nóż« ż na końcu brzmi jak sz."},
        {"żaba", "Głoski: ż-a-b-a. Ćwiczona głoska: Ż/RZ, nagłos. Słowo »żaba« już jest w katalogu."},
        {"pies", "Głoski: p-i-e-s. Ćwiczona głoska: S, wygłos. Słowo »pies« już jest w katalogu."},
        {"Bartosz", "Głoski: b-a-r-t-o-sz. Ćwiczona głoska: SZ, wygłos. Brakuje jeszcze obrazka. Brakuje "
                    "jeszcze głosu."},
    };
    for (const auto& t : typed) {
        for (int i = 0; i < 8; ++i)
            d->key(8);
        d->text(t.typed);
        EXPECT_EQ(controlText(*d, "stan"), t.status);
    }
    d->click("zapisz");
    EXPECT_EQ(controlText(*d, "stan"), "Słowo potrzebuje obrazka: wybierz zdjęcie lub rysunek.");
    d->drop(400, 300, (inst.base() / "notatki.jpg").string());
    EXPECT_NE(controlText(*d, "stan").find("Obrazek słowa się nie zmienił."), std::string::npos)
        << controlText(*d, "stan");
    d->drop(400, 300, (inst.base() / "pies.jpg").string());
    EXPECT_EQ(controlText(*d, "stan"),
              "Głoski: b-a-r-t-o-sz. Ćwiczona głoska: SZ, wygłos. Brakuje jeszcze głosu.");
    for (int i = 0; i < 3; ++i)
        d->click("prawo"); // the crop moves into the blue half
    d->click("blizej");
    d->click("glos");
    d->drop(400, 300, (inst.base() / "ton.wav").string());
    d->click("zachowaj");
    d->click("zamknij");
    EXPECT_FALSE(stdfs::exists(inst.user() / "Slowa"));
    d->click("zapisz");
    EXPECT_FALSE(shown(*d, "FormSlowo"));
    EXPECT_EQ(readFile(inst.user() / "Slowa" / "slowa.txt"),
              "# Własne słowa, dodane w programie: nazwa, głoski, dźwięk, "
              "pozycja.\nbartosz\tb,a,r,t,o,_sz\tSZ\twygłos\n");
    for (const char* name :
         {"sbartosz.xji", "bartosz_ms.xji", "bartosz_mb.xji", "bartosz_ups.xji", "bartosz_upb.xji"})
        EXPECT_TRUE(stdfs::exists(inst.user() / "Slowa" / "bartosz" / name)) << name;
    EXPECT_TRUE(stdfs::exists(inst.user() / "Glosy" / "bartosz.pw"));
    const platform::Bitmap labelPicture =
        platform::image::loadJpegFile((inst.user() / "Slowa" / "bartosz" / "bartosz_upb.xji").string());
    ASSERT_EQ(labelPicture.width(), 320);
    const platform::Color centre = labelPicture.pixel(160, 160);
    EXPECT_GT(platform::blueOf(centre), 150) << std::hex << centre;
    EXPECT_LT(platform::redOf(centre), 90) << std::hex << centre;

    d->key(27);
    d->click("start");
    d->wait(300);
    // Without the new word the child has three and the menu would refuse; the game draws from all four.
    EXPECT_TRUE(d->logged("form-shown Memory"));
    std::vector<std::string> drawnFrom;
    for (const Word& w : context().catalogue->filtered())
        drawnFrom.push_back(w.stem);
    std::sort(drawnFrom.begin(), drawnFrom.end());
    EXPECT_EQ(drawnFrom, (std::vector<std::string>{"bartosz", "grosz", "kosz", "mysz"}));
    d->key(27);
    d->wait(600);
    d->key(27);
    d->wait(300);

    // Removed again by the adult: its line, its pictures and its voice go; the shipped words stay.
    browseSzAtTheEnd(*d);
    d->key(platform::Key::PageDown); // the sixteenth word of SZ at the end: the own one, last
    d->click("zmienslowo");
    ASSERT_TRUE(shown(*d, "FormSlowo"));
    EXPECT_EQ(controlText(*d, "slowo"), "bartosz");
    d->answer(static_cast<int>(platform::MessageResult::Yes));
    d->click("usunslowo");
    EXPECT_FALSE(shown(*d, "FormSlowo"));
    EXPECT_FALSE(stdfs::exists(inst.user() / "Slowa" / "bartosz"));
    EXPECT_FALSE(stdfs::exists(inst.user() / "Glosy" / "bartosz.pw"));
    EXPECT_EQ(context().catalogue->table().size(), 233u);
    d->key(27);
    d->key(27);
    d->wait(100);
    EXPECT_TRUE(out.returned);
}
