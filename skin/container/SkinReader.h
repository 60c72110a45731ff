#pragma once
// TSkinReader: unpacks a skin container and hands out its entries (bitmaps and the skin description).
//
// Container: U (signed 32-bit, little-endian, the unpacked length), then the archive packed by TLZH.
// Archive: format number, name-list length L, 8 unused bytes, a format-dependent block, the name list
// (one name a line, CR LF), one signed 32-bit size per name, then the entries back to back.
#include <cstdint>
#include <functional>
#include <string>

#include "base/StringList.h"

namespace kes {

class TSkinReader {
public:
    static constexpr int kMaxEntries = 1001;
    static constexpr int kHeaderSize = 16;
    // The largest unpacked archive a container may state. A skin's bitmaps and description come to a few
    // megabytes; a length field above this is taken for a corrupt one.
    static constexpr std::int32_t kMaxUnpackedSize = 64 << 20;
    // The message shown for an archive of a format this reader does not know.
    static constexpr const char* kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";

    // Bytes skipped after the header for a format number; -1 for a number this reader does not know.
    static int SkippedBlockSize(std::int32_t format);

    // Shows a message to the user (a message box in the program); called only for an unknown format.
    std::function<void(const std::string& text)> ShowMessage;

    // Reads a container; false (and no entries) when it is unknown, truncated or inconsistent, or when
    // memory runs out while it is unpacked. Error() then says why.
    bool LoadFromStream(const std::string& container);

    // Unpacks a container into target. Raises ElzhException for a container shorter than its length field,
    // a stated length above kMaxUnpackedSize or one the packed data cannot produce, or packed data that ends
    // too early. Memory is taken as the output grows, never up front for the stated length alone.
    static void Unpack(const std::string& container, std::string& target);

    // The entry whose name equals name (letter case of A-Z ignored); target stays empty when none does.
    void ExtractFile(const std::string& name, std::string& target) const;
    // The first entry whose lower-case name contains fragment (compared as passed); sets name to the
    // entry's name. When none matches, target stays empty and name unchanged.
    void ExtractFirstMatch(const std::string& fragment, std::string& target, std::string& name) const;

    const TStringList& Names() const { return names_; }
    int Count() const { return count_; }
    std::int32_t EntrySize(int index) const { return sizes_[static_cast<std::size_t>(index)]; }
    std::int32_t FormatNumber() const { return format_; }
    std::int32_t NameListLength() const { return nameListLength_; }
    const std::string& Error() const { return error_; }

private:
    bool Fail(const std::string& why);
    void Extract(int index, std::string& target) const;

    TStringList names_;
    int count_ = 0;
    std::int32_t sizes_[kMaxEntries] = {};
    std::string data_;
    std::int32_t format_ = 0;
    std::int32_t nameListLength_ = 0;
    std::string error_;
};

}  // namespace kes
