#include "app/Wirowanki.hpp"
#include "platform/Application.hpp"
#include "platform/Options.hpp"
#include "platform/SdlBackend.hpp"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    platform::Options options;
    try {
        options = platform::parseOptions(argc, argv);
    } catch (const platform::OptionsError& e) {
        std::fprintf(stderr, "%s\n%s\n", e.what(), platform::optionsUsage());
        return 2;
    }
    try {
        platform::initialize(options);
    } catch (const platform::NoDisplayError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wirowanki: %s\n", e.what());
        return 1;
    }
    uruchomProgram(options.args);
    platform::shutdown();
    return 0;
}
