#include "audio_test_util.hpp"
#include "fake_loop.hpp"

#include "platform/Dialogs.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using namespace platform;

TEST(OpenUrl, HeadlessRunsLogTheAddressAndStartNothing) {
    fakeloop::reset(true);
    EXPECT_TRUE(openUrl("https://example.org/wirowanki"));
    EXPECT_TRUE(openUrl(
        "mailto:biuro@example.org?subject=Wiadomosc z Wirowanki Cz.I Demo (Wersja 1.7 Demonstracyjna)"));
    ASSERT_EQ(fakeloop::events().size(), 2u);
    EXPECT_EQ(fakeloop::events()[0], "open-url https://example.org/wirowanki");
    EXPECT_EQ(fakeloop::events()[1], "open-url mailto:biuro@example.org?subject=Wiadomosc z Wirowanki Cz.I "
                                     "Demo (Wersja 1.7 Demonstracyjna)");
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(OpenUrl, AddressesAnOpenerWouldMisreadAreRefused) {
    fakeloop::reset(true);
    EXPECT_FALSE(openUrl(""));
    EXPECT_FALSE(openUrl("--help"));
    EXPECT_FALSE(openUrl("https://example.org/\nrm -rf ~"));
    EXPECT_TRUE(fakeloop::events().empty());
}

namespace {

// Puts a directory first on PATH for the scope.
class PathPrefix {
public:
    explicit PathPrefix(const std::string& dir, bool only = false) {
        const char* old = std::getenv("PATH");
        old_ = old ? old : "";
        ::setenv("PATH", only ? dir.c_str() : (dir + ":" + old_).c_str(), 1);
    }
    ~PathPrefix() { ::setenv("PATH", old_.c_str(), 1); }

private:
    std::string old_;
};

} // namespace

TEST(OpenUrl, TheDesktopOpenerGetsTheAddressAsOneArgumentAndIsReaped) {
    fakeloop::reset(false);
    ScratchDir dir;
    const std::string out = dir.file("args");
    // The opener records its arguments, one per line; a shell in between would have split or expanded them.
    const std::string opener = dir.file("xdg-open");
    const std::string script =
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + out + "'; done\n";
    writeBytes(opener, std::vector<std::uint8_t>(script.begin(), script.end()));
    ::chmod(opener.c_str(), 0755);
    PathPrefix path(dir.path());

    const std::string mail = "mailto:biuro@example.org?subject=Wiadomosc z Wirowanki; echo $HOME `id`";
    ASSERT_TRUE(openUrl(mail));
    for (int i = 0; i < 500 && !std::filesystem::exists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto args = readBytes(out);
    EXPECT_EQ(std::string(args.begin(), args.end()), mail + "\n");

    // The finished opener is collected by the loop: no child, not even a zombie, remains.
    fakeloop::runFor(2000);
    int status = 0;
    errno = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    EXPECT_TRUE(fakeloop::events().empty());
}

TEST(OpenUrl, WithoutAnOpenerNothingStarts) {
    fakeloop::reset(false);
    ScratchDir empty;
    PathPrefix path(empty.path(), true);
    EXPECT_FALSE(openUrl("https://example.org/"));
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
}
