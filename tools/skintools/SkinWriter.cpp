#include "SkinWriter.h"

#include <limits>
#include <stdexcept>

#include "LzhEncoder.h"
#include "skin/container/SkinReader.h"

namespace kes {

namespace {

void PutInt32(std::string& s, std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw std::invalid_argument("value does not fit 32 bits");
    const auto v = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

}  // namespace

const std::vector<std::int32_t>& SkinFormats() {
    static const std::vector<std::int32_t> formats{20000, 30000, 40000, 50000, 60000, 70000};
    return formats;
}

std::string BuildSkinArchive(std::int32_t format, const std::vector<SkinEntry>& entries) {
    const int block = TSkinReader::SkippedBlockSize(format);
    if (block < 0) throw std::invalid_argument("unknown skin format " + std::to_string(format));
    if (entries.size() > static_cast<std::size_t>(TSkinReader::kMaxEntries))
        throw std::invalid_argument("more than 1001 skin entries");
    std::string names;
    for (const SkinEntry& e : entries) {
        if (e.name.empty() || e.name.find_first_of("\r\n") != std::string::npos)
            throw std::invalid_argument("bad skin entry name '" + e.name + "'");
        names += e.name + "\r\n";
    }
    std::string archive;
    PutInt32(archive, format);
    PutInt32(archive, static_cast<std::int64_t>(names.size()));
    archive.append(8 + static_cast<std::size_t>(block), '\0');
    archive += names;
    for (const SkinEntry& e : entries) PutInt32(archive, static_cast<std::int64_t>(e.data.size()));
    for (const SkinEntry& e : entries) archive += e.data;
    if (archive.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::invalid_argument("skin archive too large");
    return archive;
}

std::string PackSkinArchive(const std::string& archive) {
    std::string container;
    PutInt32(container, static_cast<std::int64_t>(archive.size()));
    container += LzhEncode(archive);
    return container;
}

std::string WriteSkinContainer(std::int32_t format, const std::vector<SkinEntry>& entries) {
    return PackSkinArchive(BuildSkinArchive(format, entries));
}

}  // namespace kes
