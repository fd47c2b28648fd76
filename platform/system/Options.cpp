// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/system/Options.hpp"

#include <charconv>
#include <string>

namespace platform {

namespace {

int positive(std::string_view s, const std::string& what) {
    int v = 0;
    const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || v <= 0)
        throw OptionsError("bad " + what + ": " + std::string(s));
    return v;
}

Size windowSize(const std::string& s) {
    const auto x = s.find_first_of("xX");
    if (x == std::string::npos) throw OptionsError("--window wants WIDTHxHEIGHT, not " + s);
    const int w = positive(std::string_view(s).substr(0, x), "window width");
    const int h = positive(std::string_view(s).substr(x + 1), "window height");
    if (w > 16384 || h > 16384) throw OptionsError("window too large: " + s);
    return {w, h};
}

} // namespace

const char* optionsUsage() {
    return "usage: wirowanki [z | raport [--dziecko NAME] [FILE.html]] [--window WxH] [--skala 1|auto] "
           "[--headless]\n"
           "                 [--script FILE] [--script-coords screen|layout] [--max-virtual-ms N]";
}

const char* optionsHelp() {
    static const std::string text =
        std::string(optionsUsage()) +
        "\n"
        "  z                   check the data set against the word list and write a report\n"
        "  raport [FILE.html]  write the progress report (and FILE.csv) without opening a window\n"
        "  --dziecko NAME      with raport: this child's report only (else, for several, all and an "
        "overview)\n"
        "  --window WxH        run in a W x H window instead of full screen\n"
        "  --skala 1|auto      1: keep the layout's own size; auto (default): enlarge it to fill the screen\n"
        "  --headless          run on a virtual screen and clock, without a display\n"
        "  --script FILE       with --headless: read input commands from FILE\n"
        "  --script-coords C   with --script: pointer positions in screen (default) or layout pixels\n"
        "  --max-virtual-ms N  with --headless: stop after N ms of virtual time\n"
        "  -h, --help          print this help and exit\n"
        "  -V, --version       print the version and exit\n";
    return text.c_str();
}

Options parseOptions(const std::vector<std::string>& a) {
    Options o;
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::string arg = a[i];
        std::string value;
        const bool isOption = arg.size() > 2 && arg.starts_with("--");
        if (isOption) {
            if (const auto eq = arg.find('='); eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg.resize(eq);
            }
        }
        auto takeValue = [&]() {
            if (!value.empty()) return value;
            if (i + 1 >= a.size()) throw OptionsError(arg + " needs a value");
            return a[++i];
        };
        if (arg == "-h") {
            o.help = true;
        } else if (arg == "-V") {
            o.version = true;
        } else if (!isOption) {
            if (arg.starts_with("-")) throw OptionsError("unknown option " + arg);
            o.args.push_back(arg);
        } else if (arg == "--help") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (arg == "--headless") {
            o.headless = true;
        } else if (arg == "--window") {
            o.window = windowSize(takeValue());
        } else if (arg == "--skala") {
            const std::string v = takeValue();
            if (v != "1" && v != "auto") throw OptionsError("--skala wants 1 (no scaling) or auto, not " + v);
            o.scale = v == "auto";
        } else if (arg == "--script-coords") {
            const std::string v = takeValue();
            if (v != "screen" && v != "layout")
                throw OptionsError("--script-coords wants screen or layout, not " + v);
            o.scriptInLayout = v == "layout";
        } else if (arg == "--dziecko") {
            o.child = takeValue();
            if (o.child->empty()) throw OptionsError("--dziecko wants a name");
        } else if (arg == "--script") {
            o.script = takeValue();
        } else if (arg == "--max-virtual-ms") {
            const std::string v = takeValue();
            long long n = 0;
            const auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
            if (ec != std::errc() || p != v.data() + v.size() || n <= 0)
                throw OptionsError("bad --max-virtual-ms: " + v);
            o.maxVirtualMs = n;
        } else {
            throw OptionsError("unknown option " + arg);
        }
    }
    if (!o.script.empty() && !o.headless) throw OptionsError("--script needs --headless");
    if (o.child && (o.args.empty() || o.args[0] != "raport"))
        throw OptionsError("--dziecko goes with raport");
    // Only the two commands the usage names; anything else would otherwise start the games unnoticed.
    if (!o.args.empty()) {
        const std::string& command = o.args[0];
        if (command == "z") {
            // The resource check runs whatever follows it.
        } else if (command == "raport") {
            if (o.args.size() > 2) throw OptionsError("unexpected argument " + o.args[2]);
            if (o.args.size() == 2 && o.args[1].empty()) throw OptionsError("raport wants a file name");
        } else {
            throw OptionsError("unknown command " + command);
        }
    }
    return o;
}

Options parseOptions(int argc, const char* const* argv) {
    std::vector<std::string> a;
    for (int i = 1; i < argc; ++i)
        a.emplace_back(argv[i]);
    return parseOptions(a);
}

} // namespace platform
