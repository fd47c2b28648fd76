#include "Application.hpp"
#include "Backend.hpp"
#include "Dialogs.hpp"
#include "Form.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

namespace platform {

MessageResult messageBox(Form*, std::string_view text, std::string_view title, MessageIcon icon,
                         MessageButtons buttons) {
    if (!hasApp()) {
        std::fprintf(stderr, "%.*s: %.*s\n", int(title.size()), title.data(), int(text.size()), text.data());
        return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ? MessageResult::Yes
                                                                                          : MessageResult::Ok;
    }
    Application& a = app();
    // With no form on screen (the resource check, a second copy) nothing is presented, so the box comes
    // without an empty window behind it.
    const auto& forms = a.forms();
    if (std::any_of(forms.begin(), forms.end(), [](const Form* f) { return f->visible(); }))
        a.presentScreen();
    const MessageResult r = a.backend().messageBox(text, title, icon, buttons);
    // The box took the mouse: whatever was pressed before gets no release.
    a.resetMouse();
    return r;
}

} // namespace platform
