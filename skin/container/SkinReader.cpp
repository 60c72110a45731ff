#include "SkinReader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "LZH.h"

namespace kes {

namespace {

std::int32_t ReadInt32(const std::string& s, std::size_t pos) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[pos + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(v);
}

}  // namespace

int TSkinReader::SkippedBlockSize(std::int32_t format) {
    switch (format) {
    case 20000: return 0;
    case 30000: return 256;
    case 40000: return 80;
    case 50000: return 48;
    case 60000: return 117;
    case 70000: return 69;
    default: return -1;
    }
}

void TSkinReader::Unpack(const std::string& container, std::string& target) {
    target.clear();
    if (container.size() < 4) throw ElzhException("LZH : Container shorter than its length field");
    const std::int32_t unpacked = ReadInt32(container, 0);
    const std::int64_t packed = static_cast<std::int64_t>(container.size()) - 4;
    if (unpacked > TLZH::MaxUnpackedSize(packed))
        throw ElzhException("LZH : Unpacked length does not fit the packed data");
    if (unpacked > kMaxUnpackedSize) throw ElzhException("LZH : Unpacked length too large for a skin");
    // Room for what the packed bytes yield at a usual ratio; a length field that claims more grows the
    // target only as far as the data really goes.
    if (unpacked > 0) target.reserve(static_cast<std::size_t>(std::min<std::int64_t>(unpacked, 8 * packed + 4096)));
    TLZH lzh;
    lzh.SetInput(reinterpret_cast<const std::uint8_t*>(container.data()) + 4, static_cast<std::size_t>(packed));
    lzh.SetOutput(&target);
    lzh.DecodeStreams(unpacked);
}

bool TSkinReader::Fail(const std::string& why) {
    names_.Clear();
    count_ = 0;
    data_.clear();
    error_ = why;
    return false;
}

bool TSkinReader::LoadFromStream(const std::string& container) {
    error_.clear();
    std::string archive;
    try {
        Unpack(container, archive);
    } catch (const ElzhException& e) {
        return Fail(e.Message());
    } catch (const std::bad_alloc&) {
        return Fail("Out of memory while unpacking the skin");
    } catch (const std::length_error&) {
        return Fail("Out of memory while unpacking the skin");
    }
    if (archive.size() < kHeaderSize) return Fail("Skin archive shorter than its header");
    format_ = ReadInt32(archive, 0);
    nameListLength_ = ReadInt32(archive, 4);

    const int block = SkippedBlockSize(format_);
    if (block < 0) {
        if (ShowMessage) ShowMessage(kOlderSkinMessage);
        return Fail("Unknown skin format " + std::to_string(format_));
    }
    const std::int64_t size = static_cast<std::int64_t>(archive.size());
    const std::int64_t namesAt = kHeaderSize + block;
    if (nameListLength_ < 0 || namesAt + nameListLength_ > size) return Fail("Skin name list out of range");

    TStringList names;
    names.SetText(
        LowerAZ(archive.substr(static_cast<std::size_t>(namesAt), static_cast<std::size_t>(nameListLength_))));
    const int n = names.Count();
    if (n > kMaxEntries) return Fail("Skin archive holds more than 1001 entries");

    const std::int64_t sizesAt = namesAt + nameListLength_;
    const std::int64_t dataAt = sizesAt + 4LL * n;
    if (dataAt > size) return Fail("Skin size table out of range");
    std::int64_t total = 0;
    for (int i = 0; i < n; ++i) {
        const std::int32_t s = ReadInt32(archive, static_cast<std::size_t>(sizesAt + 4LL * i));
        if (s < 0) return Fail("Negative skin entry size");
        sizes_[i] = s;
        total += s;
    }
    if (total > size - dataAt) return Fail("Skin entries reach past the archive");

    names_.Assign(names);
    count_ = n;
    data_ = archive.substr(static_cast<std::size_t>(dataAt));
    return true;
}

void TSkinReader::Extract(int index, std::string& target) const {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) start += static_cast<std::size_t>(sizes_[i]);
    target.assign(data_, start, static_cast<std::size_t>(sizes_[index]));
}

void TSkinReader::ExtractFile(const std::string& name, std::string& target) const {
    target.clear();
    const std::string wanted = LowerAZ(name);
    for (int i = 0; i < count_; ++i) {
        if (names_[i] == wanted) {
            Extract(i, target);
            return;
        }
    }
}

void TSkinReader::ExtractFirstMatch(const std::string& fragment, std::string& target, std::string& name) const {
    target.clear();
    for (int i = 0; i < count_; ++i) {
        if (names_[i].find(fragment) != std::string::npos) {
            Extract(i, target);
            name = names_[i];
            return;
        }
    }
}

}  // namespace kes
