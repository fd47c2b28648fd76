#include "app/Wirowanki.hpp"
#include "platform/Application.hpp"
#include "platform/HeadlessBackend.hpp"
#include "platform/Options.hpp"

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
    } catch (const platform::ScriptError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wirowanki: %s\n", e.what());
        return 1;
    }
    uruchomProgram(options.args);
    // A script command that could not be carried out fails the run, whatever the program made of it.
    const std::string bladSkryptu = platform::scriptFailure();
    platform::shutdown();
    if (!bladSkryptu.empty()) {
        std::fprintf(stderr, "%s\n", bladSkryptu.c_str());
        return 1;
    }
    return 0;
}
