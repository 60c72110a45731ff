#include "shell/TypedWrites.h"

namespace kes {

std::optional<std::string> TTypedWrites::Written(size_t wanted, int written) {
    if (written >= 0 && static_cast<size_t>(written) >= wanted) {
        losing_ = false;
        return std::nullopt;
    }
    if (losing_) return std::nullopt;
    losing_ = true;
    return " Warning: COMport took " + std::to_string(written < 0 ? 0 : written) + " of " + std::to_string(wanted) +
           " typed bytes - text lost (flow control or write time-out); further losses are logged after the next "
           "complete write";
}

}  // namespace kes
