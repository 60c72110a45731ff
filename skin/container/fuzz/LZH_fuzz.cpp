// Packed streams of any content: the decoder must end (error or output) within bounded memory and never
// deliver more than the stated length. The first two input bytes choose the length.
#include <cstdint>
#include <string>

#include "FuzzSeeds.h"
#include "skin/container/LZH.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kes::fuzz::WriteSeeds([] {
        return std::vector<std::string>{std::string("\x04\x00\xE6\xC6\x00\xC0", 6),
                                        std::string("\xFF\x0F\xC5\xFF\xFC", 5)};
    });
    if (size < 2) return 0;
    const std::int32_t count = data[0] | (data[1] << 8);
    std::string out;
    kes::TLZH lzh;
    lzh.SetInput(data + 2, size - 2);
    lzh.SetOutput(&out);
    try {
        lzh.DecodeStreams(count);
        if (out.size() != static_cast<std::size_t>(count)) __builtin_trap();
    } catch (const kes::ElzhException&) {
        if (static_cast<std::int64_t>(out.size()) > kes::TLZH::MaxUnpackedSize(size - 2)) __builtin_trap();
    }
    return 0;
}
