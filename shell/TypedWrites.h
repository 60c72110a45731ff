#pragma once
// Typed text on its way to the port: keys, terminal lines, the command line and the companion's lines. A write
// that the port took only in part or not at all (flow control holding it back, a write time-out) loses text;
// the first loss of a burst is logged, and the burst ends with the next complete write.
#include <cstddef>
#include <optional>
#include <string>

namespace kes {

class TTypedWrites {
public:
    // The outcome of one write of `wanted` bytes of which the port took `written`: the log message (shown
    // after the time) for the first incomplete write of a burst, else nullopt.
    std::optional<std::string> Written(size_t wanted, int written);

private:
    bool losing_ = false;
};

}  // namespace kes
