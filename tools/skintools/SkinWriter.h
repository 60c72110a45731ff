#pragma once
// Writes skin containers as TSkinReader reads them: an archive of named entries, packed.
#include <cstdint>
#include <string>
#include <vector>

namespace kes {

struct SkinEntry {
    std::string name;  // stored as given; the reader compares names in lower case
    std::string data;
};

// The unpacked archive: header (format, name-list length, 8 zero bytes), the format's zero block, the
// names each ended by CR LF, the size table, the entries. Raises std::invalid_argument for a format the
// reader does not know, more entries than it holds, or a name that is empty or holds a line break.
std::string BuildSkinArchive(std::int32_t format, const std::vector<SkinEntry>& entries);

// The container: the archive's length (32-bit little-endian) and the packed archive.
std::string PackSkinArchive(const std::string& archive);
std::string WriteSkinContainer(std::int32_t format, const std::vector<SkinEntry>& entries);

// The formats the reader knows, oldest first.
const std::vector<std::int32_t>& SkinFormats();

}  // namespace kes
