#include "program_fixture.hpp"

#include "app/_custgry.hpp"
#include "ui/Fmmain.hpp"
#include "widgets/_ccheckbut.hpp"

using namespace wvtest;

namespace {

// The shipped data.ini: every game on SZ, initial position; quantity 1 except completion (2); tab 1.
void shippedValues() {
    for (CUstGry* u : {&ustPodpisywanie, &ustMemory, &ustUzupelnianie, &ustSpadajace}) {
        u->Gloski = GL_SZ;
        u->Pozycja = POZ_NAGLOS;
        u->Poziom = u == &ustUzupelnianie ? 2 : 1;
    }
    Zakladka = 1;
}

} // namespace

TEST(RememberedSettings, ChoicesMadeInTheMenuAreSavedAndComeBackAtTheNextStart) {
    Installation inst;
    {
        Outcome out;
        auto d = startProgram(out, {800, 600});
        d->wait(2000);
        d->click(611, 224); // Memory tab
        d->click(436, 210); // many
        d->click(276, 310); // Ż/RZ as well as SZ
        d->click(436, 410); // final position as well as initial
        d->key(27);
        ASSERT_TRUE(out.returned);
    }
    EXPECT_EQ(readFile(inst.user() / "ustawienia.ini"),
              "[DaneProgramu]\r\nZakladka=2\r\n"
              "\r\n[Podpisywanie]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n"
              "\r\n[Memory]\r\nGloski=3\r\nPoziom=3\r\nPozycja=20480\r\n"
              "\r\n[Uzupelnianie]\r\nGloski=1\r\nPoziom=2\r\nPozycja=4096\r\n"
              "\r\n[Spadajace]\r\nGloski=1\r\nPoziom=1\r\nPozycja=4096\r\n");
    EXPECT_FALSE(stdfs::exists(inst.prog() / "ustawienia.ini"));

    shippedValues();
    Outcome out;
    auto d = startProgram(out, {800, 600});
    EXPECT_EQ(Zakladka, ZAK_MEMORY);
    EXPECT_EQ(ustMemory.Poziom, POZIOM_DUZO);
    EXPECT_EQ(ustMemory.Gloski, GL_SZ | GL_ZZ);
    EXPECT_EQ(ustMemory.Pozycja, POZ_NAGLOS | POZ_WYGLOS);
    d->wait(100);
    ASSERT_NE(FormMain, nullptr);
    EXPECT_EQ(FormMain->przyciskUstawien(2).stan(), 1); // "dużo" shown checked
    EXPECT_EQ(FormMain->przyciskUstawien(0).stan(), 0);
    d->key(27);
}

TEST(RememberedSettings, AMissingDamagedOrOutOfRangeFileGivesTheConfigurationsValuesCleaned) {
    struct Case {
        const char* name;
        std::string text; // empty name: a directory stands where the file should be
        int zakladka;
        std::int16_t poziom;
        std::uint16_t gloski, pozycja;
        std::int16_t poziomSpadajace;
    };
    const Case cases[] = {
        {"missing", "", 1, 1, GL_SZ, POZ_NAGLOS, 1},
        {"empty", "", 1, 1, GL_SZ, POZ_NAGLOS, 1},
        {"directory", "", 1, 1, GL_SZ, POZ_NAGLOS, 1},
        {"binary", std::string("\x00\xff\xfe[[[\x01=\x02", 11), 1, 1, GL_SZ, POZ_NAGLOS, 1},
        {"truncated", "[DaneProgramu]\r\nZakladka=3\r\n[Memory]\r\nGlos", 3, 1, GL_SZ, POZ_NAGLOS, 1},
        {"out of range", "[DaneProgramu]\nZakladka=9\n[Memory]\nGloski=255\nPoziom=7\nPozycja=28673\n", 1, 1,
         0x000F, 0x7000, 1},
        {"recorder tab", "[DaneProgramu]\nZakladka=5\n[Spadajace]\nPoziom=3\n", 1, 1, GL_SZ, POZ_NAGLOS, 3},
        {"not numbers", "[DaneProgramu]\nZakladka=dwa\n[Memory]\nPoziom=x\nGloski=\n", 1, 1, GL_SZ,
         POZ_NAGLOS, 1},
    };
    for (const Case& c : cases) {
        Installation inst;
        const stdfs::path file = inst.user() / "ustawienia.ini";
        const std::string name = c.name;
        if (name == "directory")
            stdfs::create_directory(file);
        else if (name != "missing")
            std::ofstream(file, std::ios::binary) << c.text;
        shippedValues();
        wczytajZapamietane();
        EXPECT_EQ(Zakladka, c.zakladka) << name;
        EXPECT_EQ(ustMemory.Poziom, c.poziom) << name;
        EXPECT_EQ(ustMemory.Gloski, c.gloski) << name;
        EXPECT_EQ(ustMemory.Pozycja, c.pozycja) << name;
        EXPECT_EQ(ustSpadajace.Poziom, c.poziomSpadajace) << name;
        // Nothing changed: nothing written. A change is written unless a directory is in the way.
        EXPECT_TRUE(zapamietajUstawienia()) << name;
        if (name == "missing") {
            EXPECT_FALSE(stdfs::exists(file));
        }
        ustSpadajace.Poziom = 2;
        EXPECT_EQ(zapamietajUstawienia(), name != "directory") << name;
        if (name != "directory") {
            EXPECT_NE(readFile(file).find("[Spadajace]\r\nGloski=1\r\nPoziom=2\r\n"), std::string::npos);
        }
    }
    shippedValues();
}
