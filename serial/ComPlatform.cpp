#include "serial/ComPlatform.h"

namespace kes {

namespace {
TComExceptionDisplay& Display() {
    static TComExceptionDisplay display;
    return display;
}
TComSetupDialog& SetupDialog() {
    static TComSetupDialog dialog;
    return dialog;
}
}  // namespace

void ShowComException(const std::exception& e) noexcept {
    try {
        if (Display()) {
            Display()(e);
            return;
        }
    } catch (...) {
        // The display itself failed; fall back to the platform's.
    }
    PlatformShowException(e);
}

TComExceptionDisplay SetComExceptionDisplay(TComExceptionDisplay display) {
    TComExceptionDisplay previous = std::move(Display());
    Display() = std::move(display);
    return previous;
}

void SetComSetupDialog(TComSetupDialog dialog) { SetupDialog() = std::move(dialog); }
const TComSetupDialog& ComSetupDialog() { return SetupDialog(); }

}  // namespace kes
