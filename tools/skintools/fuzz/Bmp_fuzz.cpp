// Bitmap files of any content: the reader accepts or refuses, never reads outside the file; what it
// accepts must survive a write and a second read unchanged.
#include <cstdint>
#include <string>

#include "Bmp.h"
#include "skin/container/fuzz/FuzzSeeds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kes::fuzz::WriteSeeds([] {
        kes::PixelBuffer magenta(3, 2);
        magenta.SetPixel(1, 1, 0xFF00FF);
        kes::PixelBuffer stripes(9, 2);  // runs and stretches of single pixels
        for (int x = 0; x < 9; ++x) stripes.SetPixel(x, 1, x < 5 ? 0x0000FF : x * 0x111111);
        return std::vector<std::string>{kes::WriteBmp(magenta, 24),
                                        kes::WriteBmp(kes::PixelBuffer(5, 3), 1, true),
                                        kes::WriteBmp(kes::PixelBuffer(2, 2), 8),
                                        kes::WriteBmp(kes::PixelBuffer(1, 4), 4),
                                        kes::WriteBmp(kes::PixelBuffer(2, 1), 32, true),
                                        kes::WriteBmp(magenta, 16, true),
                                        kes::WriteBmpRle(magenta, 8),
                                        kes::WriteBmpRle(stripes, 4)};
    });
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    kes::PixelBuffer image;
    std::string error;
    if (!kes::ReadBmp(bytes, image, error)) return 0;
    if (static_cast<std::size_t>(image.Width()) * image.Height() > 4u * 1024 * 1024) return 0;
    kes::PixelBuffer again;
    if (!kes::ReadBmp(kes::WriteBmp(image, 24), again, error)) __builtin_trap();
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (image.GetPixel(x, y) != again.GetPixel(x, y)) __builtin_trap();
    return 0;
}
