// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

// What a kill at any moment leaves behind, and what the next start makes of it.
#include "CoreTestSupport.hpp"
#include "app/Program.hpp"
#include "core/GameSettings.hpp"
#include "core/StatisticsFile.hpp"
#include "platform/audio/AudioFiles.hpp"
#include "platform/audio/Sound.hpp"
#include "platform/audio/Wav.hpp"
#include "platform/system/DateTime.hpp"
#include "recorder/Recordings.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <set>

namespace stdfs = std::filesystem;
using coretest::TempRoots;

namespace {

std::set<std::string> names(const stdfs::path& dir) {
    std::set<std::string> out;
    for (const auto& e : stdfs::directory_iterator(dir))
        out.insert(e.path().filename().string());
    return out;
}

std::vector<std::uint8_t> take(int ms) {
    const auto frames = platform::wav::recordingFramesFor(ms);
    std::vector<std::uint8_t> samples(std::size_t(frames) * 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::uint8_t(i * 31);
    return platform::wav::build(platform::wav::kRecordingFormat, samples);
}

} // namespace

TEST(Leftovers, startUpRemovesEveryTemporaryOfTheProgramsOwnFilesAndNothingElse) {
    TempRoots roots;
    const stdfs::path u = roots.user(), n = u / "Nagrane";
    const std::vector<stdfs::path> ours = {
        u / ".prgst1.stt.a1B2c3",          u / ".prgst1.stt.bad-tail.Zz9x8Y",
        u / ".ustawienia.ini.QwErTy",      u / ".Raport postępów.html.123456",
        u / ".Raport postępów.csv.abcdef", u / ".Raport zasobów.txt.xYz123",
        n / ".record.xtr.000000",          n / ".Nagranie17.wav.Ab3dE1",
    };
    const std::vector<stdfs::path> others = {
        u / "ustawienia.ini", u / ".ustawienia.ini.bak",   u / ".notes.txt.Ab3dE1",
        u / "prgst1.stt.bad", u / ".ustawienia.ini.12345", n / ".Nagranie.txt.Ab3dE1",
        n / "Nagranie3.wav",  u / "Nagrane.bad",
    };
    for (const auto& group : {ours, others})
        for (const stdfs::path& p : group)
            TempRoots::write(p, "x");
    EXPECT_EQ(removeTemporaries(), int(ours.size()));
    for (const stdfs::path& p : ours)
        EXPECT_FALSE(stdfs::exists(p)) << p;
    for (const stdfs::path& p : others)
        EXPECT_TRUE(stdfs::exists(p)) << p;
}

TEST(Leftovers, takesTheIndexDoesNotListAreAdoptedAndStubsRemoved) {
    TempRoots roots;
    const stdfs::path n = roots.user() / "Nagrane";
    TempRoots::write(n / "Nagranie4.wav", take(300));
    TempRoots::write(n / "Nagranie7.wav", platform::wav::emptyRecording());
    TempRoots::write(n / "Nagranie9.wav", take(300));
    TempRoots::write(n / "Nagranie12.wav", std::string(30, 'R'));
    const auto when = stdfs::file_time_type::clock::now() - std::chrono::hours(24 * 40);
    stdfs::last_write_time(n / "Nagranie4.wav", when);
    std::array<Recording, RecordingList::kPlaceCount> entries{};
    for (int p = 0; p < RecordingList::kPlaceCount; ++p)
        entries[p].number = p;
    entries[9].file = "Nagranie9";
    entries[9].name = "Ala";
    entries[9].data = 45000;

    EXPECT_TRUE(RecordingList::adoptRecordings(entries));
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        stdfs::last_write_time(n / "Nagranie4.wav").time_since_epoch() -
        stdfs::file_time_type::clock::now().time_since_epoch() +
        std::chrono::system_clock::now().time_since_epoch());
    EXPECT_EQ(entries[4].file, "Nagranie4");
    EXPECT_EQ(entries[4].name, "");
    EXPECT_EQ(entries[4].data, platform::date::fromUnixSeconds(seconds.count()));
    EXPECT_EQ(entries[9].name, "Ala") << "a listed take is left as it is";
    EXPECT_EQ(entries[9].data, 45000);
    for (int p : {7, 12})
        EXPECT_EQ(entries[p].file, "") << p;
    EXPECT_EQ(names(n), (std::set<std::string>{"Nagranie4.wav", "Nagranie9.wav"}));
    EXPECT_FALSE(RecordingList::adoptRecordings(entries)) << "nothing more to adopt";
}

// Kills a child that writes one family of files over and over at a random moment (fixed seed), twenty
// times a family; after each kill the next start finds no temporary and every file whole.
TEST(Leftovers, killsAtRandomLeaveNoTemporaryAndNoTakeUnlisted) {
    TempRoots roots;
    const stdfs::path u = roots.user(), n = u / "Nagrane";
    stdfs::create_directories(n);
    const auto wav = take(200);
    std::mt19937 random(20261209);
    struct Family {
        const char* name;
        std::function<void(int)> write; // one write, the i-th
    };
    const std::vector<Family> families = {
        {"settings",
         [](int i) {
             static ProgramSettings settings;
             settings.memory.level = std::int16_t(1 + i % 3);
             settings.remember();
         }},
        {"statistics",
         [](int i) {
             static std::unique_ptr<StatisticsFile> stat;
             if (!stat) stat = std::make_unique<StatisticsFile>(1);
             GameSettings settings("Memory");
             stat->start(1 + i % 4, settings);
             stat->finish();
             stat->save(1);
         }},
        {"index",
         [](int i) { platform::fs::writeAtomic("Nagrane\\record.xtr", std::string(5000 + i, 'i')); }},
        {"take",
         [&](int i) {
             const std::string file = RecordingList::placeFile(i % RecordingList::kPlaceCount);
             if (!platform::audiofiles::exists(file)) platform::sound::writeEmptyWav(file);
             platform::audiofiles::replace(file, wav);
         }},
    };
    for (const Family& f : families) {
        SCOPED_TRACE(f.name);
        for (int kill = 0; kill < 20; ++kill) {
            int ready[2];
            ASSERT_EQ(::pipe(ready), 0);
            const pid_t pid = ::fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                ::close(ready[0]);
                f.write(0);
                [[maybe_unused]] const auto w = ::write(ready[1], "r", 1);
                for (int i = 1;; ++i)
                    f.write(i);
            }
            ::close(ready[1]);
            char c;
            ASSERT_EQ(::read(ready[0], &c, 1), 1); // one whole write done
            ::close(ready[0]);
            // The kill lands anywhere in the writes that follow.
            ::usleep(std::uniform_int_distribution<unsigned>(0, 4000)(random));
            ::kill(pid, SIGKILL);
            int status = 0;
            ::waitpid(pid, &status, 0);

            removeTemporaries();
            for (const stdfs::path& dir : {u, n})
                for (const std::string& name : names(dir))
                    EXPECT_NE(name[0], '.') << "left behind: " << name;
            std::array<Recording, RecordingList::kPlaceCount> entries{};
            RecordingList::adoptRecordings(entries);
            for (int p = 0; p < RecordingList::kPlaceCount; ++p)
                EXPECT_EQ(entries[p].file.empty(),
                          !stdfs::exists(n / ("Nagranie" + std::to_string(p) + ".wav")))
                    << p;
        }
    }
    StatisticsFile stat(1);
    EXPECT_EQ(stat.notes(), "");
    EXPECT_EQ((stdfs::file_size(u / "prgst1.stt") - 20) % 44, 0u);
}
