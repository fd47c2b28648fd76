#include "platform/Application.hpp"
#include "platform/Canvas.hpp"
#include "platform/Form.hpp"
#include "platform/Options.hpp"

#include <cstdio>
#include <exception>

namespace {

// Stands in for the main menu until start-up is built: a black screen that Esc closes.
class EmptyMainForm : public platform::Form {
public:
    EmptyMainForm() : Form("Wirowanki Cz.I Demo") {
        const platform::Size s = platform::app().screenSize();
        setBounds(0, 0, s.width, s.height);
    }

protected:
    void paintEvent() override {
        canvas().setBrushColor(platform::kBlack);
        canvas().fillRect(clientRect());
    }
    void keyPressEvent(int charCode) override {
        if (charCode == 27) close();
    }
};

} // namespace

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
        platform::app().setTitle("Wirowanki Cz.I Demo");
        {
            EmptyMainForm form;
            form.show();
            platform::app().run();
        }
        platform::shutdown();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "wirowanki: %s\n", e.what());
        platform::shutdown();
        return 1;
    }
    return 0;
}
