#include "app/Wirowanki.hpp"
#include "platform/Application.hpp"
#include "platform/Options.hpp"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    platform::Options options;
    try {
        options = platform::parseOptions(argc, argv);
    } catch (const platform::OptionsError& e) {
        std::fprintf(stderr, "wirowanki: %s\n%s\n", e.what(), platform::optionsUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(platform::optionsHelp(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("wirowanki %s\n", WV_VERSION);
        return 0;
    }
    try {
        platform::initialize(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wirowanki: %s\n", e.what());
        return 1;
    }
    uruchomProgram(options.args);
    platform::shutdown();
    return 0;
}
