#pragma once
// The bitmaps of one skin load: each container entry is decoded once, however many sections name it, and
// the images handed out together stay within a memory budget.
#include <cstddef>
#include <string>
#include <unordered_map>

#include "skin/container/PixelBuffer.h"

namespace kes {

class TSkinReader;

class SkinBitmapCache {
public:
    // Bytes of pixels one load may hand out in all (every copy counts).
    static constexpr std::size_t kDefaultBudget = std::size_t{512} << 20;

    explicit SkinBitmapCache(const TSkinReader& reader, std::size_t budget = kDefaultBudget)
        : reader_(reader), budget_(budget) {}

    // The bitmap of the container entry `name` (letter case of A-Z ignored). Empty when the entry is missing,
    // empty or unreadable, or when handing it out would pass the budget.
    PixelBuffer Get(const std::string& name);
    // The number of entries decoded so far.
    std::size_t Decoded() const { return decoded_.size(); }

private:
    const TSkinReader& reader_;
    const std::size_t budget_;
    std::size_t handedOut_ = 0;
    std::unordered_map<std::string, PixelBuffer> decoded_;  // by lower-cased name; empty = nothing usable
};

}  // namespace kes
